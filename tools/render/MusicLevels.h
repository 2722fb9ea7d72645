// The music's level over any stretch of time: the show's MP3 decoded once with the program's own
// decoder, kept as running sums of squares.
#pragma once

#include <string>
#include <vector>

class MusicLevels
{
public:
	// Throws Tarn::Exception naming the file when it cannot be decoded.
	explicit MusicLevels(const std::string& path);

	// RMS of both channels together from one time to another, in dB below a full-scale square
	// wave; -inf over silence or outside the music.
	double rmsDbfs(double fromSeconds, double toSeconds) const;

private:
	int sampleRate = 0;
	std::vector<double> sumOfSquares; // [i]: over the first i sample frames, every channel
	int channelCount = 0;
};

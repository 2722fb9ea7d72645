// Mp3Stream: one MP3 file decoded by libmpg123 into interleaved signed 16-bit samples.
// Decoding is gapless: frame 0 is the music's first sample, the encoder's delay and padding are gone.
#pragma once

#include <cstdint> // Required for: int16_t, int64_t

struct mpg123_handle_struct;

class Mp3Stream
{
public:
	// Returns null when the file cannot be opened or holds no decodable MPEG audio.
	static Mp3Stream* open(const char* path);
	~Mp3Stream();

	Mp3Stream(const Mp3Stream&) = delete;
	Mp3Stream& operator=(const Mp3Stream&) = delete;

	int getSampleRate() const;
	int getChannelCount() const;
	// Length of the music in sample frames, or -1 when the decoder cannot tell.
	int64_t getLengthFrames() const;

	// Decodes up to frameCount frames into samples; returns the frames written, fewer than asked
	// only at the end of the music or when the data stops decoding.
	int read(int16_t* samples, int frameCount);
	// Moves decoding to a frame (kept inside the music); returns the frame decoding continues from.
	int64_t seek(int64_t frame);

private:
	Mp3Stream(mpg123_handle_struct* decoder, int sampleRate, int channelCount, int64_t lengthFrames);

	mpg123_handle_struct* decoder;
	int sampleRate;
	int channelCount;
	int64_t lengthFrames;
	int64_t nextFrame;
};

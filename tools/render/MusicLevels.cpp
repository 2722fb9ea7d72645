#include "MusicLevels.h"

#include "Mp3Stream.h"

#include <tarn/Exception.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

MusicLevels::MusicLevels(const std::string& path)
{
	std::unique_ptr<Mp3Stream> stream(Mp3Stream::open(path.c_str()));
	if (!stream)
		throw Tarn::Exception(("Could not decode the music \"" + path + "\"").c_str(), "MusicLevels", __LINE__);
	sampleRate = stream->getSampleRate();
	channelCount = stream->getChannelCount();
	const int64_t length = stream->getLengthFrames();
	sumOfSquares.reserve(length > 0 ? (size_t)length + 1 : 1);
	sumOfSquares.push_back(0.0);
	const int blockFrames = 4096;
	std::vector<int16_t> block((size_t)blockFrames * channelCount);
	int frames = 0;
	while ((frames = stream->read(block.data(), blockFrames)) > 0)
		for (int frame = 0; frame < frames; frame++)
		{
			double square = 0.0;
			for (int channel = 0; channel < channelCount; channel++)
			{
				const double sample = block[(size_t)frame * channelCount + channel];
				square += sample * sample;
			}
			sumOfSquares.push_back(sumOfSquares.back() + square);
		}
}

double MusicLevels::rmsDbfs(double fromSeconds, double toSeconds) const
{
	const long last = (long)sumOfSquares.size() - 1;
	const long from = std::clamp((long)std::lround(fromSeconds * sampleRate), 0L, last);
	const long to = std::clamp((long)std::lround(toSeconds * sampleRate), 0L, last);
	if (to <= from)
		return -HUGE_VAL;
	const double meanSquare = (sumOfSquares[to] - sumOfSquares[from]) / ((double)(to - from) * channelCount);
	if (meanSquare <= 0.0)
		return -HUGE_VAL;
	return 10.0 * std::log10(meanSquare / (32768.0 * 32768.0));
}

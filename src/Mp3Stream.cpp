#include "Mp3Stream.h"

#include <mpg123.h> // Required for: mpg123_open(), mpg123_read(), mpg123_seek(), mpg123_length()

#include <cstdio> // Required for: SEEK_SET

Mp3Stream* Mp3Stream::open(const char* path)
{
	int error = MPG123_OK;
	mpg123_handle* decoder = mpg123_new(nullptr, &error);
	if (!decoder)
		return nullptr;
	// Gapless is the library's default where it was built with it; ask for it anyway, and keep
	// the library from printing about damaged data.
	mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);

	long sampleRate = 0;
	int channelCount = 0;
	int encoding = 0;
	if (mpg123_open(decoder, path) != MPG123_OK)
	{
		mpg123_delete(decoder);
		return nullptr;
	}
	if (mpg123_getformat(decoder, &sampleRate, &channelCount, &encoding) != MPG123_OK ||
		sampleRate <= 0 || channelCount <= 0)
	{
		mpg123_close(decoder);
		mpg123_delete(decoder);
		return nullptr;
	}
	// Fix the output to the file's own rate and channels in 16-bit, so every read is one format.
	mpg123_format_none(decoder);
	if (mpg123_format(decoder, sampleRate, channelCount, MPG123_ENC_SIGNED_16) != MPG123_OK)
	{
		mpg123_close(decoder);
		mpg123_delete(decoder);
		return nullptr;
	}
	// A full scan gives the exact gapless length and an index for exact seeking.
	mpg123_scan(decoder);
	const off_t length = mpg123_length(decoder);
	return new Mp3Stream(decoder, static_cast<int>(sampleRate), channelCount, length >= 0 ? length : -1);
}

Mp3Stream::Mp3Stream(mpg123_handle_struct* decoder, int sampleRate, int channelCount, int64_t lengthFrames)
	: decoder(decoder), sampleRate(sampleRate), channelCount(channelCount), lengthFrames(lengthFrames),
	  nextFrame(0)
{
}

Mp3Stream::~Mp3Stream()
{
	mpg123_close(decoder);
	mpg123_delete(decoder);
}

int Mp3Stream::getSampleRate() const
{
	return sampleRate;
}

int Mp3Stream::getChannelCount() const
{
	return channelCount;
}

int64_t Mp3Stream::getLengthFrames() const
{
	return lengthFrames;
}

int Mp3Stream::read(int16_t* samples, int frameCount)
{
	const size_t frameBytes = sizeof(int16_t) * channelCount;
	const size_t wanted = frameBytes * frameCount;
	unsigned char* bytes = reinterpret_cast<unsigned char*>(samples);
	size_t total = 0;
	while (total < wanted)
	{
		size_t done = 0;
		const int result = mpg123_read(decoder, bytes + total, wanted - total, &done);
		total += done;
		if (result == MPG123_NEW_FORMAT)
			continue; // the format was fixed at open; the notice carries no samples
		if (result != MPG123_OK || done == 0)
			break;
	}
	const int frames = static_cast<int>(total / frameBytes);
	nextFrame += frames;
	return frames;
}

int64_t Mp3Stream::seek(int64_t frame)
{
	if (frame < 0)
		frame = 0;
	if (lengthFrames >= 0 && frame > lengthFrames)
		frame = lengthFrames;
	const off_t reached = mpg123_seek(decoder, static_cast<off_t>(frame), SEEK_SET);
	if (reached >= 0)
		nextFrame = reached;
	return nextFrame;
}

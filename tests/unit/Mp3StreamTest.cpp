// The decoder behind the music clock: gapless length and onset, exact seeking, unreadable files.
#include "Mp3Stream.h"
#include "TestMusic.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

static std::vector<int16_t> decodeAll(Mp3Stream& stream)
{
	std::vector<int16_t> all;
	std::vector<int16_t> buffer(2 * 1000);
	int frames = 0;
	while ((frames = stream.read(buffer.data(), 1000)) > 0)
		all.insert(all.end(), buffer.begin(), buffer.begin() + 2 * frames);
	return all;
}

TEST(Mp3Stream, DecodesGaplesslySoFrameZeroIsTheFirstSample)
{
	std::unique_ptr<Mp3Stream> stream(Mp3Stream::open(getTestMusicPath(3.0).c_str()));
	ASSERT_NE(stream, nullptr);
	EXPECT_EQ(stream->getSampleRate(), 44100);
	EXPECT_EQ(stream->getChannelCount(), 2);
	EXPECT_EQ(stream->getLengthFrames(), 3 * 44100);

	const std::vector<int16_t> samples = decodeAll(*stream);
	EXPECT_EQ(samples.size(), 2u * 3 * 44100) << "the encoder's delay and padding must not be decoded";

	// With the encoder delay left in, the wave would start about 1100 frames late.
	size_t onset = 0;
	while (onset < samples.size() / 2 && std::abs(samples[2 * onset]) < 15000)
		onset++;
	EXPECT_NEAR(static_cast<double>(onset), testMusicOnsetFrame, 32.0);
}

TEST(Mp3Stream, SeeksToTheExactFrame)
{
	std::unique_ptr<Mp3Stream> stream(Mp3Stream::open(getTestMusicPath(3.0).c_str()));
	ASSERT_NE(stream, nullptr);
	const std::vector<int16_t> all = decodeAll(*stream);

	const int64_t target = 44100 + 123;
	EXPECT_EQ(stream->seek(target), target);
	std::vector<int16_t> after(2 * 256);
	ASSERT_EQ(stream->read(after.data(), 256), 256);
	int largestDifference = 0;
	for (size_t i = 0; i < after.size(); i++)
		largestDifference = std::max(largestDifference, std::abs(after[i] - all[2 * target + i]));
	EXPECT_LE(largestDifference, 2) << "decoding after a seek must continue the same samples";

	EXPECT_EQ(stream->seek(10 * 44100), 3 * 44100) << "a seek past the end stops at the end";
	EXPECT_EQ(stream->read(after.data(), 256), 0);
	EXPECT_EQ(stream->seek(-5), 0);
	EXPECT_EQ(stream->read(after.data(), 256), 256);
}

TEST(Mp3Stream, MissingEmptyOrUndecodableFilesGiveNoStream)
{
	EXPECT_EQ(Mp3Stream::open((testing::TempDir() + "no-such-music.mp3").c_str()), nullptr);
	EXPECT_EQ(Mp3Stream::open(getUndecodableMusicPath().c_str()), nullptr);
	const std::string empty = testing::TempDir() + "halvorine-test-empty.mp3";
	std::fclose(std::fopen(empty.c_str(), "w"));
	EXPECT_EQ(Mp3Stream::open(empty.c_str()), nullptr);
}

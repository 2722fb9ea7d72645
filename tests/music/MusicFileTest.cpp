// The music file the build synthesised, checked as a listener's player would meet it.
#include "LoudnessMeter.h"
#include "Mp3Decoder.h"

#include <gtest/gtest.h>

#include <cmath> // Required for: std::fabs

namespace
{
	const char* const musicPath = "Data/wenlo-pirrow_drumlow.mp3";

	const DecodedMp3& music()
	{
		static const DecodedMp3 decoded = decodeMp3File(musicPath);
		return decoded;
	}
}

TEST(MusicFile, DecodesGaplesslyToTheShowsLength)
{
	ASSERT_TRUE(music().ok) << musicPath << " did not decode";
	EXPECT_EQ(music().rate, 44100);
	EXPECT_EQ(music().channels, 2);
	// 70.8 s exactly: the decoder drops the encoder's delay and padding from the Info tag.
	EXPECT_EQ(music().audio.frames(), 3122280u);
}

TEST(MusicFile, IsMasteredToTheLoudnessTargetUnderTheCeiling)
{
	ASSERT_TRUE(music().ok);
	EXPECT_NEAR(Music::integratedLoudness(music().audio), -14.0, 0.5);
	EXPECT_LE(Music::truePeakDecibels(music().audio), -1.0);
}

TEST(MusicFile, EndsInSilenceWithoutOffset)
{
	ASSERT_TRUE(music().ok);
	const Music::StereoBuffer& audio = music().audio;
	const size_t frames = audio.frames();
	ASSERT_GT(frames, 44100u);
	double lastPeak = 0.0, sumLeft = 0.0, sumRight = 0.0;
	for (size_t i = frames - 2205; i < frames; i++)
		lastPeak = std::max(lastPeak, static_cast<double>(std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i]))));
	for (size_t i = 0; i < frames; i++)
		sumLeft += audio.left[i], sumRight += audio.right[i];
	EXPECT_LT(lastPeak, 0.003) << "the last 50 ms should have faded out";
	EXPECT_LT(std::fabs(sumLeft / frames), 1e-3) << "DC offset on the left";
	EXPECT_LT(std::fabs(sumRight / frames), 1e-3) << "DC offset on the right";
}

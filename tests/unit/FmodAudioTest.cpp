// The music through SDL's silent dummy driver: what the show reads before and during playback,
// pause, seek, the end of the music, and files or devices that are not there.
#include "FmodAudio.h"
#include "TestMusic.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

static double secondsSince(Uint64 start)
{
	return static_cast<double>(SDL_GetPerformanceCounter() - start) / static_cast<double>(SDL_GetPerformanceFrequency());
}

// The audio thread may start late on a loaded machine: wait for it rather than guess a delay.
static bool waitUntil(const std::function<bool()>& condition)
{
	const Uint64 start = SDL_GetPerformanceCounter();
	while (!condition())
	{
		if (secondsSince(start) > 5.0)
			return false;
		SDL_Delay(1);
	}
	return true;
}

class FmodAudioTest : public testing::Test
{
protected:
	void SetUp() override
	{
		setenv("SDL_AUDIODRIVER", "dummy", 1);
	}
	void TearDown() override
	{
		unsetenv("SDL_AUDIODRIVER");
	}
};

TEST_F(FmodAudioTest, NothingPlaysBeforePlay)
{
	FmodAudio audio;
	EXPECT_FALSE(audio.isStarted());
	EXPECT_FALSE(audio.isPlaying());
	EXPECT_EQ(audio.getPosition(), 0.0);
	audio.update();
	audio.pause();
	audio.resume();
	audio.setPosition(2.5);
	audio.stop();
	EXPECT_FALSE(audio.isStarted());
	EXPECT_FALSE(audio.isPlaying()) << "resume without a channel changes nothing";
	EXPECT_EQ(audio.getPosition(), 0.0);
}

TEST_F(FmodAudioTest, PositionAdvancesInRealTimeAndNeverGoesBack)
{
	const std::string music = getTestMusicPath(3.0);
	FmodAudio audio;
	const Uint64 start = SDL_GetPerformanceCounter();
	audio.play(music.c_str());
	EXPECT_TRUE(audio.isStarted());
	EXPECT_TRUE(audio.isPlaying());
	ASSERT_TRUE(waitUntil([&] { return audio.getPosition() > 0.0; })) << "the music never started";

	const Uint64 measured = SDL_GetPerformanceCounter();
	const double first = audio.getPosition();
	double previous = first;
	while (secondsSince(measured) < 0.3)
	{
		const double position = audio.getPosition();
		ASSERT_GE(position, previous);
		previous = position;
		audio.update();
		SDL_Delay(1);
	}
	const double last = audio.getPosition();
	EXPECT_NEAR(last - first, secondsSince(measured), 0.1) << "the position must follow real time (a late callback on a busy machine lags it a little)";
	EXPECT_LE(last, secondsSince(start)) << "the clock starts with the first buffer, not before play";
}

TEST_F(FmodAudioTest, SeeksToTheMillisecondAndPauseHolds)
{
	FmodAudio audio;
	audio.play(getTestMusicPath(3.0).c_str());
	audio.pause();
	EXPECT_FALSE(audio.isPlaying());
	audio.setPosition(2.5);
	EXPECT_EQ(audio.getPosition(), 2.5);
	audio.setPosition(0.0015);
	EXPECT_EQ(audio.getPosition(), 0.001) << "seconds are truncated to milliseconds";
	audio.setPosition(1.0);
	SDL_Delay(150);
	EXPECT_EQ(audio.getPosition(), 1.0) << "paused music holds its position";

	const Uint64 resumed = SDL_GetPerformanceCounter();
	audio.resume();
	EXPECT_TRUE(audio.isPlaying());
	EXPECT_TRUE(waitUntil([&] { return audio.getPosition() > 1.0; })) << "resumed music advances";
	EXPECT_LE(audio.getPosition(), 1.0 + secondsSince(resumed));

	// Seeking while playing starts exactly there.
	audio.setPosition(2.0);
	const Uint64 sought = SDL_GetPerformanceCounter();
	const double afterSeek = audio.getPosition();
	EXPECT_GE(afterSeek, 2.0);
	EXPECT_LE(afterSeek, 2.0 + secondsSince(sought) + 0.001);
}

TEST_F(FmodAudioTest, PositionRunsOnPastTheEndAndStopsAfterStop)
{
	FmodAudio audio;
	audio.play(getTestMusicPath(3.0).c_str());
	audio.setPosition(2.9);
	EXPECT_TRUE(waitUntil([&] { return audio.getPosition() >= 3.0; }));
	const Uint64 ended = SDL_GetPerformanceCounter();
	const double atEnd = audio.getPosition();
	SDL_Delay(100);
	const double later = audio.getPosition();
	EXPECT_GE(later, atEnd + 0.09) << "the music is 3 s long; the clock goes on without it";
	EXPECT_LE(later, atEnd + secondsSince(ended) + 0.001);

	audio.setPosition(1.0);
	EXPECT_TRUE(waitUntil([&] { return audio.getPosition() > 1.0; }));
	audio.stop();
	const double stopped = audio.getPosition();
	SDL_Delay(100);
	EXPECT_EQ(audio.getPosition(), stopped);
	EXPECT_TRUE(audio.isStarted()) << "the channel is still there, only silent";
	audio.resume();
	SDL_Delay(50);
	EXPECT_EQ(audio.getPosition(), stopped) << "stopped music does not start again";
}

TEST_F(FmodAudioTest, MissingOrUndecodableMusicLeavesNoChannel)
{
	FmodAudio missing;
	missing.play((testing::TempDir() + "no-such-music.mp3").c_str());
	EXPECT_FALSE(missing.isStarted());
	EXPECT_TRUE(missing.isPlaying()) << "play sets playing whatever the file";
	EXPECT_EQ(missing.getPosition(), 0.0);

	FmodAudio undecodable;
	undecodable.play(getUndecodableMusicPath().c_str());
	EXPECT_FALSE(undecodable.isStarted());
	EXPECT_EQ(undecodable.getPosition(), 0.0);
}

TEST_F(FmodAudioTest, UnusableDriverFallsBackToTheDummyDevice)
{
	setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
	FmodAudio audio;
	audio.play(getTestMusicPath(3.0).c_str());
	ASSERT_TRUE(audio.isStarted());
	EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
	EXPECT_TRUE(waitUntil([&] { return audio.getPosition() > 0.05; }));
}

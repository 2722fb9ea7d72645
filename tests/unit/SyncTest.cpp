// The show's clock: rows from the music position, the wall clock while no music plays, and
// track files read once, on the first request, and not at all before the audio is set.
#include "FixedClock.h"
#include "FmodAudio.h"
#include "Sync.h"
#include "TestMusic.h"
#include "TrackFileFixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
	const double rowsPerSecond = 17.066666666666666;
}

// Points the one Sync at a scratch track directory and restores it afterwards.
class SyncTest : public TrackFileFixture
{
protected:
	void SetUp() override
	{
		TrackFileFixture::SetUp();
		Sync& sync = Sync::get();
		savedAudio = sync.audio;
		savedDevice = sync.device;
		savedRowRate = sync.rowRate;
		sync.device = SyncDevice::create(base.c_str());
		sync.audio = nullptr;
		sync.rowRate = rowsPerSecond;
	}

	void TearDown() override
	{
		Sync& sync = Sync::get();
		SyncDevice::destroy(sync.device);
		sync.audio = savedAudio;
		sync.device = savedDevice;
		sync.rowRate = savedRowRate;
		TrackFileFixture::TearDown();
	}

	// A track whose value is its row, over the first minute of music.
	void writeRowTrack(const std::string& name)
	{
		writeTrack(name, trackBytes({ { 0, 0.0f, 1 }, { 1024, 1024.0f, 0 } }));
	}

	Audio* savedAudio = nullptr;
	SyncDevice* savedDevice = nullptr;
	double savedRowRate = 0.0;
};

TEST_F(SyncTest, TracksAreEvaluatedAtTheRowOfTheMusicPosition)
{
	writeRowTrack("Row");
	FixedClock audio;
	audio.setPosition(3.0);
	Sync::get().audio = &audio;
	EXPECT_NEAR(Sync::getValue("Row"), 51.2, 1e-4);
	EXPECT_EQ(Sync::getTime(), 3.0);
	audio.setPosition(60.0);
	EXPECT_NEAR(Sync::getValue("Row"), 1024.0, 1e-4) << "1024 rows per minute";
	audio.setPosition(1.234);
	EXPECT_NEAR(Sync::getValue("Row"), 1.234 * rowsPerSecond, 1e-4) << "the row keeps its fraction";
}

TEST_F(SyncTest, PlayingMusicDrivesTheRow)
{
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	writeRowTrack("Row");
	{
		FmodAudio audio;
		audio.play(getTestMusicPath(3.0).c_str());
		ASSERT_TRUE(audio.isStarted());
		audio.pause();
		audio.setPosition(2.5);
		Sync::get().audio = &audio;
		EXPECT_EQ(Sync::getTime(), 2.5);
		EXPECT_NEAR(Sync::getValue("Row"), 2.5 * rowsPerSecond, 1e-4);
		Sync::get().audio = nullptr;
	}
	unsetenv("SDL_AUDIODRIVER");
}

TEST_F(SyncTest, WithoutAudioEveryValueIsZeroAndNoFileIsRead)
{
	writeTrack("Early", trackBytes({ { 0, 7.0f, 0 } }));
	EXPECT_EQ(Sync::getValue("Early"), 0.0f);
	EXPECT_EQ(Sync::get().device->findTrack("Early"), -1) << "no track is created before the audio is set";

	writeTrack("Early", trackBytes({ { 0, 9.0f, 0 } }));
	FixedClock audio;
	Sync::get().audio = &audio;
	EXPECT_EQ(Sync::getValue("Early"), 9.0f) << "the file is read on the first request with audio";
}

TEST_F(SyncTest, WithoutChannelTimeFollowsTheWallClockAndRowsStayAtZero)
{
	setenv("SDL_AUDIODRIVER", "dummy", 1);
	writeRowTrack("Row");
	writeTrack("Start", trackBytes({ { 0, 5.0f, 1 }, { 10, 15.0f, 0 } }));
	{
		FmodAudio audio;
		audio.play((base + "no-such-music.mp3").c_str());
		ASSERT_FALSE(audio.isStarted());
		Sync::get().audio = &audio;

		const double first = Sync::getTime();
		SDL_Delay(120);
		const double second = Sync::getTime();
		EXPECT_GE(second - first, 0.11);
		EXPECT_LE(second - first, 1.0);
		EXPECT_EQ(Sync::getValue("Row"), 0.0f);
		EXPECT_EQ(Sync::getValue("Start"), 5.0f);
		Sync::get().audio = nullptr;
	}
	unsetenv("SDL_AUDIODRIVER");
}

TEST_F(SyncTest, EachTrackFileIsReadOnceOnItsFirstRequest)
{
	writeTrack("Fade", trackBytes({ { 0, 1.0f, 0 } }));
	writeTrack("fade", trackBytes({ { 0, 2.0f, 0 } }));
	FixedClock audio;
	Sync::get().audio = &audio;

	EXPECT_EQ(Sync::getValue("Fade"), 1.0f);
	writeTrack("Fade", trackBytes({ { 0, 3.0f, 0 } }));
	EXPECT_EQ(Sync::getValue("Fade"), 1.0f) << "a track is never read again";
	EXPECT_EQ(Sync::getValue("fade"), 2.0f) << "names differing in case are different tracks";
	EXPECT_EQ(Sync::get().device->trackCount, 2);
	EXPECT_EQ(Sync::getValue("Missing"), 0.0f);
}

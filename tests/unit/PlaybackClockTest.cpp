// The music position from buffers handed to the device, on made-up times: latency of one
// buffer, interpolation between buffers, no running backwards, pause, seek and the music's end.
#include "PlaybackClock.h"

#include <gtest/gtest.h>

// 1000 frames at 50 kHz: one buffer is exactly 20 ms.
const int rate = 50000;
const int buffer = 1000;

TEST(PlaybackClock, StartsWithTheFirstBufferAndLagsOneBuffer)
{
	PlaybackClock clock(rate, buffer, false, -1);
	EXPECT_EQ(clock.getPositionMs(5.0), 0.0) << "no time passes before the device asks for music";
	clock.onBufferHanded(buffer, 10.0);
	EXPECT_EQ(clock.getPositionMs(10.0), 0.0);
	EXPECT_NEAR(clock.getPositionMs(10.005), 5.0, 1e-6);
	EXPECT_NEAR(clock.getPositionMs(10.015), 15.0, 1e-6);

	// Two buffers handed: what is heard is the first one's end.
	clock.onBufferHanded(buffer, 10.020);
	EXPECT_NEAR(clock.getPositionMs(10.020), 20.0, 1e-6);
	EXPECT_NEAR(clock.getPositionMs(10.030), 30.0, 1e-6);
}

TEST(PlaybackClock, HoldsWhenTheDeviceIsLateAndNeverGoesBackwards)
{
	PlaybackClock clock(rate, buffer, false, -1);
	clock.onBufferHanded(buffer, 0.0);
	EXPECT_NEAR(clock.getPositionMs(0.100), 20.0, 1e-6) << "no further than one buffer past the last";

	// A buffer that comes early jumps ahead; one whose anchor lies behind what was reported holds.
	clock.onBufferHanded(buffer, 0.101);
	EXPECT_NEAR(clock.getPositionMs(0.101), 20.0, 1e-6);
	clock.onBufferHanded(buffer, 0.102);
	EXPECT_NEAR(clock.getPositionMs(0.102), 40.0, 1e-6);
	double previous = 0.0;
	for (double time = 0.102; time < 0.2; time += 0.0007)
	{
		const double position = clock.getPositionMs(time);
		EXPECT_GE(position, previous) << "at " << time;
		previous = position;
	}
}

TEST(PlaybackClock, RunsOnTheWallClockAfterTheMusicEnds)
{
	PlaybackClock clock(rate, buffer, false, 5000);
	clock.onBufferHanded(buffer, 0.0);
	clock.onBufferHanded(buffer, 0.020);
	clock.onBufferHanded(500, 0.040); // the decoder ran out half way
	EXPECT_NEAR(clock.getPositionMs(0.045), 45.0, 1e-6);
	clock.onBufferHanded(0, 0.060);
	EXPECT_NEAR(clock.getPositionMs(0.060), 50.0, 1e-6) << "the music's end is reached";
	EXPECT_NEAR(clock.getPositionMs(0.500), 490.0, 1e-6) << "no more buffers, yet time goes on";
	clock.pause(0.600);
	EXPECT_NEAR(clock.getPositionMs(2.0), 590.0, 1e-6);
	clock.resume(3.0);
	EXPECT_NEAR(clock.getPositionMs(3.5), 1090.0, 1e-6) << "resumed from where it was paused";
	clock.seek(1000);
	clock.onBufferHanded(buffer, 4.0);
	EXPECT_NEAR(clock.getPositionMs(4.010), 30.0, 1e-6) << "a seek back into the music follows the device again";

	// Known length, silent device: the length caps the device's pace, then the wall clock takes over.
	PlaybackClock known(rate, buffer, true, 100000);
	known.onBufferHanded(buffer, 1.0);
	EXPECT_NEAR(known.getPositionMs(3.0), 2000.0, 1e-6);
	EXPECT_NEAR(known.getPositionMs(3.5), 2500.0, 1e-6);

	PlaybackClock unknownLength(rate, buffer, true, -1);
	unknownLength.onBufferHanded(buffer, 0.0);
	unknownLength.onBufferHanded(200, 0.001);
	EXPECT_NEAR(unknownLength.getPositionMs(1.0), 24.0, 1e-6) << "a short buffer marks the end";
	EXPECT_NEAR(unknownLength.getPositionMs(1.5), 524.0, 1e-6);
}

TEST(PlaybackClock, PauseHoldsAndResumeWaitsForTheNextBuffer)
{
	PlaybackClock clock(rate, buffer, false, -1);
	clock.onBufferHanded(buffer, 0.0);
	clock.pause(0.010);
	EXPECT_NEAR(clock.getPositionMs(0.500), 10.0, 1e-6);
	clock.resume(0.500);
	EXPECT_NEAR(clock.getPositionMs(0.600), 10.0, 1e-6);
	clock.onBufferHanded(buffer, 0.610); // frames 1000..2000 handed: 20 ms is heard from now
	EXPECT_NEAR(clock.getPositionMs(0.610), 20.0, 1e-6);
	EXPECT_NEAR(clock.getPositionMs(0.615), 25.0, 1e-6);
}

TEST(PlaybackClock, SeekIsExactAndMayGoBackwards)
{
	PlaybackClock clock(rate, buffer, false, -1);
	clock.onBufferHanded(buffer, 0.0);
	clock.onBufferHanded(buffer, 0.020);
	clock.getPositionMs(0.030);
	clock.seek(250);
	EXPECT_EQ(clock.getPositionMs(0.031), 5.0);
	EXPECT_EQ(clock.getPositionMs(0.050), 5.0) << "the seek target holds until the next buffer";
	clock.onBufferHanded(buffer, 0.060);
	EXPECT_NEAR(clock.getPositionMs(0.070), 15.0, 1e-6);
}

TEST(PlaybackClock, SilentDeviceFollowsTheWallClock)
{
	// SDL's dummy driver calls back at whatever pace its sleeps give: here twice too often.
	PlaybackClock clock(rate, buffer, true, 100000);
	clock.onBufferHanded(buffer, 1.0);
	for (int i = 1; i <= 50; i++)
		clock.onBufferHanded(buffer, 1.0 + i * 0.010);
	EXPECT_NEAR(clock.getPositionMs(1.5), 500.0, 1e-6);
	clock.pause(1.5);
	EXPECT_NEAR(clock.getPositionMs(3.0), 500.0, 1e-6);
	clock.resume(3.0);
	clock.onBufferHanded(buffer, 4.0);
	EXPECT_NEAR(clock.getPositionMs(4.25), 750.0, 1e-6);
	clock.seek(60000);
	clock.onBufferHanded(buffer, 5.0);
	EXPECT_NEAR(clock.getPositionMs(5.5), 1700.0, 1e-6);
	EXPECT_NEAR(clock.getPositionMs(6.0), 2000.0, 1e-6) << "no further than the music's length";
}

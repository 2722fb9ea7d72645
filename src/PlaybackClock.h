// PlaybackClock: the music position of a playing stream, from the frames handed to the device.
// What is heard lags what was handed by one device buffer; between buffers the position runs on
// the time since the last one, and it never goes backwards except when asked to seek. Once the
// music has ended the position carries on with the wall clock, so a show timed by it always ends.
#pragma once

#include <cstdint> // Required for: int64_t

class PlaybackClock
{
public:
	// pacedByWallClock: the device is silent and does not consume in real time (SDL's dummy
	// driver), so the position follows the wall clock from the first buffer instead.
	// lengthFrames: the music's length, -1 when unknown; the device's position never passes it.
	PlaybackClock(int sampleRate, int deviceBufferFrames, bool pacedByWallClock, int64_t lengthFrames);

	// The device took a buffer holding musicFrames frames of music (the rest silence) at time now
	// (seconds on any steady clock). The clock starts with the first one.
	void onBufferHanded(int musicFrames, double now);

	double getPositionMs(double now);

	// Holds the position until the first buffer after resume (after the music's end, until now).
	void pause(double now);
	void resume(double now);

	// The next buffer starts at this frame; until it is handed the position is exactly there.
	void seek(int64_t frame);

private:
	double framesToMs(double frames) const;
	double computePositionMs(double now) const;

	const int sampleRate;
	const int deviceBufferFrames;
	const bool pacedByWallClock;
	int64_t lengthFrames;

	int64_t handedEnd;   // frame after the last one handed to the device, counted from the music's start
	bool anchored;       // a buffer has been handed since start, seek or resume
	double anchorMs;     // position at anchorTime
	double anchorTime;
	bool paused;
	double reportedMs;   // the last position given out
	bool ended;          // the music has played to its end: the wall clock runs on from endMs
	double endMs;
	double endTime;
};

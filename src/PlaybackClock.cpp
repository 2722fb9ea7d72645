#include "PlaybackClock.h"

#include <algorithm> // Required for: std::min(), std::max()

PlaybackClock::PlaybackClock(int sampleRate, int deviceBufferFrames, bool pacedByWallClock, int64_t lengthFrames)
	: sampleRate(sampleRate), deviceBufferFrames(deviceBufferFrames), pacedByWallClock(pacedByWallClock),
	  lengthFrames(lengthFrames), handedEnd(0), anchored(false), anchorMs(0.0), anchorTime(0.0),
	  paused(false), reportedMs(0.0), ended(false), endMs(0.0), endTime(0.0)
{
}

double PlaybackClock::framesToMs(double frames) const
{
	return frames * 1000.0 / sampleRate;
}

void PlaybackClock::onBufferHanded(int musicFrames, double now)
{
	// A short buffer means the decoder ran out: that is where the music ends. The device still
	// plays the silence after it, so the whole buffer counts towards the position.
	const int64_t musicEnd = handedEnd + musicFrames;
	if (musicFrames < deviceBufferFrames && (lengthFrames < 0 || musicEnd < lengthFrames))
		lengthFrames = musicEnd;
	handedEnd += deviceBufferFrames;
	if (paused)
		return;
	if (pacedByWallClock)
	{
		if (!anchored)
		{
			anchorMs = reportedMs;
			anchorTime = now;
		}
	}
	else
	{
		anchorMs = std::max(framesToMs(static_cast<double>(handedEnd - deviceBufferFrames)), 0.0);
		anchorTime = now;
	}
	anchored = true;
}

double PlaybackClock::computePositionMs(double now) const
{
	const double elapsedMs = std::max(now - anchorTime, 0.0) * 1000.0;
	double position = anchorMs + elapsedMs;
	if (!pacedByWallClock)
	{
		// Past one buffer the device has not asked for more: hold at what it was given.
		position = anchorMs + std::min(elapsedMs, framesToMs(deviceBufferFrames));
	}
	if (lengthFrames >= 0)
		position = std::min(position, framesToMs(static_cast<double>(lengthFrames)));
	return position;
}

double PlaybackClock::getPositionMs(double now)
{
	if (paused)
		return reportedMs;
	if (ended)
	{
		reportedMs = std::max(reportedMs, endMs + std::max(now - endTime, 0.0) * 1000.0);
		return reportedMs;
	}
	if (anchored)
		reportedMs = std::max(reportedMs, computePositionMs(now));
	// A stream that ends early (a short file, or one that stops decoding) must not stop the
	// clock with it: whatever the music, the show reaches its end.
	if (lengthFrames >= 0 && reportedMs >= framesToMs(static_cast<double>(lengthFrames)))
	{
		ended = true;
		endMs = reportedMs;
		endTime = now;
	}
	return reportedMs;
}

void PlaybackClock::pause(double now)
{
	getPositionMs(now);
	paused = true;
}

void PlaybackClock::resume(double now)
{
	paused = false;
	anchored = false;
	endMs = reportedMs;
	endTime = now;
}

void PlaybackClock::seek(int64_t frame)
{
	handedEnd = frame;
	reportedMs = framesToMs(static_cast<double>(frame));
	anchored = false;
	ended = false;
}

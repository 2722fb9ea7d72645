// An Audio that plays nothing and runs on the wall clock: the preview's clock when the music
// cannot be played, so the show can still be paused, seeked and looped.
#pragma once

#include "Audio.h"

#include <chrono>

class SilentClock : public Audio
{
public:
	void update() override {}
	void pause() override
	{
		position = getPosition();
		playing = false;
	}
	void resume() override
	{
		since = std::chrono::steady_clock::now();
		playing = true;
	}
	void stop() override { pause(); }
	bool isStarted() override { return true; }
	bool isPlaying() override { return playing; }
	double getPosition() override
	{
		if (!playing)
			return position;
		return position + std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
	}
	void setPosition(double seconds) override
	{
		position = seconds;
		since = std::chrono::steady_clock::now();
	}

private:
	double position = 0.0;
	bool playing = true;
	std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
};

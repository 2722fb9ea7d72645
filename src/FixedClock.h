// An Audio that plays nothing: its position is whatever its owner sets, so the Demo can be
// driven frame by frame on a fixed clock (the headless render tool, tests).
#pragma once

#include "Audio.h"

class FixedClock : public Audio
{
public:
	void update() override {}
	void pause() override { playing = false; }
	void resume() override { playing = true; }
	void stop() override { playing = false; }
	bool isStarted() override { return true; }
	bool isPlaying() override { return playing; }
	double getPosition() override { return position; }
	void setPosition(double seconds) override { position = seconds; }

private:
	double position = 0.0;
	bool playing = true;
};

// The preview's hold on the music: play and pause, seeks by beat, bar and section, the loop,
// and the stop at the show's end. Every move of the picture is a move of the music position,
// so sound and picture stay together.
#pragma once

#include "MusicSections.h"

class Audio;

class Transport
{
public:
	Transport(Audio& audio, const MusicSections& sections);

	double getPosition();
	bool isPaused() const { return paused; }

	// Moves the music to seconds, kept within the show. The clock reads whole milliseconds, so
	// the position is rounded up to one: a beat line stays on its beat.
	void seek(double seconds);
	void togglePause();
	void setPaused(bool pause);
	// count beats or bars forward (negative: back), on the grid.
	void stepBeats(int count);
	void stepBars(int count);
	// The loop's start while looping, otherwise the show's.
	void home();

	void setLoop(double from, double to);
	void clearLoop();
	// Loops the section under the position, or ends the loop.
	void toggleSectionLoop();
	bool isLooping() const { return looping; }
	double getLoopFrom() const { return loopFrom; }
	double getLoopTo() const { return loopTo; }

	// Once a frame, before the Demo draws: a loop's end goes back to its start; without a loop
	// the music stops and holds at the last moment of the show instead of ending it.
	void update();

	// The last position that still draws a frame.
	static double lastMoment();

private:
	Audio& audio;
	const MusicSections& sections;
	bool paused = false;
	bool looping = false;
	double loopFrom = 0.0;
	double loopTo = 0.0;
};

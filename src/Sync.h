// Sync: the show's one clock and the values of its named sync tracks at the current row.
// The row follows the music position; while no music plays, time runs on the wall clock.
#pragma once

#include "Audio.h"
#include "SyncDevice.h"

#include <cstdint> // Required for: uint32_t

class Sync
{
public:
	// The one instance, created on first use and never destroyed. Throws
	// "Could not initialize sync device" when its track device cannot be allocated.
	static Sync& get();

	// Seconds of music while a channel plays, otherwise seconds since the clock was created.
	static double getTime();
	// The named track at row = rowRate x music seconds; 0.0 while no audio is set, and without
	// reading any file then. A track's file is read on the first request for its name.
	static float getValue(const char* name);

	// Set by the Demo (or a tool) right after creation; not owned.
	Audio* audio;
	uint32_t startTime; // SDL_GetTicks() at creation
	// Track files are read from "Data/" + "_" + name + ".track"; a tool or test may put a device
	// on another directory here.
	SyncDevice* device;
	double rowRate; // rows per second of music
	// Called with every name getValue is asked for, before anything else; null unless a test
	// watches which tracks are read.
	void (*watch)(const char* name);

private:
	Sync();
	Sync(const Sync&) = delete;
	Sync& operator=(const Sync&) = delete;
};

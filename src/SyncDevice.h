// The set of sync tracks of the program, each read from base + "_" + name + ".track" on first use.
// A plain record allocated with malloc; neither it nor its tracks are ever freed.
#pragma once

#include "SyncTrack.h"

#include <cstdint> // Required for: int32_t

struct SyncDevice
{
	// A device whose track files live under base (the program uses "Data/"); null when the
	// record or the copy of base cannot be allocated.
	static SyncDevice* create(const char* base);

	// Frees the device, its tracks and their keys. The program never does (its device lives for
	// the whole run); tests and tools that make devices of their own clean up with it.
	static void destroy(SyncDevice* device);

	// The track of that exact name, created and loaded on the first request; never null, and
	// valid for the life of the process.
	SyncTrack* getTrack(const char* name);

	// Reads every track already created from its file again, freeing the old keys; the track
	// records stay where they are, so nothing that holds one needs to ask again.
	void reloadTracks();

	// Index of the first track whose name equals name byte for byte, or -1.
	int findTrack(const char* name) const;

	char* base;
	SyncTrack** tracks; // in creation order
	int32_t trackCount;
};

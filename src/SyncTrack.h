// A named keyframed float channel read from its binary track file and evaluated at a fractional row.
// A plain record allocated with malloc by SyncDevice; it lives as long as the process.
#pragma once

#include "SyncKey.h"

#include <cstdint> // Required for: int32_t

struct SyncTrack
{
	// What load() reports; the program ignores it, the track tools do not.
	enum LoadResult
	{
		Loaded = 0,
		NotOpened = 1,
		Malformed = 2, // short file, impossible key count or rows not strictly increasing
	};

	// Reads the keys of a track file: int32 key count, then per key int32 row, float32 value and
	// a signed byte type, little-endian. A file that is not opened or is malformed leaves the track
	// without keys, so it reads 0.0 everywhere.
	int load(const char* path);

	// Index of the last key whose row is <= row, or -1 when there is none.
	int floorKey(int32_t row) const;

	// Value at a fractional row: the first key's value before it, the last key's value from it on,
	// otherwise the segment's interpolation from its start key towards the next one.
	float valueAt(double row) const;

	char* name;
	SyncKey* keys;
	int32_t keyCount;
};

// One key of a sync track and the interpolation of the segment that starts at it.
#pragma once

#include <cstdint> // Required for: int32_t

enum SyncKeyType
{
	Step = 0,
	Linear = 1,
	Smooth = 2,
	Ramp = 3,
};

struct SyncKey
{
	int32_t row;
	float value;
	int32_t type; // a SyncKeyType, widened from the file's signed byte
};

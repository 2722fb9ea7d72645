// Track files as the player meets them: any bytes, loaded, then evaluated at rows around every
// key and at the extremes a double can hold. Malformed files must read as empty, and no row may
// read outside the keys.
#include "SyncTrack.h"

#include <cmath>   // Required for: INFINITY, NAN
#include <cstdint> // Required for: uint8_t
#include <cstdio>  // Required for: fopen(), fwrite(), snprintf()
#include <cstdlib> // Required for: free(), abort()
#include <cstring> // Required for: memcpy()
#include <initializer_list>
#include <unistd.h> // Required for: getpid()

namespace
{
	const char* scratchPath()
	{
		static char path[64];
		if (!path[0])
			std::snprintf(path, sizeof path, "/tmp/halvorine-fuzz-%d.track", (int)getpid());
		return path;
	}

	void evaluateEverywhere(const SyncTrack& track, const uint8_t* data, size_t size)
	{
		const double extremes[] = { -INFINITY, -1e300, -2147483649.0, -0.5, 0.0, 0.5, 2147483648.0, 1e300, INFINITY, NAN };
		for (double row : extremes)
			track.valueAt(row);
		for (int32_t k = 0; k < track.keyCount; k++)
			for (double offset : { -1.0, -0.25, 0.0, 0.25, 1.0 })
				track.valueAt((double)track.keys[k].row + offset);
		// The input's last eight bytes as one more row, so the fuzzer can steer it.
		if (size >= sizeof(double))
		{
			double row;
			std::memcpy(&row, data + size - sizeof row, sizeof row);
			track.valueAt(row);
		}
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	FILE* file = std::fopen(scratchPath(), "wb");
	if (!file)
		std::abort();
	std::fwrite(data, 1, size, file);
	std::fclose(file);

	SyncTrack track = {};
	const int result = track.load(scratchPath());
	if (result != SyncTrack::Loaded && (track.keyCount != 0 || track.keys))
		std::abort(); // a rejected file must leave the track empty
	if (result == SyncTrack::Loaded && size < 4 + 9 * (size_t)track.keyCount)
		std::abort(); // no key comes from bytes the file does not have
	for (int32_t k = 1; k < track.keyCount; k++)
		if (track.keys[k].row <= track.keys[k - 1].row)
			std::abort();
	evaluateEverywhere(track, data, size);
	std::free(track.keys);
	return 0;
}

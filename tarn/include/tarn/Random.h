// The multiply-with-carry generator (after Marsaglia) behind every random layout. Each user owns
// its state and seeds it with fixed values, so every layout is the same on every run and machine.
#pragma once

#include <cstdint> // Required for: uint32_t, int32_t

namespace Tarn
{
	struct RandomState
	{
		uint32_t z;
		uint32_t w;
	};

	int32_t nextRandomInt(RandomState& state);

	// A float in [0, 1], both ends included.
	float nextRandom(RandomState& state);

	// nextRandom * (hi - lo) + lo in single precision.
	float randomRange(RandomState& state, float lo, float hi);
}

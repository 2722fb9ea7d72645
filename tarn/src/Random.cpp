#include <tarn/Random.h>

namespace Tarn
{
	static uint32_t step(RandomState& state)
	{
		state.z = 36969u * (state.z & 0xFFFFu) + (state.z >> 16);
		state.w = 18000u * (state.w & 0xFFFFu) + (state.w >> 16);
		return (state.z << 16) + state.w;
	}

	int32_t nextRandomInt(RandomState& state)
	{
		return (int32_t)step(state);
	}

	float nextRandom(RandomState& state)
	{
		// The divisor is 32767, not 32768, so 1.0 can occur.
		const int32_t k = ((int32_t)step(state) >> 16) & 0x7FFF;
		return (float)k / 32767.0f;
	}

	float randomRange(RandomState& state, float lo, float hi)
	{
		const float range = hi - lo;
		return nextRandom(state) * range + lo;
	}
}

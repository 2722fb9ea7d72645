// Hash-based noise for the generators: no tables, no random state, so every pixel is a pure
// function of its position and seed and every run paints the same picture.
#pragma once

#include "Vector.h"

#include <cstdint> // Required for: uint32_t

namespace Noise
{
	uint32_t hash(uint32_t a, uint32_t b, uint32_t c, uint32_t seed);

	// A float in [0, 1) from a hash.
	float unit(uint32_t h);

	// Gradient noise in about [-1, 1], smooth in all three directions.
	float gradient(Vec3 p, uint32_t seed);

	// Sum of `octaves` gradient noises, each of twice the frequency and half the amplitude.
	float fractal(Vec3 p, int octaves, uint32_t seed);

	// Gradient noise over the plane that repeats every `period` units in x and y.
	float tiledGradient(float x, float y, int period, uint32_t seed);
	float tiledFractal(float x, float y, int period, int octaves, uint32_t seed);

	// Distances to the nearest and second-nearest feature point of a repeating cell pattern
	// with `period` cells on each side (one jittered point per cell).
	struct CellDistances
	{
		float nearest;
		float second;
		uint32_t nearestId;
	};
	CellDistances tiledCells(float x, float y, int period, uint32_t seed);
}

// The architecture scene's layouts and its point field, on the processor: the 4000 stone slabs
// and the 40 x 40 x 40 grid thresholds, made once from the shared generator, and the per-frame
// field that pushes every grid point away from six moving attractors and lights it near them.
// Nothing here touches OpenGL or the sync tracks, so it is tested without a context.
#pragma once

#include <tarn/Math.h>

namespace ArchitectureLayouts
{
	struct Slab
	{
		float x;     // across the tunnel
		float y;     // radial offset; drawn 36 further out
		float z;     // along the view axis
		float tiltX; // degrees about x
		float tiltY; // degrees about y, where the spin starts
		float tiltZ; // degrees about z
		float angle; // degrees about the view axis
		float spin;  // degrees per second about y
	};

	constexpr int slabCount = 4000;

	// A slab is drawn while its z plus the tunnel's time lies in -100 .. 100, both ends included.
	constexpr float slabWindow = 100.0f;
	inline bool inSlabWindow(float zz) { return !(zz > slabWindow || zz < -slabWindow); }

	// One generator seeded (1, 2), eight draws per slab in field order.
	void makeSlabs(Slab* slabs);

	constexpr int gridSize = 40;
	constexpr int pointCount = gridSize * gridSize * gridSize;
	constexpr int centreCount = 6;

	// The grid coordinate of index n: -4.5 .. 4.275 in steps of 0.225, in single precision.
	inline float gridCoordinate(int n) { return ((float)n / 40.0f - 0.5f) * 9.0f; }

	// Point (i, j, k) at [(i * 40 + j) * 40 + k], i the z index, k the x index: a second generator
	// seeded (1, 2), one draw per point in that order.
	void makeThresholds(float* thresholds);

	// The six attractor centres at time t for a motion m (the ball field's motion track x 3).
	void attractorCentres(float m, float t, Tarn::Vector3 centres[centreCount]);

	// One frame of the field, structure of arrays indexed like the thresholds: the drawn position
	// (the pushed point scaled by 0.6) and the brightness factor F.
	struct BallPoints
	{
		float x[pointCount];
		float y[pointCount];
		float z[pointCount];
		float glow[pointCount];
	};

	// Every point pushed one unit away from each centre, glowing with the summed inverse sixth
	// powers of its distances, saturating at brightness. A centre that coincides with a point
	// is skipped for that point instead of dividing by zero.
	void evaluateField(const Tarn::Vector3 centres[centreCount], float brightness, BallPoints& points);
}

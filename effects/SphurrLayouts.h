// The sphere scene's layouts, rebuilt on the processor every frame: the seeded random field, the
// spinning three-way tree with its satellites, and the inflation of the first half of the records.
// Nothing here touches OpenGL or the sync tracks, so the layouts can be tested on their own.
#pragma once

#include "Sphurr.h"

#include <tarn/List.h>
#include <tarn/Random.h>

namespace SphurrLayouts
{
	// Every layout starts from this seed, so every frame generates the same spheres.
	constexpr uint32_t seedZ = 12345;
	constexpr uint32_t seedW = 12346;

	// Field, first step: reseeds random and places every record at a distance 0..16 from the
	// origin with a base radius of 0.6..1.0.
	void placeField(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random);

	// Field, second step: a pulse that travels outward with distance as phase grows; amount 0
	// keeps the base radii, 1 pulses fully.
	void pulseField(Tarn::List<Sphurr>& spheres, float amount, float phase);

	// Tree: 40 spinning nodes in depth-first pre-order from record 0, then 40 small satellites
	// (reseeding random); every other record sits at the origin with radius 0. Returns the number
	// of tree nodes written.
	int buildTree(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random, double time);

	// Adds boom to the radius of the first half of the records.
	void inflate(Tarn::List<Sphurr>& spheres, float boom);

	// Where one frame's track values come from, each read only when the layout needs it.
	struct Tracks
	{
		float (*part)();
		float (*pulseAmount)();
		float (*pulsePhase)();
		float (*boom)();
	};

	// One frame's layout: the part truncated toward zero picks the field (0), the tree (1) or last
	// frame's records (anything else); the pulse values are read for the field only, after its
	// positions; the inflation applies to whatever the records hold. treeCount is written by the tree.
	void update(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random, int& treeCount, double time, const Tracks& tracks);
}

// Stars as a function of direction: each cube face is divided into cells holding at most one
// star, kept away from the cell borders so that no star is ever cut by a face edge.
#pragma once

#include "Vector.h"

#include <cstdint> // Required for: uint32_t

class StarField
{
public:
	// cellsPerFace: grid cells along a face side; density: chance that a cell holds a star;
	// size: star radius in cells (at most about 0.08 so that stars stay inside their cell).
	StarField(int cellsPerFace, float density, float size, uint32_t seed);

	// Colour of the stars seen in this direction (black where there is none).
	Vec3 light(Vec3 direction) const;

private:
	int cellsPerFace;
	float density;
	float size;
	uint32_t seed;
};

// The sky-box images: six cube faces laid out as a cross of square blocks in one picture.
// Each face block maps its pixels to view directions, so a sky painted as a function of
// direction joins up seamlessly across every cube edge, whichever layout reads it.
#pragma once

#include "Canvas.h"

#include <functional> // Required for: std::function
#include <vector>     // Required for: std::vector

struct CrossFace
{
	int column; // block position in the cross, in face sizes
	int row;
	// The direction at block coordinates (u, v) in [-1, 1]² (u to the right, v down the
	// picture) is centre + u * right + v * down.
	Vec3 centre;
	Vec3 right;
	Vec3 down;
};

struct CrossLayout
{
	int columns;
	int rows;
	std::vector<CrossFace> faces;
};

// Three blocks wide, four high, as the program's cube textures cut it: +Y on top; -X, +Z, +X
// across the middle; -Y below; -Z at the bottom, turned by 180 degrees. Directions follow
// OpenGL's cube-map convention, so a cube-map lookup with direction d shows the sky at d.
CrossLayout cubeMapCross();

// Four blocks wide, three high, as the column scene's sky box addresses it with 2D texture
// coordinates: the sides z = -1, x = +1, z = +1, x = -1 across the middle row, the floor above
// the second block and the ceiling below it (texture row 0 is the top of the picture).
CrossLayout columnSkyCross();

using SkyFunction = std::function<Vec3(Vec3 direction)>;

// Paints every face block from the sky function. Blocks the cross leaves empty continue their
// nearest face beyond its edge, so filtering across a block border blends in matching colour.
Canvas paintCross(const CrossLayout& layout, int faceSize, const SkyFunction& sky);

// The stone of the tunnel's slabs: a colour picture and a matching tangent-space normal map,
// both repeating seamlessly. The normal map's red follows +s, green +t (down the picture, as
// the program uploads rows top first), blue points out of the surface; alpha holds the height.
#pragma once

#include "Canvas.h"

namespace Rock
{
	const int size = 512;

	struct Pictures
	{
		Canvas colour;
		Canvas normal;
	};

	Pictures paint();
}

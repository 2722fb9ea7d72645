// The bokeh picture the final composite lays over the screen: soft discs and hexagons of
// out-of-focus light on black, amber and cyan. It repeats seamlessly in both directions.
#pragma once

#include "Canvas.h"

namespace Bokeh
{
	const int size = 512;

	Canvas paint();
}

// The frame's camera arithmetic: the perspective from a field of view, the shake curve and the
// translation the view is built from. All in single precision, as the show was tuned.
#pragma once

#include <tarn/Math.h>

namespace Camera
{
	// The frustum with near 1 and far 1000, vertical field of view in degrees.
	Tarn::Matrix4 perspective(float fovDegrees, int width, int height);

	// A smooth wobble in -0.875 .. 0.875: three cosines of rising frequency, each bent by a sine.
	float shake(float x);

	// view = view * T(x, y, z); the terms of zero components are kept.
	void translate(Tarn::Matrix4& view, float x, float y, float z);
}

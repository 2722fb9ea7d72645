// One sphere of the sphere scene: five floats, the layout the shaders receive per sphere.
#pragma once

#include <tarn/Math.h>

struct Sphurr
{
	Tarn::Vector3 position = { 0.0f, 0.0f, 0.0f };
	float baseRadius = 0.0f; // before the per-frame pulse and inflation
	float radius = 0.0f;     // what the shaders draw this frame
};

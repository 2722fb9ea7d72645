// The general 4x4 inverse the sphere scene uses to find the eye from the view matrix.
#pragma once

#include <tarn/Math.h>

// Adjugate divided by the determinant, all in single precision. There is no test for a singular
// matrix: a view matrix always has an inverse.
Tarn::Matrix4 inverse(const Tarn::Matrix4& m);

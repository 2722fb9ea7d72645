// The frame's camera arithmetic: the perspective from a field of view, the shake curve and the
// translation the view is built from. All in single precision, as the show was tuned.
#include "Camera.h"

#include <cmath>

Tarn::Matrix4 Camera::perspective(float fovDegrees, int width, int height)
{
	const float aspect = (float)width / (float)height;
	const float c = (float)std::tan((double)(fovDegrees * 0.017453292f * 0.5f));
	Tarn::Matrix4 projection;
	projection[0] = 2.0f / (c * aspect - (-c * aspect));
	projection[5] = 2.0f / (c - (-c));
	projection[10] = -1.002002f; // -1001 / 999
	projection[11] = -1.0f;
	projection[14] = -2.002002f; // -2000 / 999
	return projection;
}

float Camera::shake(float x)
{
	const float x2 = 2.0f * x;
	const float x4 = 4.0f * x;
	const float s1 = (float)std::cos((double)(x * (float)std::sin((double)x)));
	const float s2 = (float)std::cos((double)(x2 * (float)std::sin((double)x2)));
	const float s4 = (float)std::cos((double)(x4 * (float)std::sin((double)x4)));
	return s4 * 0.125f + (s2 * 0.25f + s1 * 0.5f);
}

void Camera::translate(Tarn::Matrix4& view, float x, float y, float z)
{
	for (int r = 0; r < 4; r++)
		view[12 + r] = view[r] * x + view[4 + r] * y + view[8 + r] * z + view[12 + r];
}

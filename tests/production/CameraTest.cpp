// The perspective the frame builds from "Camera FOV", and the view with every camera track at 0.
#include "Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

TEST(Camera, NinetyDegreesOn1280x720)
{
	const Tarn::Matrix4 projection = Camera::perspective(90.0f, 1280, 720);
	EXPECT_NEAR(0.5625f, projection[0], 1e-6f);
	EXPECT_NEAR(1.0f, projection[5], 1e-6f);
	EXPECT_FLOAT_EQ(-1001.0f / 999.0f, projection[10]);
	EXPECT_FLOAT_EQ(-1.0f, projection[11]);
	EXPECT_FLOAT_EQ(-2000.0f / 999.0f, projection[14]);
	for (int i : { 1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15 })
		EXPECT_EQ(0.0f, projection[i]) << "element " << i;
}

TEST(Camera, A4To3OutputKeepsTheVerticalFieldOfView)
{
	const Tarn::Matrix4 wide = Camera::perspective(60.0f, 1280, 720);
	const Tarn::Matrix4 square = Camera::perspective(60.0f, 1024, 768);
	EXPECT_FLOAT_EQ(wide[5], square[5]);
	EXPECT_NEAR(wide[5] * 768.0f / 1024.0f, square[0], 1e-6f);
}

TEST(Camera, TranslationsCompose)
{
	Tarn::Matrix4 view(1.0f);
	Camera::translate(view, 1.0f, 2.0f, 3.0f);
	view = Tarn::rotate(view, 90.0f, { 0.0f, 1.0f, 0.0f });
	Camera::translate(view, 1.0f, 0.0f, 0.0f);
	// T(1, 2, 3) * Ry(90) * T(1, 0, 0) maps the origin to (1, 2, 3) + Ry(90)(1, 0, 0) = (1, 2, 2).
	EXPECT_NEAR(1.0f, view[12], 1e-6f);
	EXPECT_NEAR(2.0f, view[13], 1e-6f);
	EXPECT_NEAR(2.0f, view[14], 1e-6f);
	EXPECT_EQ(1.0f, view[15]);
}

TEST(Camera, ShakeStaysWithinItsAmplitude)
{
	for (float x = 0.0f; x < 200.0f; x += 0.37f)
	{
		const float value = Camera::shake(x);
		ASSERT_LE(std::abs(value), 0.875f) << "at " << x;
	}
}

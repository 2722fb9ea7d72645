// The carved-monolith scene builds its rays from the view's rotation alone; what it shares with
// every scene is tested over the show's table (ShowScenesTest.cpp).
#include "Ombrix.h"

#include <gtest/gtest.h>

TEST(OmbrixViewRotation, KeepsOnlyTheRotationOfTheView)
{
	Tarn::Matrix4 turned(1.0f);
	turned = Tarn::rotate(turned, 30.0f, { 0.0f, 1.0f, 0.0f });
	turned = Tarn::rotate(turned, -12.0f, { 1.0f, 0.0f, 0.0f });
	Tarn::Matrix4 moved = turned;
	moved[12] = 4.0f;
	moved[13] = -2.0f;
	moved[14] = 9.0f;

	const Tarn::Matrix4 a = Ombrix::rotationOf(turned);
	const Tarn::Matrix4 b = Ombrix::rotationOf(moved);
	for (int i = 0; i < 16; ++i)
	{
		EXPECT_EQ(a[i], b[i]) << "element " << i << " depends on the camera position";
		const bool rotationPart = i < 11 && i % 4 != 3;
		EXPECT_EQ(a[i], rotationPart ? turned[i] : 0.0f) << "element " << i;
	}
}

// Matrix4 and rotate: column-major storage and rotations that compose like glRotatef.
#include <tarn/Math.h>

#include <gtest/gtest.h>

#include <cstring> // Required for: memcmp()

namespace
{
	Tarn::Matrix4 sampleMatrix()
	{
		Tarn::Matrix4 m;
		for (int i = 0; i < 16; i++)
			m[i] = 0.25f * (float)(i * i % 7) - 0.5f + (float)i / 3.0f;
		return m;
	}

	// m applied to the column vector v.
	void transform(const Tarn::Matrix4& m, const float v[4], float out[4])
	{
		for (int r = 0; r < 4; r++)
			out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
	}
}

TEST(Math, ConstructionAndIdentity)
{
	const Tarn::Matrix4 zero;
	const Tarn::Matrix4 twice(2.0f);
	Tarn::Matrix4 identity = sampleMatrix();
	identity.identity();
	for (int i = 0; i < 16; i++)
	{
		const bool diagonal = i % 5 == 0;
		EXPECT_EQ(zero[i], 0.0f);
		EXPECT_EQ(twice[i], diagonal ? 2.0f : 0.0f) << i;
		EXPECT_EQ(identity[i], diagonal ? 1.0f : 0.0f) << i;
	}
}

TEST(Math, ProductIsColumnMajorAndAppliesTheRightOperandFirst)
{
	const Tarn::Matrix4 b = sampleMatrix();
	Tarn::Matrix4 identity;
	identity.identity();
	const Tarn::Matrix4 same = identity * b;
	EXPECT_EQ(std::memcmp(same.elements, b.elements, sizeof b.elements), 0);

	// Scale x after translating: the translation's x is scaled too; the other order keeps it.
	Tarn::Matrix4 translate;
	translate.identity();
	translate[12] = 1.0f;
	translate[13] = 2.0f;
	translate[14] = 3.0f;
	Tarn::Matrix4 scaleX;
	scaleX.identity();
	scaleX[0] = 2.0f;
	const float origin[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
	float out[4];
	transform(scaleX * translate, origin, out);
	EXPECT_EQ(out[0], 2.0f);
	EXPECT_EQ(out[1], 2.0f);
	EXPECT_EQ(out[2], 3.0f);
	EXPECT_EQ(out[3], 1.0f);
	transform(translate * scaleX, origin, out);
	EXPECT_EQ(out[0], 1.0f);

	// Matrix4(2) scales all four coordinates.
	const float point[4] = { 1.0f, -2.0f, 3.0f, 1.0f };
	transform(Tarn::Matrix4(2.0f), point, out);
	EXPECT_EQ(out[0], 2.0f);
	EXPECT_EQ(out[1], -4.0f);
	EXPECT_EQ(out[2], 6.0f);
	EXPECT_EQ(out[3], 2.0f);
}

TEST(Math, RotateAboutZMapsXToY)
{
	Tarn::Matrix4 identity;
	identity.identity();
	const Tarn::Matrix4 r = Tarn::rotate(identity, 90.0f, { 0.0f, 0.0f, 1.0f });
	const float x[4] = { 1.0f, 0.0f, 0.0f, 1.0f };
	float out[4];
	transform(r, x, out);
	EXPECT_NEAR(out[0], 0.0f, 1e-6f);
	EXPECT_NEAR(out[1], 1.0f, 1e-6f);
	EXPECT_NEAR(out[2], 0.0f, 1e-6f);
	EXPECT_EQ(out[3], 1.0f);
}

TEST(Math, RotateComposesOnTheRightLikeGlRotatef)
{
	// rotate(m, ...) equals m * rotate(identity, ...): the rotation acts before m.
	const Tarn::Matrix4 m = sampleMatrix();
	Tarn::Matrix4 identity;
	identity.identity();
	const Tarn::Vector3 axis{ 1.0f, -2.0f, 0.5f };
	const Tarn::Matrix4 direct = Tarn::rotate(m, 33.0f, axis);
	const Tarn::Matrix4 product = m * Tarn::rotate(identity, 33.0f, axis);
	for (int i = 0; i < 16; i++)
		EXPECT_NEAR(direct[i], product[i], 1e-5f) << i;

	// Pitch then yaw: a point on z goes down under pitch first, then around y.
	const Tarn::Matrix4 pitchYaw = Tarn::rotate(Tarn::rotate(identity, 90.0f, { 1, 0, 0 }), 90.0f, { 0, 1, 0 });
	const float z[4] = { 0.0f, 0.0f, 1.0f, 1.0f };
	float out[4];
	transform(pitchYaw, z, out);
	EXPECT_NEAR(out[0], 1.0f, 1e-6f);
	EXPECT_NEAR(out[1], 0.0f, 1e-6f);
	EXPECT_NEAR(out[2], 0.0f, 1e-6f);
}

TEST(Math, RotateNormalisesTheAxisAndKeepsTheTranslationColumn)
{
	const Tarn::Matrix4 m = sampleMatrix();
	const Tarn::Matrix4 unit = Tarn::rotate(m, 47.0f, { 0.0f, 0.0f, 1.0f });
	const Tarn::Matrix4 longer = Tarn::rotate(m, 47.0f, { 0.0f, 0.0f, 2.0f });
	EXPECT_EQ(std::memcmp(unit.elements, longer.elements, sizeof unit.elements), 0);

	for (float angle : { 0.0f, 30.0f, -120.0f, 720.5f })
	{
		const Tarn::Matrix4 r = Tarn::rotate(m, angle, { 3.0f, 4.0f, -1.0f });
		EXPECT_EQ(std::memcmp(&r.elements[12], &m.elements[12], 4 * sizeof(float)), 0) << angle;
	}

	const Tarn::Matrix4 none = Tarn::rotate(m, 0.0f, { 0.3f, 0.2f, 0.9f });
	for (int i = 0; i < 16; i++)
		EXPECT_NEAR(none[i], m[i], 1e-5f) << i;
}

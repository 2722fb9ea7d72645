// The slice corridor: its layout from the seeded generator, which slices a frame draws and how
// bright, and on a headless context that the rings switch at 0. What it shares with every scene
// is tested over the show's table (ShowScenesTest.cpp).
#include "SceneTest.h"

#include "Garbitch.h"
#include "NoiseTexture.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Settings.h"

#include <cmath>   // Required for: std::tan
#include <vector>  // Required for: std::vector

namespace
{
	// The layout, made once for all the tests that read it.
	const Tarn::List<Garbitch::Slice>& layout()
	{
		static Tarn::List<Garbitch::Slice> slices;
		if (slices.getCount() == 0)
			Garbitch::generateSlices(slices);
		return slices;
	}

	// The frame's frustum: 72 degrees high, near 1, far 1000.
	Tarn::Matrix4 testProjection(int width, int height)
	{
		const float f = 1.0f / std::tan(36.0f * 3.14159265f / 180.0f);
		Tarn::Matrix4 projection;
		projection[0] = f * (float)height / (float)width;
		projection[5] = f;
		projection[10] = -1001.0f / 999.0f;
		projection[11] = -1.0f;
		projection[14] = -2000.0f / 999.0f;
		return projection;
	}

	bool isBlack(const std::vector<uint8_t>& pixels)
	{
		for (size_t i = 0; i < pixels.size(); i++)
			if (i % 4 != 3 && pixels[i] != 0)
				return false;
		return true;
	}
}

TEST(GarbitchLayout, FirstAndLastSlicesHoldTheSeededValues)
{
	const Tarn::List<Garbitch::Slice>& slices = layout();
	ASSERT_EQ(slices.getCount(), Garbitch::sliceCount);
	const Garbitch::Slice& first = slices[0];
	EXPECT_EQ(first.distance, 0.0f);
	EXPECT_NEAR(first.offsetX, 0.6211371f, 1e-6f);
	EXPECT_NEAR(first.offsetY, -0.6692251f, 1e-6f);
	EXPECT_NEAR(first.fadeBias, 0.5331278f, 1e-6f);
	EXPECT_NEAR(first.roll, 13.21147f, 1e-4f);
	EXPECT_NEAR(first.scrollX, 0.2251351f, 1e-6f);
	EXPECT_NEAR(first.scrollY, 0.193579f, 1e-6f);
	EXPECT_NEAR(first.ringAngle, 2.105453f, 1e-6f);
	EXPECT_NEAR(first.ringSpeed, 0.1290017f, 1e-6f);
	const Garbitch::Slice& last = slices[399];
	EXPECT_EQ(last.distance, 1596.0f);
	EXPECT_NEAR(last.offsetX, -0.6948699f, 1e-6f);
	EXPECT_NEAR(last.offsetY, -0.441911f, 1e-6f);
	EXPECT_NEAR(last.roll, 106.2136f, 1e-4f);
}

// The slices a frame draws at camera depth z (time * 12): from just ahead out to 200 inclusive.
TEST(GarbitchLayout, OnlySlicesAheadWithinTheWindowAreDrawn)
{
	const Tarn::List<Garbitch::Slice>& slices = layout();
	const struct
	{
		float z;
		int first, last;
	} cases[] = {
		{ 0.0f, 1, 50 },     // slice 0 sits at the camera and is not drawn
		{ 40.0f, 11, 60 },   // the camera has just passed slice 10
		{ 41.0f, 11, 60 },
		{ 1596.0f, 400, 399 }, // past the last slice nothing is left
	};
	for (const auto& c : cases)
		for (int n = 0; n < slices.getCount(); n++)
			EXPECT_EQ(Garbitch::isInView(c.z - slices[n].distance), n >= c.first && n <= c.last) << "slice " << n << " at z " << c.z;
	// A slice exactly 200 ahead is drawn, with brightness 0.
	EXPECT_EQ(Garbitch::brightness(slices[50], -200.0f, 0.0, 0.0f, 0.0f), 0.0f);
}

TEST(GarbitchLayout, FadeoutDarkensEachSliceByItsBias)
{
	const Tarn::List<Garbitch::Slice>& slices = layout();
	// 100 ahead, a slice at full level has brightness 0.15; sinMix 0 keeps it steady.
	for (int n = 0; n < slices.getCount(); n++)
	{
		const Garbitch::Slice& slice = slices[n];
		EXPECT_FLOAT_EQ(Garbitch::brightness(slice, -100.0f, 3.0, 0.0f, 0.0f), 0.15f) << "slice " << n;
		EXPECT_NEAR(Garbitch::brightness(slice, -100.0f, 3.0, 0.5f, 0.0f), 0.15f * slice.fadeBias, 1e-7f) << "slice " << n;
		EXPECT_EQ(Garbitch::brightness(slice, -100.0f, 3.0, 1.0f, 0.0f), 0.0f) << "slice " << n;
		// sinMix 1 pulses between 0 and the steady value.
		const float pulsing = Garbitch::brightness(slice, -100.0f, 3.0, 0.0f, 1.0f);
		EXPECT_GE(pulsing, 0.0f);
		EXPECT_LE(pulsing, 0.15f);
	}
}

// The scene's shaders come from the build's Data/; its tracks from a folder of this test's own.
class GarbitchTest : public SceneTest
{
protected:
	GarbitchTest() : SceneTest(&Garbitch::declaration, Garbitch::release) {}

	void TearDown() override
	{
		NoiseTexture::release();
		SceneTest::TearDown();
	}

	// The scene at a fixed time, its tracks at the given row.
	std::vector<uint8_t> renderAtRow(RenderTarget& target, int row)
	{
		setRow(row);
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		Garbitch::get().render(target.id, 2.0, Tarn::Matrix4(1.0f), testProjection(target.width, target.height));
		return readPixels(target.width, target.height);
	}
};

// With the squares dark only the rings can draw: none at 0 or below (a negative ring would
// subtract and still leave edges), some above 0. Blend 0 keeps the haze out, so the frame holds
// lines alone. The scene leaves its additive blend function.
TEST_F(GarbitchTest, RingsDrawOnlyAboveZero)
{
	const struct
	{
		const char* name;
		float value;
	} plain[] = { { "Garbitch Rot", 1.0f }, { "Garbitch Scale", 0.1f }, { "Garbitch Scale 2", 1.0f }, { "Garbitch Offset", 1.0f },
		{ "Garbitch Spread 1", 1.5f }, { "Garbitch Strength 1", 1.5f }, { "Garbitch Blue 1", 1.0f }, { "Garbitch Green 1", 1.0f },
		{ "Garbitch Red 1", 1.0f }, { "Garbitch Spread 2", 2.0f }, { "Garbitch Strength 2", 1.0f }, { "Garbitch Blue 2", 1.0f },
		{ "Garbitch Green 2", 1.0f }, { "Garbitch Red 2", 1.0f }, { "Garbitch Blend", 0.0f } };
	for (const auto& track : plain)
		writeTrack(track.name, { { 0, track.value, 0 } });
	writeTrack("Garbitch Rings", { { 0, -1.0f, 0 }, { 64, 0.0f, 0 }, { 128, 1.0f, 0 } });
	const int width = 64, height = 36;
	setOutputSizeOverride(width, height);
	RenderTarget target(width, height, false, 1, GL_RGBA);

	EXPECT_TRUE(isBlack(renderAtRow(target, 32))) << "rings -1 drew something";
	EXPECT_TRUE(isBlack(renderAtRow(target, 96))) << "rings 0 drew something";
	EXPECT_FALSE(isBlack(renderAtRow(target, 160))) << "rings 1 drew nothing";
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	GLint factor = -1;
	glGetIntegerv(GL_BLEND_SRC_RGB, &factor);
	EXPECT_EQ(factor, GL_ONE) << "blend source factor";
	glGetIntegerv(GL_BLEND_DST_RGB, &factor);
	EXPECT_EQ(factor, GL_ONE) << "blend destination factor";
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

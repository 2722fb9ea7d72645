// The ring-column scene ignores the fixed-function matrices and leaves them and the depth test
// as they were, leaves its own blend function, line width and sky image, and picks its sky colour
// by truncation. What it shares with every scene is tested over the show's table
// (ShowScenesTest.cpp).
#include "SceneTest.h"

#include "Colon.h"
#include "RenderTarget.h"
#include "ScenePictures.h"

#include <algorithm> // Required for: std::max
#include <cmath>     // Required for: tan
#include <cstdint>   // Required for: uint8_t
#include <vector>    // Required for: std::vector

namespace
{
	constexpr int width = 96, height = 54;

	// The frame's projection: 60 degrees vertically, near 1, far 1000.
	Tarn::Matrix4 testProjection()
	{
		const float c = (float)std::tan(30.0 * 0.017453292);
		Tarn::Matrix4 p;
		p[0] = 1.0f / (c * width / height);
		p[5] = 1.0f / c;
		p[10] = -1.002002f;
		p[11] = -1.0f;
		p[14] = -2.002002f;
		return p;
	}

	struct Mean
	{
		double r = 0.0, g = 0.0, b = 0.0;
		int brightest = 0;
	};

	Mean meanColour(const std::vector<uint8_t>& pixels)
	{
		Mean mean;
		const double count = static_cast<double>(pixels.size() / 4);
		for (size_t i = 0; i < pixels.size(); i += 4)
		{
			mean.r += pixels[i] / count;
			mean.g += pixels[i + 1] / count;
			mean.b += pixels[i + 2] / count;
			mean.brightest = std::max({ mean.brightest, (int)pixels[i], (int)pixels[i + 1], (int)pixels[i + 2] });
		}
		return mean;
	}
}

// The scene's shaders and sky image come from the build's Data/; its tracks come from a folder
// of this test's own, so they hold exactly what each test wants.
class ColonTest : public SceneTest
{
protected:
	ColonTest() : SceneTest(&Colon::declaration, Colon::release) {}

	// One frame as the Demo draws it: the target bound, the viewport on it, colour (here a
	// sentinel magenta) and depth cleared.
	std::vector<uint8_t> renderAtRow(RenderTarget& target, int row, double time)
	{
		setRow(row);
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		glViewport(0, 0, target.width, target.height);
		glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
		Colon::get().render(target.id, time, besideTheColumn(), testProjection());
		return readPixels(target.width, target.height);
	}
};

TEST_F(ColonTest, RenderIgnoresTheFixedFunctionMatricesAndLeavesItsOwnState)
{
	for (const char* lit : { "Colon Fade", "Colon Skybox Intensity", "Colon Cyl Fade", "Colon Ball Fade" })
		writeTrack(lit, { { 0, 1.0f, 0 } });
	RenderTarget target(width, height, true, 1, GL_RGBA);
	const std::vector<uint8_t> plain = renderAtRow(target, 32, 3.0);
	ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

	// Whatever the fixed-function matrices hold, the picture is the same and they stay as they were.
	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	glOrtho(-3.0, 5.0, -2.0, 1.0, -7.0, 9.0);
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
	glRotatef(33.0f, 1.0f, 2.0f, 0.5f);
	float before[2][16];
	glGetFloatv(GL_PROJECTION_MATRIX, before[0]);
	glGetFloatv(GL_MODELVIEW_MATRIX, before[1]);
	glBindTexture(GL_TEXTURE_2D, 0);

	const std::vector<uint8_t> moved = renderAtRow(target, 32, 3.0);
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	EXPECT_EQ(plain, moved) << "the fixed-function matrices changed the picture";
	glEnable(GL_DEPTH_TEST); // the scene never touches the depth test, on or off
	renderAtRow(target, 32, 3.0);
	float after[2][16];
	glGetFloatv(GL_PROJECTION_MATRIX, after[0]);
	glGetFloatv(GL_MODELVIEW_MATRIX, after[1]);
	for (int i = 0; i < 16; ++i)
	{
		EXPECT_EQ(before[0][i], after[0][i]) << "projection element " << i;
		EXPECT_EQ(before[1][i], after[1][i]) << "modelview element " << i;
	}
	EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "the depth test was switched off";

	const GLint sky = integer(GL_TEXTURE_BINDING_2D);
	EXPECT_TRUE(sky != 0 && glIsTexture(sky)) << "the sky image is not left bound on unit 0";
	EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_COLOR);
	EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE);
	float lineWidth = 0.0f;
	glGetFloatv(GL_LINE_WIDTH, &lineWidth);
	EXPECT_EQ(lineWidth, 0.5f);

	glDisable(GL_DEPTH_TEST);
	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(ColonTest, SkyColourTruncatesAndADarkSceneAddsNothing)
{
	// Nothing lit but the sky: rings below their switch-on, the tube and the floaters dark.
	writeTrack("Colon Skybox Intensity", { { 0, 4.0f, 0 } });
	for (const char* dark : { "Colon Fade", "Colon Cyl Fade", "Colon Ball Fade", "Colon Ball Red" })
		writeTrack(dark, { { 0, 0.0f, 0 } });
	const float colours[] = { 0.0f, 0.9f, -0.5f, 1.0f, 1.99f, 2.0f, -1.0f, NAN };
	std::vector<TrackKeyBytes> keys;
	for (int i = 0; i < 8; ++i)
		keys.push_back({ 32 * i, colours[i], 0 });
	writeTrack("Colon Skybox Color", keys);

	RenderTarget target(width, height, true, 1, GL_RGBA);
	std::vector<std::vector<uint8_t>> pictures;
	for (int i = 0; i < 8; ++i)
		pictures.push_back(renderAtRow(target, 32 * i + 16, 2.0));
	ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

	const Mean cool = meanColour(pictures[0]);
	const Mean warm = meanColour(pictures[3]);
	EXPECT_GT(cool.b, cool.r + 2.0) << "colour 0 is the blue-green sky";
	EXPECT_GT(warm.r, warm.b + 2.0) << "colour 1 is the amber sky";
	EXPECT_EQ(pictures[0], pictures[1]) << "0.9 truncates to the first colour";
	EXPECT_EQ(pictures[0], pictures[2]) << "-0.5 truncates to the first colour";
	EXPECT_EQ(pictures[3], pictures[4]) << "1.99 truncates to the second colour";
	for (int i : { 5, 6, 7 })
	{
		// The black sky is still drawn over the magenta clear colour, and no ring adds light.
		const Mean black = meanColour(pictures[i]);
		EXPECT_EQ(black.brightest, 0) << "colour " << colours[i] << " left light in the picture";
	}
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

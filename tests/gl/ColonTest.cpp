// The ring-column scene draws without a GL error, leaves the state it promises, ignores the
// fixed-function matrices, picks its sky colour by truncation, and every one of its tracks
// changes the picture.
#include "SceneTest.h"

#include "Colon.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Show.h"
#include "Sync.h"

#include <algorithm> // Required for: std::max
#include <cmath>     // Required for: tan
#include <cstdint>   // Required for: uint8_t
#include <cstdlib>   // Required for: std::getenv
#include <vector>    // Required for: std::vector

namespace
{
	// The nine tracks, with a value each that gives an ordinary picture and one that differs.
	struct TrackSetting
	{
		const char* name;
		float base;
		float changed;
	};

	// The tube lights up before its fade and the ball gathers before its colour changes, so each
	// of those changes a sizeable patch.
	const TrackSetting trackSettings[9] = {
		{ "Colon Skybox Color", 0.0f, 1.0f },
		{ "Colon Skybox Intensity", 1.0f, 2.5f },
		{ "Colon Fade", 0.75f, 1.5f },
		{ "Colon Separation", 10.0f, 40.0f },
		{ "Colon Cyl Time", 9.0f, 21.0f },
		{ "Colon Cyl Fade", 1.0f, 0.3f },
		{ "Colon Floater Transform", 0.0f, 1.0f },
		{ "Colon Ball Red", 0.0f, 1.5f },
		{ "Colon Ball Fade", 1.0f, 0.3f },
	};

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

	// 35 units from the ball's centre, a little below it: the ball and the tube through it fill
	// the middle, the outer rings and the sky show around them.
	Tarn::Matrix4 testView()
	{
		Tarn::Matrix4 view(1.0f);
		view[14] = -35.0f;
		view = Tarn::rotate(view, -5.0f, { 1.0f, 0.0f, 0.0f });
		view = Tarn::rotate(view, 30.0f, { 0.0f, 1.0f, 0.0f });
		for (int row = 0; row < 4; row++)
			view[12 + row] -= 40.0f * view[4 + row];
		return view;
	}

	GLint integer(GLenum name)
	{
		GLint value = -1;
		glGetIntegerv(name, &value);
		return value;
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
	void SetUp() override
	{
		SceneTest::SetUp();
		glDepthFunc(GL_LEQUAL); // as the Demo sets it
		glEnable(GL_LINE_SMOOTH);
	}

	void releaseScene() override
	{
		Colon::release();
	}

	// Every track holds its base value; track i (in table order) changes to its other value at
	// row 64 * (i + 1), so the picture at row 64 * (i + 1) + 32 differs from the one before it
	// by that track alone.
	void writeSteppedTracks()
	{
		for (int i = 0; i < 9; ++i)
		{
			const TrackSetting& track = trackSettings[i];
			writeTrack(track.name, { { 0, track.base, 0 }, { 64 * (i + 1), track.changed, 0 } });
		}
	}

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
		Colon::get().render(target.id, time, testView(), testProjection());
		return readPixels(target.width, target.height);
	}
};

TEST_F(ColonTest, RenderLeavesThePromisedStateAndIgnoresTheFixedFunctionMatrices)
{
	writeSteppedTracks();
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

	EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0) << "a program is still in use";
	EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), GLint(target.id)) << "the scene bound another framebuffer";
	EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0) << "another texture unit is active";
	const GLint sky = integer(GL_TEXTURE_BINDING_2D);
	EXPECT_TRUE(sky != 0 && glIsTexture(sky)) << "the sky image is not left bound on unit 0";
	EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is on";
	EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_SRC_COLOR);
	EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE);
	float lineWidth = 0.0f;
	glGetFloatv(GL_LINE_WIDTH, &lineWidth);
	EXPECT_EQ(lineWidth, 0.5f);
	GLboolean depthWrites = GL_FALSE;
	glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
	EXPECT_TRUE(depthWrites) << "depth writes are off";

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

TEST_F(ColonTest, EveryTrackChangesThePicture)
{
	writeSteppedTracks();
	RenderTarget target(width, height, true, 1, GL_RGBA);

	// The frame time stays fixed, so only the tracks move between the pictures.
	std::vector<uint8_t> before = renderAtRow(target, 32, 4.0);
	ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	const bool keep = std::getenv("HALVORINE_KEEP_PICTURES") != nullptr;
	if (keep)
		writePicture(folder + "base.png", before, width, height);
	for (int i = 0; i < 9; ++i)
	{
		const std::vector<uint8_t> after = renderAtRow(target, 64 * (i + 1) + 32, 4.0);
		EXPECT_GT(meanDifference(before, after), 0.5) << trackSettings[i].name << " left the picture unchanged";
		if (keep)
			writePicture(folder + trackSettings[i].name + ".png", after, width, height);
		before = after;
	}
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

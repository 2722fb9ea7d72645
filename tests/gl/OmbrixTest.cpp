// The carved-monolith scene draws without a GL error, covers the whole output, leaves the state
// the frame relies on for the credits, and every one of its tracks changes the picture.
#include "SceneTest.h"

#include "Ombrix.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Settings.h"
#include "Show.h"
#include "Sync.h"

#include <cstdint> // Required for: uint8_t
#include <cstdlib> // Required for: std::getenv
#include <vector>  // Required for: std::vector

namespace
{
	// The eight tracks, with a value each that gives an ordinary picture and one that differs.
	struct TrackSetting
	{
		const char* name;
		float base;
		float changed;
	};

	const TrackSetting trackSettings[8] = {
		{ "Ombrix Cutouts", 0.3f, 1.0f },
		{ "Ombrix Slashes", 0.0f, 1.0f },
		{ "Ombrix Plane Distance", 2.5f, 7.0f },
		{ "Ombrix Ao Factor", 0.0f, 2.0f },
		{ "Ombrix Rotation Mix", 0.0f, 1.0f },
		{ "Ombrix Rotation Time", 0.0f, 4.0f },
		{ "Ombrix Skybox Mix", 0.0f, 1.0f },
		{ "Ombrix Color", 1.0f, 0.4f },
	};

	// A camera a little above the floor, turned and tilted so that sky, towers and floor all show.
	Tarn::Matrix4 testView()
	{
		Tarn::Matrix4 view(1.0f);
		view = Tarn::rotate(view, -8.0f, { 1.0f, 0.0f, 0.0f });
		view = Tarn::rotate(view, 15.0f, { 0.0f, 1.0f, 0.0f });
		view[13] = -0.5f;
		return view;
	}
}

// The scene's shaders and sky box come from the build's Data/; its tracks come from a folder
// of this test's own, so they hold exactly what each test wants.
class OmbrixTest : public SceneTest
{
protected:
	void releaseScene() override
	{
		Ombrix::release();
	}

	// Every track holds its base value; track i (in table order) changes to its other value at
	// row 64 * (i + 1), so the picture at row 64 * (i + 1) + 32 differs from the one before it
	// by that track alone.
	void writeSteppedTracks()
	{
		for (int i = 0; i < 8; ++i)
		{
			const TrackSetting& track = trackSettings[i];
			writeTrack(track.name, { { 0, track.base, 0 }, { 64 * (i + 1), track.changed, 0 } });
		}
	}

	std::vector<uint8_t> renderAtRow(RenderTarget& target, int row, double time)
	{
		setRow(row);
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		Ombrix::get().render(target.id, time, testView(), Tarn::Matrix4(1.0f));
		return readPixels(target.width, target.height);
	}
};

TEST_F(OmbrixTest, RenderLeavesTheStateTheCreditsNeedAndCoversTheOutput)
{
	writeSteppedTracks();
	const struct
	{
		int width, height;
	} sizes[2] = { { 48, 27 }, { 40, 30 } };
	for (const auto& size : sizes)
	{
		setOutputSizeOverride(size.width, size.height);
		RenderTarget target(size.width, size.height, true, 1, GL_RGBA);
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		// The scene sets the viewport itself; a sentinel with alpha 0 shows any pixel it misses.
		glViewport(0, 0, 4, 4);
		glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

		Ombrix::get().render(target.id, 3.0, testView(), Tarn::Matrix4(1.0f));
		EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << size.width << "x" << size.height;

		GLint value = -1;
		glGetIntegerv(GL_CURRENT_PROGRAM, &value);
		EXPECT_EQ(value, 0) << "a program is still in use";
		glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
		EXPECT_EQ(value, GLint(target.id)) << "the target framebuffer is no longer bound";
		glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
		EXPECT_EQ(value, GL_TEXTURE0) << "another texture unit is active";
		glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &value);
		EXPECT_EQ(value, 0) << "the sky box is still bound";
		glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
		EXPECT_EQ(value, 0) << "a 2D texture is bound";
		EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is on";
		EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "depth testing is on";
		EXPECT_TRUE(isIdentity(GL_PROJECTION_MATRIX)) << "projection matrix";
		EXPECT_TRUE(isIdentity(GL_MODELVIEW_MATRIX)) << "modelview matrix";
		GLint viewport[4];
		glGetIntegerv(GL_VIEWPORT, viewport);
		EXPECT_EQ(viewport[2], size.width);
		EXPECT_EQ(viewport[3], size.height);

		const std::vector<uint8_t> pixels = readPixels(size.width, size.height);
		int missed = 0;
		for (size_t i = 3; i < pixels.size(); i += 4)
			missed += pixels[i] != 255;
		EXPECT_EQ(missed, 0) << "pixels the scene did not draw at " << size.width << "x" << size.height;
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
	}
}

TEST_F(OmbrixTest, EveryTrackChangesThePicture)
{
	writeSteppedTracks();
	const int width = 64, height = 36;
	setOutputSizeOverride(width, height);
	RenderTarget target(width, height, true, 1, GL_RGBA);

	// The frame time stays fixed, so only the tracks move between the pictures.
	std::vector<uint8_t> before = renderAtRow(target, 32, 4.0);
	ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	const bool keep = std::getenv("HALVORINE_KEEP_PICTURES") != nullptr;
	if (keep)
		writePicture(folder + "base.png", before, width, height);
	for (int i = 0; i < 8; ++i)
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

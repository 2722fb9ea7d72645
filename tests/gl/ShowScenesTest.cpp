// What every scene of the show's table shares: it draws without a GL error at the dialog's three
// sizes and a tiny one, leaves the state the frame's credits rely on, covers the whole output,
// and each of its tracks visibly changes the picture.
#include "SceneTest.h"

#include "Camera.h"
#include "Demo.h"
#include "Effect.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Settings.h"

#include <cstdlib> // Required for: std::getenv
#include <cstring> // Required for: std::strcmp
#include <vector>

namespace
{
	struct TrackProbe
	{
		const char* name;
		float base;
		float changed;
	};

	// How a scene is looked at, and a value per track that gives an ordinary picture and one that
	// differs, in the order they change: each change shows on the picture the earlier ones left.
	struct SceneProbe
	{
		const char* scene;
		Tarn::Matrix4 (*view)();
		float fov; // of the frame's perspective
		double time;
		int width, height;
		bool setsItsViewport;   // draws over the whole output whatever viewport it is given
		int emptyUnits;         // leaves no texture bound on units 0 up to this one (excluded)
		std::vector<TrackProbe> tracks;
	};

	Tarn::Matrix4 turnedAboveTheFloor()
	{
		Tarn::Matrix4 view(1.0f);
		view = Tarn::rotate(view, -8.0f, { 1.0f, 0.0f, 0.0f });
		view = Tarn::rotate(view, 15.0f, { 0.0f, 1.0f, 0.0f });
		view[13] = -0.5f;
		return view;
	}

	Tarn::Matrix4 atTheOrigin()
	{
		return Tarn::Matrix4(1.0f);
	}

	Tarn::Matrix4 outsideTheField()
	{
		Tarn::Matrix4 view(1.0f);
		view[14] = -30.0f;
		view = Tarn::rotate(view, 10.0f, { 1.0f, 0.0f, 0.0f });
		return Tarn::rotate(view, 20.0f, { 0.0f, 1.0f, 0.0f });
	}

	Tarn::Matrix4 downTheTunnel()
	{
		Tarn::Matrix4 view(1.0f);
		view[14] = -20.0f;
		return view;
	}

	const SceneProbe probes[] = {
		{ "Sphurrs", outsideTheField, 60.0f, 8.0, 96, 54, false, 4,
			{
				{ "Sphurrs Rad Shit Time", 1.0f, 3.0f },
				{ "Sphurrs Rad Shit", 0.6f, 0.0f },
				{ "Sphurrs BOOM", 0.0f, 0.8f },
				{ "Sphurrs Part", 0.0f, 1.0f },
			} },
		{ "Ombrix", turnedAboveTheFloor, 60.0f, 4.0, 64, 36, true, 1,
			{
				{ "Ombrix Cutouts", 0.3f, 1.0f },
				{ "Ombrix Slashes", 0.0f, 1.0f },
				{ "Ombrix Plane Distance", 2.5f, 7.0f },
				{ "Ombrix Ao Factor", 0.0f, 2.0f },
				{ "Ombrix Rotation Mix", 0.0f, 1.0f },
				{ "Ombrix Rotation Time", 0.0f, 4.0f },
				{ "Ombrix Skybox Mix", 0.0f, 1.0f },
				{ "Ombrix Color", 1.0f, 0.4f },
			} },
		// The tube lights up before its fade and the ball gathers before its colour changes, so
		// each of those changes a sizeable patch.
		{ "Colon", besideTheColumn, 60.0f, 4.0, 96, 54, false, 0,
			{
				{ "Colon Skybox Color", 0.0f, 1.0f },
				{ "Colon Skybox Intensity", 1.0f, 2.5f },
				{ "Colon Fade", 0.75f, 1.5f },
				{ "Colon Separation", 10.0f, 40.0f },
				{ "Colon Cyl Time", 9.0f, 21.0f },
				{ "Colon Cyl Fade", 1.0f, 0.3f },
				{ "Colon Floater Transform", 0.0f, 1.0f },
				{ "Colon Ball Red", 0.0f, 1.5f },
				{ "Colon Ball Fade", 1.0f, 0.3f },
			} },
		{ "Architecture", downTheTunnel, 60.0f, 50.0, 64, 36, false, 0,
			{
				{ "Arch Ball Motion", 0.5f, 1.5f },
				{ "Arch Balls", 1.0f, 0.3f },
				{ "Arch Balls Flicker", 1.0f, -1.0f },
				{ "Arch Slab Fade", 1.0f, 0.0f },
			} },
		{ "Garbitch", atTheOrigin, 72.0f, 2.0, 128, 72, true, 1,
			{
				{ "Garbitch Fadeout", 0.0f, 0.6f },
				{ "Garbitch Rot", 1.0f, 0.2f },
				{ "Garbitch Sin Mix", 0.0f, 1.0f },
				{ "Garbitch Scroll", 0.0f, 3.0f },
				{ "Garbitch Squares", 1.0f, 0.4f },
				{ "Garbitch Rings", 1.0f, 2.5f },
				{ "Garbitch Scale", 0.1f, 0.5f },
				{ "Garbitch Scale 2", 1.0f, 0.4f },
				{ "Garbitch Offset", 1.0f, 0.2f },
				{ "Garbitch Spread 1", 1.5f, 16.0f }, // 720ths of the height: 1 and 1.6 pixels here
				{ "Garbitch Strength 1", 1.5f, 0.5f },
				{ "Garbitch Blue 1", 1.0f, 0.0f },
				{ "Garbitch Green 1", 1.0f, 0.2f },
				{ "Garbitch Red 1", 1.0f, 0.3f },
				{ "Garbitch Spread 2", 2.0f, 20.0f },
				{ "Garbitch Strength 2", 1.0f, 2.0f },
				{ "Garbitch Blue 2", 1.0f, 0.0f },
				{ "Garbitch Green 2", 1.0f, 0.3f },
				{ "Garbitch Red 2", 1.0f, 0.0f },
				{ "Garbitch Blend", 0.6f, 3.0f },
			} },
	};

	const SceneProbe* probeOf(const Declaration& scene)
	{
		for (const SceneProbe& probe : probes)
			if (std::strcmp(probe.scene, scene.name) == 0)
				return &probe;
		return nullptr;
	}

	// Every scene of the table with its probe; a scene without one fails the test.
	std::vector<std::pair<const ShowEntry*, const SceneProbe*>> scenesWithProbes()
	{
		std::vector<std::pair<const ShowEntry*, const SceneProbe*>> scenes;
		for (const ShowEntry& entry : Demo::showTable())
		{
			if (entry.sceneIndex == Demo::notAScene)
				continue;
			const SceneProbe* probe = probeOf(*entry.declaration);
			if (probe)
				scenes.push_back({ &entry, probe });
			else
				ADD_FAILURE() << "the scene " << entry.declaration->name << " has no probe values in this test";
		}
		return scenes;
	}
}

class ShowScenes : public SceneTest
{
protected:
	void TearDown() override
	{
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
		const std::vector<ShowEntry>& table = Demo::showTable();
		for (auto entry = table.rbegin(); entry != table.rend(); ++entry)
			if (entry->release)
				entry->release();
		SceneTest::TearDown();
	}

	// One frame as the Demo draws it into target: bound, the viewport on it (unless given
	// another), colour and depth cleared, the tracks at row.
	std::vector<uint8_t> render(const ShowEntry& entry, const SceneProbe& probe, RenderTarget& target, int row, int viewportSize = 0)
	{
		setRow(row);
		guard->expect(entry.declaration->name, entry.declaration);
		Effect* scene = entry.create();
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		glViewport(0, 0, viewportSize ? viewportSize : target.width, viewportSize ? viewportSize : target.height);
		// A magenta sentinel with alpha 0 shows any pixel the scene neither draws nor clears.
		glClearColor(1.0f, 0.0f, 1.0f, 0.0f);
		glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
		glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
		// No texture left by the scene drawn before, so what is bound afterwards is this one's.
		for (int unit = 3; unit >= 0; unit--)
		{
			glActiveTexture(GL_TEXTURE0 + unit);
			glBindTexture(GL_TEXTURE_2D, 0);
			glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
			glBindTexture(GL_TEXTURE_3D, 0);
		}
		scene->render(target.id, probe.time, probe.view(), Camera::perspective(probe.fov, target.width, target.height));
		return readPixels(target.width, target.height);
	}

	// Every probed track holds its base value; track i changes to its other value at row
	// 64 * (i + 1), so the picture at row 64 * (i + 1) + 32 differs from the one before by it alone.
	void writeSteppedTracks(const SceneProbe& probe)
	{
		for (size_t i = 0; i < probe.tracks.size(); i++)
		{
			const TrackProbe& track = probe.tracks[i];
			writeTrack(track.name, { { 0, track.base, 0 }, { 64 * (int)(i + 1), track.changed, 0 } });
		}
	}
};

TEST_F(ShowScenes, EveryScenesExitStateIsWhatTheCreditsNeedAtEverySize)
{
	const struct
	{
		int width, height;
	} sizes[] = { { 1920, 1080 }, { 1280, 720 }, { 1024, 768 }, { 48, 27 } };
	for (const auto& [entry, probe] : scenesWithProbes())
	{
		writeSteppedTracks(*probe);
		for (const auto& size : sizes)
		{
			SCOPED_TRACE(std::string(entry->declaration->name) + " at " + std::to_string(size.width) + "x" + std::to_string(size.height));
			entry->release(); // targets of the output size are made with the scene
			setOutputSizeOverride(size.width, size.height);
			RenderTarget target(size.width, size.height, true, 1, GL_RGBA);
			const bool tiny = size.width < 64;
			ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
			const std::vector<uint8_t> pixels = render(*entry, *probe, target, 32, tiny && probe->setsItsViewport ? 4 : 0);
			EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

			EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), GLint(target.id)) << "the target framebuffer is no longer bound";
			EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0) << "a program is still in use";
			EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0) << "another texture unit is active";
			EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is on";
			EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST)) << "depth testing is on";
			EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE) << "depth writes are off";
			EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
			EXPECT_TRUE(isIdentity(GL_PROJECTION_MATRIX)) << "projection matrix";
			EXPECT_TRUE(isIdentity(GL_MODELVIEW_MATRIX)) << "modelview matrix";
			GLint viewport[4];
			glGetIntegerv(GL_VIEWPORT, viewport);
			EXPECT_EQ(viewport[0], 0);
			EXPECT_EQ(viewport[1], 0);
			EXPECT_EQ(viewport[2], size.width);
			EXPECT_EQ(viewport[3], size.height);
			GLfloat clearColour[4];
			glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
			for (GLfloat channel : clearColour)
				EXPECT_EQ(channel, 0.0f) << "the clear colour";
			for (int unit = probe->emptyUnits - 1; unit >= 0; unit--)
			{
				glActiveTexture(GL_TEXTURE0 + unit);
				EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0) << "unit " << unit;
				EXPECT_EQ(integer(GL_TEXTURE_BINDING_CUBE_MAP), 0) << "unit " << unit;
				EXPECT_EQ(integer(GL_TEXTURE_BINDING_3D), 0) << "unit " << unit;
			}

			// A scene may clear with the frame's clear colour (alpha 0) where it draws nothing.
			int missed = 0;
			for (size_t i = 0; i < pixels.size(); i += 4)
				missed += pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255 && pixels[i + 3] == 0;
			EXPECT_EQ(missed, 0) << "pixels the scene did not draw";
		}
	}
}

TEST_F(ShowScenes, EveryTrackASceneDeclaresChangesItsPicture)
{
	for (const auto& [entry, probe] : scenesWithProbes())
	{
		const Declaration& declared = *entry->declaration;
		for (const char* name : declared.tracks)
		{
			bool probed = false;
			for (const TrackProbe& track : probe->tracks)
				probed = probed || std::strcmp(track.name, name) == 0;
			EXPECT_TRUE(probed) << declared.name << " declares \"" << name << "\" but this test has no probe values for it";
		}
		writeSteppedTracks(*probe);
		setOutputSizeOverride(probe->width, probe->height);
		entry->release();
		RenderTarget target(probe->width, probe->height, true, 1, GL_RGBA);

		// The frame time stays fixed, so only the tracks move between the pictures.
		std::vector<uint8_t> before = render(*entry, *probe, target, 32);
		ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << declared.name;
		const bool keep = std::getenv("HALVORINE_KEEP_PICTURES") != nullptr;
		if (keep)
			writePicture(folder + declared.name + " base.png", before, probe->width, probe->height);
		for (size_t i = 0; i < probe->tracks.size(); i++)
		{
			const std::vector<uint8_t> after = render(*entry, *probe, target, 64 * (int)(i + 1) + 32);
			EXPECT_GT(meanDifference(before, after), 0.5) << probe->tracks[i].name << " left the picture unchanged";
			if (keep)
				writePicture(folder + probe->tracks[i].name + ".png", after, probe->width, probe->height);
			before = after;
		}
		EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << declared.name;
		entry->release();
	}
}

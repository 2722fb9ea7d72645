// The sphere scene frames its picture alike at every output size, and its field and inflated
// tree draw (pictures to look at in test-output/). What it shares with every scene is tested
// over the show's table (ShowScenesTest.cpp).
#include "SceneTest.h"

#include "Camera.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Sphurrs.h"

#include <cstdlib>    // Required for: abs
#include <cstdint>    // Required for: uint8_t
#include <filesystem> // Required for: std::filesystem::create_directories
#include <string>
#include <vector>

namespace
{
	// The scene's four tracks (part, pulse amount, pulse phase, boom), held for one bar each
	// (row 32 * setting onwards).
	enum Setting
	{
		field,
		tree,
		bareSky, // every radius pushed below zero
		inflatedTree,
		settingCount
	};

	const float settings[settingCount][4] = {
		{ 0.0f, 0.6f, 1.0f, 0.0f },
		{ 1.0f, 0.6f, 1.0f, 0.0f },
		{ 1.0f, 0.6f, 1.0f, -10.0f },
		{ 1.0f, 0.6f, 1.0f, 0.8f },
	};

	// A camera distance units from the origin, turned by pitch and yaw degrees.
	Tarn::Matrix4 camera(float distance, float pitch, float yaw)
	{
		Tarn::Matrix4 v;
		v.identity();
		v[14] = -distance;
		v = Tarn::rotate(v, pitch, { 1.0f, 0.0f, 0.0f });
		return Tarn::rotate(v, yaw, { 0.0f, 1.0f, 0.0f });
	}

	struct Picture
	{
		int width = 0;
		int height = 0;
		std::vector<uint8_t> rgba; // rows bottom first, as GL reads them

		const uint8_t* at(int x, int y) const { return &rgba[4 * (y * width + x)]; }
	};

	class SphurrsTest : public SceneTest
	{
	protected:
		SphurrsTest() : SceneTest(&Sphurrs::declaration, Sphurrs::release) {}

		void SetUp() override
		{
			SceneTest::SetUp();
			const char* names[4] = { "Sphurrs Part", "Sphurrs Rad Shit", "Sphurrs Rad Shit Time", "Sphurrs BOOM" };
			for (int track = 0; track < 4; track++)
			{
				std::vector<TrackKeyBytes> keys;
				for (int s = 0; s < settingCount; s++)
					keys.push_back({ 32 * s, settings[s][track], 0 });
				writeTrack(names[track], keys);
			}
		}

		// Renders one frame the way the Demo does: its framebuffer bound, the viewport on the
		// whole output, colour and depth cleared.
		Picture render(int width, int height, double time, const Tarn::Matrix4& view, Setting setting = field)
		{
			setRow(32 * setting + 16);
			RenderTarget frame(width, height, true, 1, GL_RGBA);
			glBindFramebuffer(GL_FRAMEBUFFER, frame.id);
			glViewport(0, 0, width, height);
			glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
			Sphurrs::get().render(frame.id, time, view, Camera::perspective(60.0f, width, height));
			Picture picture{ width, height, readPixels(width, height) };
			glBindFramebuffer(GL_FRAMEBUFFER, 0);
			return picture;
		}

		void save(const Picture& picture, const std::string& name)
		{
			std::filesystem::create_directories("test-output");
			writePicture("test-output/" + name + ".png", picture.rgba, picture.width, picture.height);
		}
	};
}

TEST_F(SphurrsTest, PictureIsFramedAlikeAtEveryOutputSize)
{
	// The off-screen targets keep their own size whatever the output, so the spheres must cover
	// the same part of the frame at 160x90 as at 320x180. Sphere pixels are those that differ from
	// the bare sky, drawn with every radius pushed below zero.
	const Tarn::Matrix4 view = camera(14.0f, 10.0f, 30.0f);
	std::vector<bool> masks[2];
	const int widths[2] = { 160, 320 };
	for (int size = 0; size < 2; size++)
	{
		const int width = widths[size], height = widths[size] * 9 / 16;
		const Picture scene = render(width, height, 42.0, view, tree);
		const Picture sky = render(width, height, 42.0, view, bareSky);
		save(scene, "sphurrs-tree-" + std::to_string(width) + "x" + std::to_string(height));

		for (int y = 0; y < height; y++)
			for (int x = 0; x < width; x++)
			{
				bool differs = false;
				for (int channel = 0; channel < 3; channel++)
					differs = differs || std::abs(scene.at(x, y)[channel] - sky.at(x, y)[channel]) > 24;
				masks[size].push_back(differs);
			}
	}
	EXPECT_EQ(GL_NO_ERROR, glGetError());

	// A small pixel is covered in the large picture when at least two of its four pixels are.
	int covered = 0, disagreements = 0;
	for (int y = 0; y < 90; y++)
		for (int x = 0; x < 160; x++)
		{
			int largeCovered = 0;
			for (int dy = 0; dy < 2; dy++)
				for (int dx = 0; dx < 2; dx++)
					largeCovered += masks[1][(2 * y + dy) * 320 + 2 * x + dx];
			const bool small = masks[0][y * 160 + x];
			covered += small;
			disagreements += small != (largeCovered >= 2);
		}
	EXPECT_GT(covered, 160 * 90 / 10) << "the spheres cover too little of the frame to compare";
	EXPECT_LT(disagreements, 160 * 90 / 50) << "pixels covered at one size and not at the other";
}

TEST_F(SphurrsTest, FieldAndInflatedTreeDraw)
{
	save(render(320, 180, 6.0, camera(28.0f, -15.0f, 40.0f)), "sphurrs-field-320x180");
	save(render(320, 180, 42.0, camera(16.0f, 12.0f, 30.0f), inflatedTree), "sphurrs-tree-inflated-320x180");
	EXPECT_EQ(GL_NO_ERROR, glGetError());
	EXPECT_EQ(40, Sphurrs::get().getTreeCount());
}

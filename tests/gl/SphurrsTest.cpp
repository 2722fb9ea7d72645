// The sphere scene on a headless context: it draws without a GL error, leaves the state the
// frame relies on, frames its picture alike at every output size, and writes pictures to look at.
#include "SceneTest.h"

#include "RenderTarget.h"
#include "Sphurrs.h"

#include <stb/stb_image_write.h> // Required for: stbi_write_png

#include <cmath>      // Required for: tan
#include <cstdlib>    // Required for: abs
#include <cstdint>    // Required for: uint8_t
#include <filesystem> // Required for: std::filesystem::exists, create_directories
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

	// The frame's projection: vertical field of view in degrees, near 1, far 1000.
	Tarn::Matrix4 perspective(float fov, int width, int height)
	{
		const float aspect = (float)width / (float)height;
		const float c = (float)std::tan((double)(fov * 0.017453292f * 0.5f));
		Tarn::Matrix4 p;
		p[0] = 2.0f / (c * aspect * 2.0f);
		p[5] = 2.0f / (c * 2.0f);
		p[10] = -1.002002f;
		p[11] = -1.0f;
		p[14] = -2.002002f;
		return p;
	}

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
			glDepthFunc(GL_LEQUAL); // as the Demo sets it
		}

		void releaseScene() override
		{
			Sphurrs::release();
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
			Sphurrs::get().render(frame.id, time, view, perspective(60.0f, width, height));

			Picture picture;
			picture.width = width;
			picture.height = height;
			picture.rgba.resize(4 * width * height);
			glPixelStorei(GL_PACK_ALIGNMENT, 1);
			glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, picture.rgba.data());
			glBindFramebuffer(GL_FRAMEBUFFER, 0);
			return picture;
		}

		void save(const Picture& picture, const std::string& name)
		{
			std::filesystem::create_directories("test-output");
			const std::string path = "test-output/" + name + ".png";
			const int stride = 4 * picture.width;
			// Flipped upright: GL's first row is the bottom one.
			stbi_write_png(path.c_str(), picture.width, picture.height, 4, picture.rgba.data() + stride * (picture.height - 1), -stride);
		}
	};

	bool isIdentity(GLenum matrix)
	{
		GLfloat m[16];
		glGetFloatv(matrix, m);
		for (int i = 0; i < 16; i++)
			if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f))
				return false;
		return true;
	}

	GLint integer(GLenum name)
	{
		GLint value = -1;
		glGetIntegerv(name, &value);
		return value;
	}
}

TEST_F(SphurrsTest, FieldDrawsWithoutErrorAndLeavesTheFrameState)
{
	const int width = 96, height = 54;
	RenderTarget frame(width, height, true, 1, GL_RGBA);
	glBindFramebuffer(GL_FRAMEBUFFER, frame.id);
	glViewport(0, 0, width, height);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	Sphurrs::get().render(frame.id, 8.0, camera(30.0f, 10.0f, 20.0f), perspective(60.0f, width, height));

	EXPECT_EQ(GL_NO_ERROR, glGetError());
	EXPECT_EQ((GLint)frame.id, integer(GL_FRAMEBUFFER_BINDING));
	EXPECT_EQ(0, integer(GL_CURRENT_PROGRAM));
	EXPECT_FALSE(glIsEnabled(GL_BLEND));
	EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
	EXPECT_EQ(GL_TRUE, integer(GL_DEPTH_WRITEMASK));
	EXPECT_TRUE(isIdentity(GL_PROJECTION_MATRIX));
	EXPECT_TRUE(isIdentity(GL_MODELVIEW_MATRIX));
	GLint viewport[4];
	glGetIntegerv(GL_VIEWPORT, viewport);
	EXPECT_EQ(0, viewport[0]);
	EXPECT_EQ(0, viewport[1]);
	EXPECT_EQ(width, viewport[2]);
	EXPECT_EQ(height, viewport[3]);
	GLfloat clearColour[4];
	glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
	for (GLfloat channel : clearColour)
		EXPECT_EQ(0.0f, channel);
	EXPECT_EQ(GL_TEXTURE0, integer(GL_ACTIVE_TEXTURE));
	for (int unit = 3; unit >= 0; unit--)
	{
		glActiveTexture(GL_TEXTURE0 + unit);
		EXPECT_EQ(0, integer(GL_TEXTURE_BINDING_2D)) << "unit " << unit;
		EXPECT_EQ(0, integer(GL_TEXTURE_BINDING_CUBE_MAP)) << "unit " << unit;
	}
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
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

// The noise volume: made once, from the seed bytes the show was designed with, written in full
// whatever the window's size, repeating when sampled outside [0, 1], and leaving no state behind.
#include "GLTest.h"

#include "NoiseTexture.h"
#include "RenderTarget.h"
#include "ShaderProgram.h"

#include <algorithm> // Required for: std::max
#include <cstdlib>   // Required for: std::abs
#include <vector>    // Required for: std::vector

namespace
{
	GLint getInteger(GLenum name)
	{
		GLint value = -1;
		glGetIntegerv(name, &value);
		return value;
	}

	// One layer of the volume as RGB bytes, read through a framebuffer.
	std::vector<unsigned char> readLayer(unsigned int texture, int layer)
	{
		const int size = NoiseTexture::size;
		std::vector<unsigned char> texels(size * size * 3);
		GLuint framebuffer = 0;
		glGenFramebuffers(1, &framebuffer);
		glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
		glFramebufferTextureLayer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, texture, 0, layer);
		glPixelStorei(GL_PACK_ALIGNMENT, 1);
		glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
		glDeleteFramebuffers(1, &framebuffer);
		return texels;
	}
}

class NoiseTextureTest : public GLTest
{
protected:
	void TearDown() override
	{
		NoiseTexture::release();
		GLTest::TearDown();
	}
};

TEST(NoiseTextureSeed, FirstBytesAreTheLowBytesOfTheGeneratorsFirstResults)
{
	unsigned char bytes[NoiseTexture::seedByteCount];
	NoiseTexture::makeSeedBytes(bytes);
	// The generator's first three results after seeding with 12345: 7584, 19164, 25795.
	EXPECT_EQ(bytes[0], 0xA0);
	EXPECT_EQ(bytes[1], 0xDC);
	EXPECT_EQ(bytes[2], 0xC3);
}

// The 64 x 64 test window is far smaller than a layer; a viewport left as the caller had it
// would leave most of every layer unwritten.
TEST_F(NoiseTextureTest, EveryTexelIsWrittenAndTheCallersStateIsLeftAlone)
{
	glViewport(2, 3, 40, 30);
	const NoiseTexture& noise = NoiseTexture::get();
	ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

	EXPECT_EQ(getInteger(GL_FRAMEBUFFER_BINDING), 0);
	EXPECT_EQ(getInteger(GL_CURRENT_PROGRAM), 0);
	EXPECT_EQ(getInteger(GL_TEXTURE_BINDING_3D), 0);
	EXPECT_EQ(getInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
	GLint viewport[4];
	glGetIntegerv(GL_VIEWPORT, viewport);
	EXPECT_EQ(viewport[0], 2);
	EXPECT_EQ(viewport[1], 3);
	EXPECT_EQ(viewport[2], 40);
	EXPECT_EQ(viewport[3], 30);

	// The noise never reaches black in all three channels, and is smooth: a texel unwritten
	// reads as 0 or as a jump from its neighbours. The neighbour of the last column is the
	// first, so the seams where the volume repeats are checked too.
	const int size = NoiseTexture::size;
	for (int layer : { 0, 131, 255 })
	{
		const std::vector<unsigned char> texels = readLayer(noise.id, layer);
		int black = 0, worstStep = 0;
		for (int y = 0; y < size; y++)
			for (int x = 0; x < size; x++)
			{
				const unsigned char* texel = &texels[(y * size + x) * 3];
				black += texel[0] == 0 && texel[1] == 0 && texel[2] == 0;
				const unsigned char* right = &texels[(y * size + (x + 1) % size) * 3];
				const unsigned char* up = &texels[(((y + 1) % size) * size + x) * 3];
				for (int c = 0; c < 3; c++)
				{
					worstStep = std::max(worstStep, std::abs(texel[c] - right[c]));
					worstStep = std::max(worstStep, std::abs(texel[c] - up[c]));
				}
			}
		EXPECT_EQ(black, 0) << "unwritten texels in layer " << layer;
		EXPECT_LE(worstStep, 80) << "a jump between neighbouring texels in layer " << layer;
	}
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(NoiseTextureTest, SecondGetKeepsTheVolumeItMade)
{
	const unsigned int id = NoiseTexture::get().id;
	// Paint one layer; a second generation would overwrite it with noise again.
	GLuint framebuffer = 0;
	glGenFramebuffers(1, &framebuffer);
	glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
	glFramebufferTextureLayer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, id, 0, 7);
	glViewport(0, 0, NoiseTexture::size, NoiseTexture::size);
	glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT);
	glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	glDeleteFramebuffers(1, &framebuffer);

	EXPECT_EQ(NoiseTexture::get().id, id);
	const std::vector<unsigned char> texels = readLayer(id, 7);
	EXPECT_EQ(texels[0], 255);
	EXPECT_EQ(texels[1], 0);
	EXPECT_EQ(texels[2], 255);
}

// A position and the same position moved by whole periods on every axis read the same texel.
TEST_F(NoiseTextureTest, SamplingOutsideTheUnitCubeWraps)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/Sample.frag",
		"#version 130\n"
		"uniform sampler3D Noise;\n"
		"uniform vec3 Shift;\n"
		"in vec2 uv;\n"
		"out vec4 colour;\n"
		"void main() { colour = vec4(texture(Noise, vec3(uv, 0.3) + Shift).rgb, 1.0); }\n");
	const unsigned int id = NoiseTexture::get().id;
	ShaderProgram sampler("Data/Blit.vert", (folder + "/Sample.frag").c_str());
	RenderTarget target(32, 32, false, 1, GL_RGBA);

	auto draw = [&](float x, float y, float z) {
		glBindFramebuffer(GL_FRAMEBUFFER, target.id);
		glViewport(0, 0, 32, 32);
		glUseProgram(sampler.get().id);
		glBindTexture(GL_TEXTURE_3D, id);
		sampler.get().setUniform("Noise", 0);
		sampler.get().setUniform("Shift", x, y, z);
		glRecti(-1, -1, 1, 1);
		std::vector<unsigned char> pixels(32 * 32 * 4);
		glPixelStorei(GL_PACK_ALIGNMENT, 1);
		glReadPixels(0, 0, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
		glBindTexture(GL_TEXTURE_3D, 0);
		glUseProgram(0);
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
		return pixels;
	};
	const std::vector<unsigned char> inside = draw(0.0f, 0.0f, 0.0f);
	const std::vector<unsigned char> outside = draw(2.0f, -1.0f, 3.0f);
	int worst = 0;
	for (size_t i = 0; i < inside.size(); i++)
		worst = std::max(worst, std::abs(inside[i] - outside[i]));
	EXPECT_LE(worst, 1) << "the volume does not repeat outside [0, 1]";
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// NoiseTexture: a 256 x 256 x 256 volume of smooth RGB noise, drawn once on the graphics card at
// start-up, one layer per full-screen rectangle, from a 16 x 16 x 16 volume of seeded bytes.
#include "NoiseTexture.h"

#include "Extensions.h"
#include "ShaderProgram.h"

#include <cstdint> // Required for: uint32_t

static void setLinearRepeat()
{
	glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
	glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
	glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_REPEAT);
	glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_REPEAT);
	glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_REPEAT);
}

// Our own copy of the generator the volume was designed with: the C library's rand() differs
// from platform to platform, and the volume must be the same everywhere.
void NoiseTexture::makeSeedBytes(unsigned char (&bytes)[seedByteCount])
{
	uint32_t state = 12345;
	for (unsigned char& byte : bytes)
	{
		state = state * 214013u + 2531011u;
		byte = (unsigned char)((state >> 16) & 0x7FFF);
	}
}

const Declaration NoiseTexture::declaration = { "NoiseTexture", {} };

NoiseTexture::~NoiseTexture()
{
	deleteObjects();
}

void NoiseTexture::createObjects()
{
	// The program first: a missing shader then leaves no half-made volume or framebuffer behind.
	ShaderProgram program("Data/Blit.vert", "Data/Noise3DLinear.frag");

	glActiveTexture(GL_TEXTURE0);
	glGenTextures(1, &id);
	glBindTexture(GL_TEXTURE_3D, id);
	setLinearRepeat();
	glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB8, size, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);

	// Red holds the byte, green and blue stay 0; linear filtering and wrapping interpolate it.
	unsigned char seedBytes[seedByteCount];
	makeSeedBytes(seedBytes);
	GLuint seed = 0;
	glGenTextures(1, &seed);
	glBindTexture(GL_TEXTURE_3D, seed);
	setLinearRepeat();
	glTexImage3D(GL_TEXTURE_3D, 0, GL_RGB8, seedSize, seedSize, seedSize, 0, GL_RED, GL_UNSIGNED_BYTE, seedBytes);

	GLuint framebuffer = 0;
	glGenFramebuffers(1, &framebuffer);
	glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

	// Each layer's rectangle covers the viewport, which must be the layer itself: the window (or
	// a small render size) would leave the rest of the layer unwritten.
	GLint callerViewport[4];
	glGetIntegerv(GL_VIEWPORT, callerViewport);
	glViewport(0, 0, size, size);

	const Program& layers = program.get();
	glUseProgram(layers.id);
	for (int layer = 0; layer < size; layer++)
	{
		glFramebufferTextureLayer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, id, 0, layer);
		layers.setUniform("t", 0);
		layers.setUniform("a", layer);
		glRecti(-1, -1, 1, 1);
	}

	glUseProgram(0);
	glBindTexture(GL_TEXTURE_3D, 0);
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	glDeleteFramebuffers(1, &framebuffer);
	glDeleteTextures(1, &seed);
	glViewport(callerViewport[0], callerViewport[1], callerViewport[2], callerViewport[3]);
}

void NoiseTexture::deleteObjects()
{
	if (id != 0)
		glDeleteTextures(1, &id);
	id = 0;
}

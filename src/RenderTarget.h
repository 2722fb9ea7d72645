// An off-screen framebuffer: one or more colour textures and an optional 24-bit depth buffer.
#pragma once

#include "Texture.h"

class RenderTarget
{
public:
	// Colour attachment i is textures[i], all of the same size and internal format, all drawn
	// to at once. Returns with framebuffer 0 bound. Completeness is left to the frame's GL check.
	RenderTarget(int width, int height, bool depth, int count, GLenum internalFormat);

	~RenderTarget();

	RenderTarget(const RenderTarget&) = delete;
	RenderTarget& operator=(const RenderTarget&) = delete;

	GLuint id;
	GLuint depthBuffer; // 0 without depth
	Texture** textures; // count entries, owned
	int count;
	int width;
	int height;
};

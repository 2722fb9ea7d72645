// A 2D RGBA texture: decoded from an image file, or empty as a render target's attachment.
#pragma once

#include "Extensions.h"

#include <tarn/String.h>

class Texture
{
public:
	// Decodes a PNG or JPEG (anything stb_image reads) to RGBA, top row first, so texture
	// coordinate t = 0 is the image's top edge. Throws "Could not load texture \"path\"".
	explicit Texture(const Tarn::String& path);

	// An empty texture of the given size and internal format, filtered linearly.
	Texture(int width, int height, GLenum internalFormat);

	~Texture();

	Texture(const Texture&) = delete;
	Texture& operator=(const Texture&) = delete;

	GLuint id;
	int width;
	int height;
};

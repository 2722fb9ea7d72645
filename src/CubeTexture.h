// A sky-box cube map cut from one image holding the six faces as a vertical cross.
#pragma once

#include "Extensions.h"

#include <tarn/String.h>

class CubeTexture
{
public:
	// The image is a grid three faces wide and four high (remainder columns and rows ignored):
	// +Y on top; -X, +Z, +X in the middle row; -Y below; -Z at the bottom, stored upside down.
	// Throws "Could not load texture \"path\"" or "GL error has occurred: ..." for a face upload.
	explicit CubeTexture(const Tarn::String& path);

	~CubeTexture();

	CubeTexture(const CubeTexture&) = delete;
	CubeTexture& operator=(const CubeTexture&) = delete;

	GLuint id;
	int width;  // of the whole source image
	int height; // of the whole source image
};

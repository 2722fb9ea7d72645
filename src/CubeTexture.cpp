#include "CubeTexture.h"

#include <tarn/Exception.h>

#include <GL/glu.h>        // Required for: gluErrorString
#include <stb/stb_image.h> // Required for: stbi_load, stbi_image_free

#include <cstdint> // Required for: uint32_t
#include <memory>  // Required for: std::unique_ptr
#include <vector>  // Required for: std::vector

namespace
{
	struct CubeFace
	{
		GLenum target;
		int column; // of the face's block in the cross, in face widths
		int row;    // in face heights
		bool turned;
	};

	const CubeFace cubeFaces[6] = {
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_X, 2, 1, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_X, 0, 1, false },
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 1, 0, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, 1, 2, false },
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 1, 1, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 1, 3, true },
	};

	struct PixelsDeleter
	{
		void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
	};

	// Copies one face's block of RGBA pixels; a turned face is read from its block's far corner.
	void cutFace(const uint32_t* image, int imageWidth, int faceWidth, int faceHeight, const CubeFace& face, uint32_t* out)
	{
		const int left = face.column * faceWidth;
		const int top = face.row * faceHeight;
		for (int r = 0; r < faceHeight; ++r)
			for (int c = 0; c < faceWidth; ++c)
			{
				const int sourceRow = face.turned ? top + faceHeight - 1 - r : top + r;
				const int sourceColumn = face.turned ? left + faceWidth - 1 - c : left + c;
				out[r * faceWidth + c] = image[sourceRow * imageWidth + sourceColumn];
			}
	}
}

CubeTexture::CubeTexture(const Tarn::String& path)
	: id(0), width(0), height(0)
{
	int components = 0;
	std::unique_ptr<stbi_uc, PixelsDeleter> pixels(
		stbi_load(path.getText() ? path.getText() : "", &width, &height, &components, 4));
	if (!pixels)
		throw Tarn::Exception(Tarn::String("Could not load texture \"") + path + "\"", "src\\CubeTexture", 9);

	glGenTextures(1, &id);
	glBindTexture(GL_TEXTURE_CUBE_MAP, id);

	const int faceWidth = width / 3;
	const int faceHeight = height / 4;
	std::vector<uint32_t> faceBuffer(static_cast<size_t>(faceWidth) * faceHeight);
	const uint32_t* image = reinterpret_cast<const uint32_t*>(pixels.get());
	for (const CubeFace& face : cubeFaces)
	{
		cutFace(image, width, faceWidth, faceHeight, face, faceBuffer.data());
		glTexImage2D(face.target, 0, GL_RGBA, faceWidth, faceHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, faceBuffer.data());
		const GLenum error = glGetError();
		if (error != GL_NO_ERROR)
		{
			glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
			glDeleteTextures(1, &id);
			id = 0;
			throw Tarn::Exception(Tarn::String("GL error has occurred: ") + reinterpret_cast<const char*>(gluErrorString(error)),
				"src\\CubeTexture", 37);
		}
	}

	glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
	glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

CubeTexture::~CubeTexture()
{
	glDeleteTextures(1, &id);
}

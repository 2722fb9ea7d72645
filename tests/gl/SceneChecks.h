// Checks the scene tests share: pictures read back, compared and kept for a look when asked,
// and the fixed-function matrices a scene must leave as identity.
#pragma once

#include "Extensions.h"

#include <stb/stb_image_write.h> // Required for: stbi_write_png

#include <cstdint> // Required for: uint8_t
#include <string>  // Required for: std::string
#include <vector>  // Required for: std::vector

// The bound framebuffer's RGBA bytes, bottom row first.
inline std::vector<uint8_t> readPixels(int width, int height)
{
	std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
	return pixels;
}

// Mean absolute difference of two pictures, in 8-bit steps per channel.
inline double meanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
	double sum = 0.0;
	for (size_t i = 0; i < a.size(); ++i)
		sum += a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
	return sum / static_cast<double>(a.size());
}

inline void writePicture(const std::string& path, const std::vector<uint8_t>& pixels, int width, int height)
{
	stbi_flip_vertically_on_write(1);
	stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
}

inline bool isIdentity(GLenum matrix)
{
	float m[16];
	glGetFloatv(matrix, m);
	for (int i = 0; i < 16; ++i)
		if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f))
			return false;
	return true;
}

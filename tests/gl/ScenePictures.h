// Pictures of a scene in the GL tests: reading back the bound framebuffer, comparing two
// frames, saving one to look at, and checking that the fixed-function matrices are identity.
#pragma once

#include "Extensions.h"

#include <tarn/Math.h>

#include <stb/stb_image_write.h> // Required for: stbi_write_png

#include <cstdint> // Required for: uint8_t
#include <string>
#include <vector>

// The bound framebuffer's RGBA bytes, rows bottom first as GL reads them.
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

// Saves pixels read by readPixels upright as a PNG.
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

// Colon seen from 35 units off the ball's centre, a little below it: the ball and the tube through
// it fill the middle, the outer rings and the sky show around them.
inline Tarn::Matrix4 besideTheColumn()
{
	Tarn::Matrix4 view(1.0f);
	view[14] = -35.0f;
	view = Tarn::rotate(view, -5.0f, { 1.0f, 0.0f, 0.0f });
	view = Tarn::rotate(view, 30.0f, { 0.0f, 1.0f, 0.0f });
	for (int row = 0; row < 4; row++)
		view[12 + row] -= 40.0f * view[4 + row];
	return view;
}

// One integer of GL state.
inline GLint integer(GLenum name)
{
	GLint value = -1;
	glGetIntegerv(name, &value);
	return value;
}

// Reads the window's picture back as upright RGBA rows and writes it as PNG. The buffers are
// sized once, so capturing a frame allocates nothing.
#include "FrameCapture.h"

#include <tarn/Exception.h>

#include <GL/gl.h>

#include <stb/stb_image_write.h>

#include <cstring>

FrameCapture::FrameCapture(int width, int height)
	: width(width), height(height), bottomUp((size_t)width * height * 4), upright((size_t)width * height * 4)
{
}

const unsigned char* FrameCapture::read()
{
	readInto(upright.data());
	return upright.data();
}

void FrameCapture::readInto(unsigned char* destination)
{
	// Rows of any width come back tightly packed.
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
	const size_t rowBytes = (size_t)width * 4;
	for (int row = 0; row < height; row++)
		std::memcpy(&destination[row * rowBytes], &bottomUp[(height - 1 - row) * rowBytes], rowBytes);
}

void FrameCapture::writePng(const char* path) const
{
	if (!stbi_write_png(path, width, height, 4, upright.data(), width * 4))
		throw Tarn::Exception(Tarn::String("Could not write image \"") + path + "\"", "FrameCapture", 31);
}

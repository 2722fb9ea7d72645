// Reads the window's picture back as upright RGBA rows and writes it as PNG. The buffers are
// sized once, so capturing a frame allocates nothing.
#pragma once

#include <vector>

class FrameCapture
{
public:
	FrameCapture(int width, int height);

	// Reads the framebuffer that is bound (the window's after a Demo frame), top row first.
	const unsigned char* read();

	// The same, into the caller's width x height x 4 bytes (a video frame waiting for ffmpeg).
	void readInto(unsigned char* destination);

	// Writes the last read picture; throws Tarn::Exception naming the file if it cannot.
	void writePng(const char* path) const;

private:
	int width;
	int height;
	std::vector<unsigned char> bottomUp; // as OpenGL returns it
	std::vector<unsigned char> upright;
};

// Canvas: a float RGBA picture that every generator paints into before it is written as PNG or
// JPEG. Values are display-referred (0 black, 1 full), clamped only when written.
#pragma once

#include "Vector.h"

#include <vector> // Required for: std::vector

class Canvas
{
public:
	Canvas(int width, int height);

	int getWidth() const { return width; }
	int getHeight() const { return height; }

	float* pixel(int x, int y) { return &values[(static_cast<size_t>(y) * width + x) * 4]; }
	const float* pixel(int x, int y) const { return &values[(static_cast<size_t>(y) * width + x) * 4]; }

	void setColour(int x, int y, Vec3 colour);
	Vec3 getColour(int x, int y) const;

	// Three passes of a box blur of the given radius approximate a Gaussian; wraps around the
	// edges when tiling is asked for (textures that repeat), clamps otherwise.
	void blurChannel(int channel, int radius, bool tiling);

	// 8-bit samples with `channels` (3 = RGB, 4 = RGBA) per pixel. The optional tiny fixed dither
	// breaks up the bands that smooth, dark gradients would otherwise show.
	std::vector<unsigned char> toBytes(int channels, bool dither) const;

private:
	// One box pass over `lines` lines of `count` values: value i of a line sits at
	// i * step + line * lineStep.
	static void blurPass(const std::vector<float>& source, std::vector<float>& target, int count, int lines,
		size_t step, size_t lineStep, int radius, bool tiling);

	int width;
	int height;
	std::vector<float> values;
};

#include "Canvas.h"

#include <cmath>   // Required for: std::lround
#include <cstdint> // Required for: uint32_t

Canvas::Canvas(int width, int height)
	: width(width), height(height), values(static_cast<size_t>(width) * height * 4, 0.0f)
{
}

void Canvas::setColour(int x, int y, Vec3 colour)
{
	float* p = pixel(x, y);
	p[0] = colour.x;
	p[1] = colour.y;
	p[2] = colour.z;
	p[3] = 1.0f;
}

Vec3 Canvas::getColour(int x, int y) const
{
	const float* p = pixel(x, y);
	return { p[0], p[1], p[2] };
}

void Canvas::blurChannel(int channel, int radius, bool tiling)
{
	if (radius < 1)
		return;
	for (int pass = 0; pass < 3; ++pass)
		blurRowsOnce(channel, radius, tiling);
	transpose();
	for (int pass = 0; pass < 3; ++pass)
		blurRowsOnce(channel, radius, tiling);
	transpose();
}

void Canvas::blurRowsOnce(int channel, int radius, bool tiling)
{
	std::vector<float> row(width);
	const float scale = 1.0f / static_cast<float>(2 * radius + 1);
	auto source = [&](int x) {
		if (tiling)
			x = ((x % width) + width) % width;
		else
			x = x < 0 ? 0 : (x >= width ? width - 1 : x);
		return row[x];
	};
	for (int y = 0; y < height; ++y)
	{
		for (int x = 0; x < width; ++x)
			row[x] = pixel(x, y)[channel];
		// A running sum kept in double so long rows do not drift.
		double sum = 0.0;
		for (int k = -radius; k <= radius; ++k)
			sum += source(k);
		for (int x = 0; x < width; ++x)
		{
			pixel(x, y)[channel] = static_cast<float>(sum) * scale;
			sum += source(x + radius + 1) - source(x - radius);
		}
	}
}

void Canvas::transpose()
{
	std::vector<float> turned(values.size());
	for (int y = 0; y < height; ++y)
		for (int x = 0; x < width; ++x)
			for (int c = 0; c < 4; ++c)
				turned[(static_cast<size_t>(x) * height + y) * 4 + c] = values[(static_cast<size_t>(y) * width + x) * 4 + c];
	values.swap(turned);
	const int oldWidth = width;
	width = height;
	height = oldWidth;
}

std::vector<unsigned char> Canvas::toBytes(int channels, bool dither) const
{
	std::vector<unsigned char> bytes(static_cast<size_t>(width) * height * channels);
	for (int y = 0; y < height; ++y)
	{
		for (int x = 0; x < width; ++x)
		{
			// Integer hash of the pixel position: the same dither on every run and machine.
			uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u;
			h ^= h >> 15;
			h *= 0x2c1b3c6du;
			h ^= h >> 12;
			const float offset = dither ? static_cast<float>(h & 0xffffu) / 65535.0f - 0.5f : 0.0f;
			const float* p = pixel(x, y);
			for (int c = 0; c < channels; ++c)
			{
				const float v = clamp01(p[c]) * 255.0f + offset;
				const long level = std::lround(v);
				bytes[(static_cast<size_t>(y) * width + x) * channels + c] =
					static_cast<unsigned char>(level < 0 ? 0 : (level > 255 ? 255 : level));
			}
		}
	}
	return bytes;
}

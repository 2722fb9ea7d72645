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
	std::vector<float> plane(static_cast<size_t>(width) * height);
	for (size_t i = 0; i < plane.size(); ++i)
		plane[i] = values[i * 4 + channel];
	std::vector<float> source(plane.size());
	for (int pass = 0; pass < 3; ++pass)
	{
		source = plane;
		blurPass(source, plane, width, height, 1, width, radius, tiling);
		source = plane;
		blurPass(source, plane, height, width, static_cast<size_t>(width), 1, radius, tiling);
	}
	for (size_t i = 0; i < plane.size(); ++i)
		values[i * 4 + channel] = plane[i];
}

void Canvas::blurPass(const std::vector<float>& source, std::vector<float>& target, int count, int lines,
	size_t step, size_t lineStep, int radius, bool tiling)
{
	auto index = [&](int i) {
		if (tiling)
			return ((i % count) + count) % count;
		return i < 0 ? 0 : (i >= count ? count - 1 : i);
	};
	const float scale = 1.0f / static_cast<float>(2 * radius + 1);
	// Running sums for all lines at once, advanced together so memory is read in order; kept
	// in double so long lines do not drift.
	std::vector<double> sums(lines, 0.0);
	for (int k = -radius; k <= radius; ++k)
		for (int line = 0; line < lines; ++line)
			sums[line] += source[index(k) * step + line * lineStep];
	for (int i = 0; i < count; ++i)
	{
		const size_t entering = index(i + radius + 1) * step, leaving = index(i - radius) * step;
		for (int line = 0; line < lines; ++line)
		{
			target[i * step + line * lineStep] = static_cast<float>(sums[line]) * scale;
			sums[line] += source[entering + line * lineStep] - source[leaving + line * lineStep];
		}
	}
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

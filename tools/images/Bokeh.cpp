#include "Bokeh.h"

#include "Noise.h"

#include <cmath> // Required for: std::fabs, std::sqrt, std::exp, std::ceil, std::floor

namespace
{
	const int discCount = 70;
	const uint32_t seed = 51u;

	struct Disc
	{
		float x, y;
		float radius;
		float brightness;
		Vec3 colour;
		bool hexagonal;
	};

	Disc makeDisc(int index)
	{
		auto draw = [index](uint32_t k) { return Noise::unit(Noise::hash(static_cast<uint32_t>(index), k, 0u, seed)); };
		Disc disc;
		disc.x = draw(1) * Bokeh::size;
		disc.y = draw(2) * Bokeh::size;
		// Many small discs, a few large ones; the large ones are fainter, as further out of focus.
		const float scale = draw(3);
		disc.radius = 7.0f + 58.0f * scale * scale;
		disc.brightness = (0.16f + 0.5f * draw(4)) * (1.0f - 0.55f * scale);
		const float hue = draw(5);
		disc.colour = hue < 0.5f ? Vec3(1.0f, 0.58f, 0.22f) : (hue < 0.85f ? Vec3(0.3f, 0.78f, 1.0f) : Vec3(1.0f, 0.88f, 0.72f));
		disc.hexagonal = draw(6) < 0.45f;
		return disc;
	}

	// Distance in units of the radius: below 1 inside the shape. The hexagon is the six-bladed
	// aperture, the same orientation for every disc, as a real lens gives.
	float shapeDistance(const Disc& disc, float dx, float dy)
	{
		if (!disc.hexagonal)
			return std::sqrt(dx * dx + dy * dy) / disc.radius;
		const float ax = std::fabs(dx), ay = std::fabs(dy);
		const float edge = ax * 0.8660254f + ay * 0.5f;
		return (edge > ay ? edge : ay) / (disc.radius * 0.8660254f);
	}

	void splat(Canvas& canvas, const Disc& disc)
	{
		const int reach = static_cast<int>(std::ceil(disc.radius)) + 3;
		const int x0 = static_cast<int>(std::floor(disc.x)) - reach, x1 = static_cast<int>(std::floor(disc.x)) + reach;
		const int y0 = static_cast<int>(std::floor(disc.y)) - reach, y1 = static_cast<int>(std::floor(disc.y)) + reach;
		const float edgeSoftness = 1.6f / disc.radius;
		for (int y = y0; y <= y1; ++y)
		{
			for (int x = x0; x <= x1; ++x)
			{
				const float distance = shapeDistance(disc, static_cast<float>(x) + 0.5f - disc.x, static_cast<float>(y) + 0.5f - disc.y);
				const float inside = smoothstep(1.0f + edgeSoftness, 1.0f - edgeSoftness, distance);
				if (inside <= 0.0f)
					continue;
				// Slightly brighter towards the rim, as real bokeh is.
				const float rim = std::exp(-(1.0f - distance) * (1.0f - distance) * 60.0f);
				const float level = disc.brightness * inside * (0.7f + 0.3f * distance * distance + 0.35f * rim);
				// The picture repeats: light that leaves one side enters the other.
				float* p = canvas.pixel(((x % Bokeh::size) + Bokeh::size) % Bokeh::size, ((y % Bokeh::size) + Bokeh::size) % Bokeh::size);
				p[0] += disc.colour.x * level;
				p[1] += disc.colour.y * level;
				p[2] += disc.colour.z * level;
			}
		}
	}
}

Canvas Bokeh::paint()
{
	Canvas canvas(size, size);
	for (int i = 0; i < discCount; ++i)
		splat(canvas, makeDisc(i));
	for (int channel = 0; channel < 3; ++channel)
		canvas.blurChannel(channel, 1, true);
	for (int y = 0; y < size; ++y)
		for (int x = 0; x < size; ++x)
			canvas.pixel(x, y)[3] = 1.0f;
	return canvas;
}

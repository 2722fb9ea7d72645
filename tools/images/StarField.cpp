#include "StarField.h"

#include "Noise.h"

#include <cmath> // Required for: std::fabs, std::floor, std::exp

StarField::StarField(int cellsPerFace, float density, float size, uint32_t seed)
	: cellsPerFace(cellsPerFace), density(density), size(size), seed(seed)
{
}

Vec3 StarField::light(Vec3 direction) const
{
	const float ax = std::fabs(direction.x), ay = std::fabs(direction.y), az = std::fabs(direction.z);
	uint32_t face = 0;
	float a = 0.0f, b = 0.0f;
	if (ax >= ay && ax >= az)
	{
		face = direction.x > 0.0f ? 0u : 1u;
		a = direction.y / ax;
		b = direction.z / ax;
	}
	else if (ay >= az)
	{
		face = direction.y > 0.0f ? 2u : 3u;
		a = direction.x / ay;
		b = direction.z / ay;
	}
	else
	{
		face = direction.z > 0.0f ? 4u : 5u;
		a = direction.x / az;
		b = direction.y / az;
	}
	const float cells = static_cast<float>(cellsPerFace);
	const float gx = (a + 1.0f) * 0.5f * cells, gy = (b + 1.0f) * 0.5f * cells;
	const float cx = std::floor(gx), cy = std::floor(gy);
	const uint32_t h = Noise::hash(static_cast<uint32_t>(static_cast<int>(cx)), static_cast<uint32_t>(static_cast<int>(cy)), face, seed);

	// Cells near a face's corners cover less of the sky; fewer of them hold a star so that the
	// stars spread evenly over the sphere.
	const float ca = (cx + 0.5f) / cells * 2.0f - 1.0f, cb = (cy + 0.5f) / cells * 2.0f - 1.0f;
	const float stretch = 1.0f + ca * ca + cb * cb;
	const float evenDensity = density / (stretch * std::sqrt(stretch));
	if (Noise::unit(h) >= evenDensity)
		return {};

	// The star sits in the middle half of its cell: its light never reaches the cell border.
	const float sx = cx + 0.25f + 0.5f * Noise::unit(Noise::hash(h, 1u, 0u, seed));
	const float sy = cy + 0.25f + 0.5f * Noise::unit(Noise::hash(h, 2u, 0u, seed));
	const float dx = gx - sx, dy = gy - sy;
	const float distanceSquared = dx * dx + dy * dy;

	// Mostly faint stars and a few bright ones; bright ones are a little larger.
	const float magnitude = Noise::unit(Noise::hash(h, 3u, 0u, seed));
	const float brightness = 0.12f + 1.6f * magnitude * magnitude * magnitude * magnitude;
	const float radius = size * (0.7f + 0.5f * magnitude);
	const float intensity = brightness * std::exp(-distanceSquared / (radius * radius));

	// Temperature: most stars white, some blue, some amber.
	const float temperature = Noise::unit(Noise::hash(h, 4u, 0u, seed));
	const Vec3 tint = temperature < 0.3f ? Vec3(0.75f, 0.88f, 1.0f)
		: (temperature > 0.85f ? Vec3(1.0f, 0.82f, 0.6f) : Vec3(1.0f, 0.97f, 0.93f));
	return tint * intensity;
}

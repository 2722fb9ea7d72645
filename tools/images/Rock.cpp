#include "Rock.h"

#include "Noise.h"

#include <vector> // Required for: std::vector

namespace
{
	const uint32_t seed = 61u;
	const float bumpStrength = 5.0f;

	struct Sample
	{
		float height;
		Vec3 colour;
	};

	Sample sampleStone(int x, int y)
	{
		const float u = static_cast<float>(x) / Rock::size, v = static_cast<float>(y) / Rock::size;

		// Broad undulation and fine grain.
		const float broad = Noise::tiledFractal(u * 4.0f, v * 4.0f, 4, 5, seed);
		const float grain = Noise::tiledFractal(u * 64.0f, v * 64.0f, 64, 2, seed + 10u);

		// Layers laid down in the stone, bent by the broad noise.
		const float strata = Noise::tiledGradient(u * 2.0f + broad * 1.5f, v * 24.0f + broad * 6.0f, 2, seed + 20u);

		// Cracks along the borders of irregular cells, of varying depth.
		const Noise::CellDistances cells = Noise::tiledCells(u * 6.0f + broad * 0.6f, v * 6.0f + broad * 0.6f, 6, seed + 30u);
		const float crackWidth = 0.035f;
		const float crack = 1.0f - smoothstep(0.0f, crackWidth, cells.second - cells.nearest);
		const float crackDepth = 0.4f + 0.6f * Noise::unit(cells.nearestId);

		Sample sample;
		sample.height = 0.55f + broad * 0.35f + grain * 0.06f + strata * 0.05f - crack * crackDepth * 0.35f;

		// Warm grey stone, each cell a slightly different shade, speckled with darker and
		// lighter grains; cracks and hollows hold shadow.
		const Vec3 coolStone(0.36f, 0.36f, 0.37f);
		const Vec3 warmStone(0.52f, 0.44f, 0.36f);
		Vec3 colour = mix(coolStone, warmStone, clamp01(0.5f + broad * 1.4f + strata * 0.4f));
		colour = colour * (0.9f + 0.2f * Noise::unit(Noise::hash(cells.nearestId, 5u, 0u, seed)));
		// Crystals: small irregular grains, each its own shade, a few dark and a few glinting.
		const Noise::CellDistances crystals = Noise::tiledCells(u * 256.0f, v * 256.0f, 256, seed + 40u);
		const float crystal = Noise::unit(crystals.nearestId);
		colour = colour * (1.0f + smoothstep(0.85f, 0.97f, crystal) * 0.22f - smoothstep(0.15f, 0.03f, crystal) * 0.25f
			+ (crystal - 0.5f) * 0.08f);
		colour = colour * (1.0f + grain * 0.35f);
		colour = colour * (1.0f - crack * crackDepth * 0.65f);
		colour = colour * (0.75f + 0.45f * clamp01(sample.height));
		sample.colour = colour;
		return sample;
	}

	int wrap(int value) { return (value + Rock::size) % Rock::size; }
}

Rock::Pictures Rock::paint()
{
	Pictures pictures{ Canvas(size, size), Canvas(size, size) };
	std::vector<float> heights(static_cast<size_t>(size) * size);
	for (int y = 0; y < size; ++y)
	{
		for (int x = 0; x < size; ++x)
		{
			const Sample sample = sampleStone(x, y);
			heights[static_cast<size_t>(y) * size + x] = sample.height;
			pictures.colour.setColour(x, y, sample.colour);
		}
	}
	auto height = [&](int x, int y) { return heights[static_cast<size_t>(wrap(y)) * size + wrap(x)]; };
	for (int y = 0; y < size; ++y)
	{
		for (int x = 0; x < size; ++x)
		{
			// Slopes in height per texel, wrapping around so the normal map tiles too.
			const float slopeS = (height(x + 1, y) - height(x - 1, y)) * 0.5f * bumpStrength;
			const float slopeT = (height(x, y + 1) - height(x, y - 1)) * 0.5f * bumpStrength;
			const Vec3 normal = normalize(Vec3(-slopeS, -slopeT, 1.0f));
			float* p = pictures.normal.pixel(x, y);
			p[0] = normal.x * 0.5f + 0.5f;
			p[1] = normal.y * 0.5f + 0.5f;
			p[2] = normal.z * 0.5f + 0.5f;
			p[3] = clamp01(height(x, y));
		}
	}
	return pictures;
}

#include "Noise.h"

#include <cmath> // Required for: std::floor, std::sqrt

namespace
{
	float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
	float lerp(float a, float b, float t) { return a + (b - a) * t; }

	// One of twelve edge directions of a cube, chosen by the hash, dotted with the offset.
	float gradientDot(uint32_t h, float x, float y, float z)
	{
		switch (h % 12u)
		{
		case 0: return x + y;
		case 1: return -x + y;
		case 2: return x - y;
		case 3: return -x - y;
		case 4: return x + z;
		case 5: return -x + z;
		case 6: return x - z;
		case 7: return -x - z;
		case 8: return y + z;
		case 9: return -y + z;
		case 10: return y - z;
		default: return -y - z;
		}
	}

	float gradientDot2(uint32_t h, float x, float y)
	{
		// Eight directions around the circle, unit length.
		const float d = 0.70710678f;
		switch (h & 7u)
		{
		case 0: return x;
		case 1: return -x;
		case 2: return y;
		case 3: return -y;
		case 4: return (x + y) * d;
		case 5: return (x - y) * d;
		case 6: return (-x + y) * d;
		default: return (-x - y) * d;
		}
	}

	int wrap(int v, int period) { return ((v % period) + period) % period; }

	// A cheaper hash for lattice corners, which are looked up eight at a time.
	uint32_t latticeHash(uint32_t x, uint32_t y, uint32_t z, uint32_t seed)
	{
		uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ z * 0xcb1ab31fu ^ seed * 0x9e3779b9u;
		h ^= h >> 15;
		h *= 0x2c1b3c6du;
		h ^= h >> 12;
		return h;
	}
}

uint32_t Noise::hash(uint32_t a, uint32_t b, uint32_t c, uint32_t seed)
{
	uint32_t h = seed * 0x9e3779b9u;
	h ^= a * 0x85ebca6bu;
	h = (h << 13) | (h >> 19);
	h ^= b * 0xc2b2ae35u;
	h = (h << 11) | (h >> 21);
	h ^= c * 0x27d4eb2fu;
	h ^= h >> 16;
	h *= 0x7feb352du;
	h ^= h >> 15;
	h *= 0x846ca68bu;
	h ^= h >> 16;
	return h;
}

float Noise::unit(uint32_t h)
{
	return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

float Noise::gradient(Vec3 p, uint32_t seed)
{
	const float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
	const uint32_t ix = static_cast<uint32_t>(static_cast<int>(fx));
	const uint32_t iy = static_cast<uint32_t>(static_cast<int>(fy));
	const uint32_t iz = static_cast<uint32_t>(static_cast<int>(fz));
	const float x = p.x - fx, y = p.y - fy, z = p.z - fz;
	const float u = fade(x), v = fade(y), w = fade(z);

	auto corner = [&](uint32_t dx, uint32_t dy, uint32_t dz) {
		return gradientDot(latticeHash(ix + dx, iy + dy, iz + dz, seed) >> 8, x - static_cast<float>(dx),
			y - static_cast<float>(dy), z - static_cast<float>(dz));
	};
	const float x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), u);
	const float x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), u);
	const float x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), u);
	const float x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), u);
	return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w);
}

float Noise::fractal(Vec3 p, int octaves, uint32_t seed)
{
	float sum = 0.0f;
	float amplitude = 0.5f;
	for (int octave = 0; octave < octaves; ++octave)
	{
		sum += gradient(p, seed + static_cast<uint32_t>(octave)) * amplitude;
		p = p * 2.0f;
		amplitude *= 0.5f;
	}
	return sum;
}

float Noise::tiledGradient(float x, float y, int period, uint32_t seed)
{
	const float fx = std::floor(x), fy = std::floor(y);
	const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
	const float tx = x - fx, ty = y - fy;
	auto corner = [&](int dx, int dy) {
		const uint32_t h = hash(static_cast<uint32_t>(wrap(ix + dx, period)),
			static_cast<uint32_t>(wrap(iy + dy, period)), 0u, seed);
		return gradientDot2(h, tx - static_cast<float>(dx), ty - static_cast<float>(dy));
	};
	const float u = fade(tx), v = fade(ty);
	return lerp(lerp(corner(0, 0), corner(1, 0), u), lerp(corner(0, 1), corner(1, 1), u), v) * 1.4f;
}

float Noise::tiledFractal(float x, float y, int period, int octaves, uint32_t seed)
{
	float sum = 0.0f;
	float amplitude = 0.5f;
	for (int octave = 0; octave < octaves; ++octave)
	{
		sum += tiledGradient(x, y, period, seed + static_cast<uint32_t>(octave)) * amplitude;
		x *= 2.0f;
		y *= 2.0f;
		period *= 2;
		amplitude *= 0.5f;
	}
	return sum;
}

Noise::CellDistances Noise::tiledCells(float x, float y, int period, uint32_t seed)
{
	const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
	CellDistances result{ 1e9f, 1e9f, 0u };
	for (int dy = -1; dy <= 1; ++dy)
	{
		for (int dx = -1; dx <= 1; ++dx)
		{
			const int cx = ix + dx, cy = iy + dy;
			const uint32_t h = hash(static_cast<uint32_t>(wrap(cx, period)), static_cast<uint32_t>(wrap(cy, period)), 1u, seed);
			const float px = static_cast<float>(cx) + unit(h);
			const float py = static_cast<float>(cy) + unit(hash(h, 7u, 3u, seed));
			const float distance = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
			if (distance < result.nearest)
			{
				result.second = result.nearest;
				result.nearest = distance;
				result.nearestId = h;
			}
			else if (distance < result.second)
				result.second = distance;
		}
	}
	return result;
}

// The architecture scene's layouts and its point field, on the processor.
#include "ArchitectureLayouts.h"

#include <tarn/Random.h>

#include <algorithm> // Required for: std::min
#include <cmath>     // Required for: std::sin, std::cos, std::sqrt

using ArchitectureLayouts::Slab;

void ArchitectureLayouts::makeSlabs(Slab* slabs)
{
	Tarn::RandomState random = { 1, 2 };
	for (int i = 0; i < slabCount; i++)
	{
		Slab& slab = slabs[i];
		slab.x = Tarn::randomRange(random, -4.0f, 4.0f);
		slab.y = Tarn::randomRange(random, -400.0f, 4.0f);
		slab.z = Tarn::randomRange(random, -4000.0f, 10.0f);
		slab.tiltX = Tarn::randomRange(random, -8.0f, 8.0f);
		slab.tiltY = Tarn::randomRange(random, -8.0f, 8.0f);
		slab.tiltZ = Tarn::randomRange(random, -8.0f, 8.0f);
		slab.angle = Tarn::randomRange(random, 0.0f, 360.0f);
		slab.spin = Tarn::randomRange(random, -2.0f, 2.0f);
	}
}

void ArchitectureLayouts::makeThresholds(float* thresholds)
{
	Tarn::RandomState random = { 1, 2 };
	for (int n = 0; n < pointCount; n++)
		thresholds[n] = Tarn::nextRandom(random);
}

namespace
{
	// m times the function of an argument formed in single precision, evaluated in double.
	float wave(double (*function)(double), float m, float argument)
	{
		return (float)(m * function((double)argument));
	}

	double sine(double x) { return std::sin(x); }
	double cosine(double x) { return std::cos(x); }
}

void ArchitectureLayouts::attractorCentres(float m, float t, Tarn::Vector3 centres[centreCount])
{
	centres[0] = { wave(sine, m, t), wave(cosine, m, 0.67f * t), wave(sine, m, 0.8f * t) };
	centres[1] = { wave(sine, m, 0.5f * t), wave(cosine, m, 0.9f * t), wave(cosine, m, 0.7f * t) };
	centres[2] = { wave(cosine, m, 0.9f * t), wave(sine, m, 0.45f * t), wave(sine, m, 1.2f * t) };
	centres[3] = { wave(sine, m, 0.6f * t), wave(sine, m, 1.1f * t), wave(cosine, m, 0.72f * t) };
	centres[4] = { wave(sine, m, 0.96f * t), wave(sine, m, 0.45f * t), wave(sine, m, 1.2f * t) };
	centres[5] = { wave(cosine, m, 0.64f * t), wave(cosine, m, t), wave(cosine, m, 0.79f * t) };
}

// The heaviest work of the frame: 384 000 distances. Each grid row along x is one branch-free
// loop per centre that the compiler vectorises; a coinciding centre is masked out by a select.
// Where the processor has AVX2 a second copy runs eight lanes wide (no fused multiply-adds, so
// both copies give the same bits). The choice at load time is the ELF loader's (ifunc): on
// Windows the default copy alone runs.
#ifdef __ELF__
__attribute__((target_clones("avx2", "default")))
#endif
void ArchitectureLayouts::evaluateField(const Tarn::Vector3 centres[centreCount], float brightness, BallPoints& points)
{
	float column[gridSize];
	for (int k = 0; k < gridSize; k++)
		column[k] = gridCoordinate(k);

	for (int i = 0; i < gridSize; i++)
	{
		const float pz = gridCoordinate(i);
		for (int j = 0; j < gridSize; j++)
		{
			const float py = gridCoordinate(j);
			float qx[gridSize], qy[gridSize], qz[gridSize], sum[gridSize];
			for (int k = 0; k < gridSize; k++)
			{
				qx[k] = column[k];
				qy[k] = py;
				qz[k] = pz;
				sum[k] = 0.0f;
			}

			for (int b = 0; b < centreCount; b++)
			{
				const float dy = py - centres[b].y;
				const float dz = pz - centres[b].z;
				const float dy2 = dy * dy;
				const float dz2 = dz * dz;
				for (int k = 0; k < gridSize; k++)
				{
					const float dx = column[k] - centres[b].x;
					const float d2 = dy2 + dx * dx + dz2;
					const float d = (float)std::sqrt((double)d2);
					// Every lane divides (by 1 where the centre sits on the point), then the select
					// drops what a coinciding centre would add.
					const bool apart = d > 0.0f;
					const float divisor = apart ? d : 1.0f;
					const float ax = dx / divisor;
					const float ay = dy / divisor;
					const float az = dz / divisor;
					const float inverse = 1.0f / divisor;
					const double inverse2 = (double)inverse * (double)inverse;
					const float glow = (float)(inverse2 * inverse2 * inverse2);
					qx[k] += apart ? ax : 0.0f;
					qy[k] += apart ? ay : 0.0f;
					qz[k] += apart ? az : 0.0f;
					sum[k] += apart ? glow : 0.0f;
				}
			}

			const int row = (i * gridSize + j) * gridSize;
			for (int k = 0; k < gridSize; k++)
			{
				points.x[row + k] = (float)(0.6 * qx[k]);
				points.y[row + k] = (float)(0.6 * qy[k]);
				points.z[row + k] = (float)(0.6 * qz[k]);
				points.glow[row + k] = std::min(sum[k], 1.0f) * brightness;
			}
		}
	}
}

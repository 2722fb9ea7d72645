// The architecture scene's layouts and point field: the seeded slabs and thresholds, and the
// field's precision rules, pushes and the point that sits on the attractors.
#include "ArchitectureLayouts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace ArchitectureLayouts;

namespace
{
	struct Layouts
	{
		std::unique_ptr<Slab[]> slabs{ new Slab[slabCount] };
		std::unique_ptr<float[]> thresholds{ new float[pointCount] };

		Layouts()
		{
			makeSlabs(slabs.get());
			makeThresholds(thresholds.get());
		}
	};

	int gridIndex(int i, int j, int k) { return (i * gridSize + j) * gridSize + k; }
}

TEST(ArchitectureLayouts, SlabsAndThresholdsComeFromTheirOwnSeeds)
{
	const Layouts first;
	const Slab& slab = first.slabs[0];
	const float expected[8] = { -2.9743338f, -41.162872f, -1107.6895f, -3.8221383f, 3.2454605f, 6.485794f, 33.366497f, -1.807001f };
	const float actual[8] = { slab.x, slab.y, slab.z, slab.tiltX, slab.tiltY, slab.tiltZ, slab.angle, slab.spin };
	for (int field = 0; field < 8; field++)
		EXPECT_FLOAT_EQ(expected[field], actual[field]) << "slab 0, field " << field;
	// The thresholds start the sequence again rather than carrying on from the slabs.
	EXPECT_FLOAT_EQ(0.12820826f, first.thresholds[0]);
	EXPECT_FLOAT_EQ(0.8882107f, first.thresholds[1]);

	const Layouts second;
	EXPECT_EQ(0, std::memcmp(first.slabs.get(), second.slabs.get(), sizeof(Slab) * slabCount));
	EXPECT_EQ(0, std::memcmp(first.thresholds.get(), second.thresholds.get(), sizeof(float) * pointCount));
}

// With no motion the six attractors rest at the origin: every point is pushed six units straight
// out before the 0.6 scale, and the grid point (20, 20, 20) at the origin itself stays put, dark.
TEST(ArchitectureLayouts, RestingAttractorsPushEveryPointOutAndSpareTheCentre)
{
	Tarn::Vector3 centres[centreCount];
	attractorCentres(0.0f, 17.3f, centres);
	for (const Tarn::Vector3& centre : centres)
		EXPECT_EQ(0.0f, std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(centre.z));

	std::unique_ptr<BallPoints> points(new BallPoints());
	evaluateField(centres, 2.0f, *points);

	const int centre = gridIndex(20, 20, 20);
	EXPECT_EQ(0.0f, points->x[centre]);
	EXPECT_EQ(0.0f, points->y[centre]);
	EXPECT_EQ(0.0f, points->z[centre]);
	EXPECT_EQ(0.0f, points->glow[centre]);

	const struct
	{
		int i, j, k;
	} cases[] = { { 20, 20, 21 }, { 20, 21, 21 }, { 0, 0, 0 }, { 39, 5, 17 }, { 21, 19, 20 } };
	for (const auto& c : cases)
	{
		const int n = gridIndex(c.i, c.j, c.k);
		const float px = gridCoordinate(c.k), py = gridCoordinate(c.j), pz = gridCoordinate(c.i);
		const float distance = std::sqrt(px * px + py * py + pz * pz);
		const float pushed = std::sqrt(points->x[n] * points->x[n] + points->y[n] * points->y[n] + points->z[n] * points->z[n]);
		EXPECT_NEAR(0.6f * (distance + 6.0f), pushed, 1e-4f) << "point " << c.i << ", " << c.j << ", " << c.k;
		EXPECT_NEAR(px / distance, points->x[n] / pushed, 1e-5f) << "point " << c.i << ", " << c.j << ", " << c.k << " moves off its ray";
		EXPECT_FLOAT_EQ(std::fmin(6.0f / std::pow(distance, 6.0f), 1.0f) * 2.0f, points->glow[n]) << "point " << c.i << ", " << c.j << ", " << c.k;
	}
}

// The vectorised field gives, bit for bit, the plain per-point formula: the sum in single
// precision, the root in double rounded to float, a division by d, (1/d)^6 in double.
TEST(ArchitectureLayouts, FieldFollowsThePrecisionRulesAtEveryPoint)
{
	Tarn::Vector3 centres[centreCount];
	attractorCentres(3.0f, 1.0f, centres);
	EXPECT_FLOAT_EQ(2.5244129f, centres[0].x); // 3 sin(1)
	EXPECT_FLOAT_EQ(1.6209069f, centres[5].y); // 3 cos(1)
	// One centre on a grid point, as the motion can make it happen.
	centres[2] = { gridCoordinate(30), gridCoordinate(12), gridCoordinate(3) };

	std::unique_ptr<BallPoints> points(new BallPoints());
	evaluateField(centres, 1.5f, *points);

	int mismatches = 0;
	for (int i = 0; i < gridSize; i++)
		for (int j = 0; j < gridSize; j++)
			for (int k = 0; k < gridSize; k++)
			{
				const float p[3] = { gridCoordinate(k), gridCoordinate(j), gridCoordinate(i) };
				float q[3] = { p[0], p[1], p[2] };
				float s = 0.0f;
				for (const Tarn::Vector3& b : centres)
				{
					const float d3[3] = { p[0] - b.x, p[1] - b.y, p[2] - b.z };
					const float sum = d3[1] * d3[1] + d3[0] * d3[0] + d3[2] * d3[2];
					const float d = (float)std::sqrt((double)sum);
					if (d == 0.0f)
						continue;
					for (int axis = 0; axis < 3; axis++)
						q[axis] += d3[axis] / d;
					s += (float)std::pow((double)(1.0f / d), 6.0);
				}
				const int n = gridIndex(i, j, k);
				const float glow = std::fmin(s, 1.0f) * 1.5f;
				const bool same = points->x[n] == (float)(0.6 * q[0]) && points->y[n] == (float)(0.6 * q[1])
					&& points->z[n] == (float)(0.6 * q[2]) && points->glow[n] == glow;
				if (!same && mismatches++ < 5)
					ADD_FAILURE() << "point " << i << ", " << j << ", " << k;
			}
	EXPECT_EQ(0, mismatches);

	const int onCentre = gridIndex(3, 12, 30);
	EXPECT_TRUE(std::isfinite(points->x[onCentre]) && std::isfinite(points->glow[onCentre]));
}

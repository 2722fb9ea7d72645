// The column scene's layouts: the seeded values, the style counts, the tube's bands, the
// switch-on curve and where the floaters go.
#include "ColonLayouts.h"

#include <tarn/Random.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
	const ColonLayouts::Layout& layout()
	{
		static const ColonLayouts::Layout built = ColonLayouts::build();
		return built;
	}
}

TEST(ColonLayouts, SeededValuesOfRingZeroTheFirstSpeedsAndFloaterZero)
{
	const ColonLayouts::Ring& ring = layout().rings[0];
	EXPECT_EQ(84, ring.layer);
	EXPECT_EQ(88.0f, ring.innerRadius);
	EXPECT_FLOAT_EQ(88.8f, ring.outerRadius);
	EXPECT_NEAR(4.531900f, ring.startAngle, 2e-6f);
	EXPECT_NEAR(4.652354f, ring.endAngle, 2e-6f);
	EXPECT_NEAR(0.0787182f, ring.delay, 1e-7f);
	EXPECT_EQ(-2, ring.style);

	const float speeds[3] = { -0.797540f, -0.461287f, 0.894345f };
	for (int i = 0; i < 3; i++)
		EXPECT_NEAR(speeds[i], layout().layerSpeeds[i], 1e-6f) << "layer speed " << i;

	// Floater 0 comes after every ring, speed and height: a draw missed anywhere shifts it.
	const ColonLayouts::Floater& floater = layout().floaters[0];
	EXPECT_NEAR(164.2567f, floater.position.x, 1e-4f);
	EXPECT_NEAR(163.1214f, floater.position.y, 1e-4f);
	EXPECT_NEAR(-119.8706f, floater.position.z, 1e-4f);
	EXPECT_NEAR(1.553305f, floater.target.x, 1e-5f);
	EXPECT_NEAR(47.93857f, floater.target.y, 1e-5f);
	EXPECT_NEAR(-5.879317f, floater.target.z, 1e-5f);
}

TEST(ColonLayouts, EveryFloaterStartsAfterItsPredecessorsDraws)
{
	// Seven draws per ring, 200 for speeds and heights, then 10 per floater and 5 more for each
	// of the first 2000 (three for the target, two unused).
	const struct
	{
		int floater, drawsBefore;
	} cases[] = { { 1, 10500 + 200 + 15 }, { 1999, 10700 + 1999 * 15 }, { 2001, 10700 + 2000 * 15 + 10 }, { 2999, 10700 + 30000 + 999 * 10 } };
	for (const auto& c : cases)
	{
		Tarn::RandomState random = { 1, 2 };
		for (int i = 0; i < c.drawsBefore; i++)
			Tarn::nextRandomInt(random);
		const float r1 = Tarn::nextRandom(random), r2 = Tarn::nextRandom(random), r3 = Tarn::nextRandom(random);
		const Tarn::Vector3& p = layout().floaters[c.floater].position;
		EXPECT_EQ(r3 * 400.0f - 200.0f, p.x) << "floater " << c.floater;
		EXPECT_EQ(r2 * 200.0f, p.y) << "floater " << c.floater;
		EXPECT_EQ(r1 * 400.0f - 200.0f, p.z) << "floater " << c.floater;
	}
}

TEST(ColonLayouts, RingsBandsAndFloatersStayInTheirRanges)
{
	const ColonLayouts::Layout& built = layout();
	ASSERT_EQ(1500u, built.rings.size());
	int styles[5] = {}; // -2 .. 2
	for (size_t i = 0; i < built.rings.size(); i++)
	{
		const ColonLayouts::Ring& ring = built.rings[i];
		ASSERT_GE(ring.style, -2) << "ring " << i;
		ASSERT_LE(ring.style, 2) << "ring " << i;
		styles[ring.style + 2]++;
		EXPECT_GE(ring.layer, 0) << "ring " << i;
		EXPECT_LT(ring.layer, 100) << "ring " << i;
		const float width = ring.outerRadius - ring.innerRadius;
		EXPECT_TRUE(width >= -6.25f && width <= 7.85f) << "ring " << i << " width " << width;
		const float sweep = ring.endAngle - ring.startAngle;
		EXPECT_TRUE(sweep >= 0.0999f && sweep <= 0.4001f) << "ring " << i << " sweep " << sweep;
		EXPECT_TRUE(ring.delay >= 0.0f && ring.delay <= 0.7f) << "ring " << i;
	}
	EXPECT_EQ(488, styles[2]) << "filled";
	EXPECT_EQ(242, styles[3]) << "outlined";
	EXPECT_EQ(266, styles[4]) << "spokes";
	EXPECT_EQ(504, styles[0] + styles[1]) << "undrawn";

	ASSERT_EQ(100u, built.bands.size());
	EXPECT_EQ(-200.0f, built.bands[0].y);
	EXPECT_EQ(196.0f, built.bands[99].y);
	EXPECT_FLOAT_EQ(19.8f, built.bands[99].delay);

	ASSERT_EQ(3000u, built.floaters.size());
	for (int i = 0; i < 3000; i++)
	{
		const ColonLayouts::Floater& floater = built.floaters[i];
		const Tarn::Vector3& d = floater.direction;
		EXPECT_NEAR(1.0f, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z), 1e-5f) << "floater " << i;
		const Tarn::Vector3& t = floater.target;
		const float fromCentre = std::sqrt(t.x * t.x + (t.y - 40.0f) * (t.y - 40.0f) + t.z * t.z);
		if (i < 2000)
			EXPECT_NEAR(10.0f, fromCentre, 1e-4f) << "floater " << i << " is off the ball";
		else
			EXPECT_TRUE(t.x == 0.0f && t.y == 0.0f && t.z == 0.0f) << "floater " << i << " has a target";
	}
}

TEST(ColonLayouts, FlickerInFollowsItsIntervals)
{
	const struct
	{
		float q, expected;
	} cases[] = {
		{ -3.0f, 0.0f }, { 0.0f, 0.0f }, { 0.7f, 0.0f }, { NAN, 0.0f },
		// (0.7, 0.8]: six steps of a sixtieth, off, on, off, on, off, on
		{ 0.705f, 0.0f }, { 0.72f, 1.0f }, { 0.74f, 0.0f }, { 0.755f, 1.0f }, { 0.77f, 0.0f }, { 0.79f, 1.0f },
		{ 0.85f, 0.25f }, { 0.9f, 0.5f }, { 1.0f, 1.0f }, { 1.0001f, 1.0f }, { 40.0f, 1.0f }, { INFINITY, 1.0f },
	};
	for (const auto& c : cases)
		EXPECT_NEAR(c.expected, ColonLayouts::flickerIn(c.q), 1e-5f) << "q = " << c.q;
}

TEST(ColonLayouts, FloatersDriftGatherAndTwinkle)
{
	const ColonLayouts::Layout& built = layout();
	int hiddenWhileFree = 0;
	for (int i = 0; i < 3000; i++)
	{
		const ColonLayouts::Floater& floater = built.floaters[i];
		for (float T2 : { 0.0f, 7.5f, 51.0f })
		{
			Tarn::Vector3 p;
			const float gathered = ColonLayouts::placeFloater(floater, i, T2, 1.0f, p);
			const Tarn::Vector3 home = i < 2000 ? floater.target : floater.position;
			const float drift = i < 2000 ? 1e-4f : 1.0001f; // the free ones sway along their direction
			EXPECT_NEAR(home.x, p.x, drift) << "floater " << i;
			EXPECT_NEAR(home.y, p.y, drift) << "floater " << i;
			EXPECT_NEAR(home.z, p.z, drift) << "floater " << i;
			EXPECT_FLOAT_EQ(1.0f, gathered) << "floater " << i;

			const float free = ColonLayouts::placeFloater(floater, i, T2, 0.0f, p);
			const float twinkle = (float)std::sin((double)(floater.twinkleFrequency * T2 + floater.twinklePhase));
			EXPECT_FLOAT_EQ(i < 2000 ? twinkle : 1.0f, free) << "floater " << i;
			hiddenWhileFree += free <= 0.0f;
		}
	}
	// About half the gathering floaters are dark at any moment while they drift freely.
	EXPECT_GT(hiddenWhileFree, 2400);
	EXPECT_LT(hiddenWhileFree, 3600);
}

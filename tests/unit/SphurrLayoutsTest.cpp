// The sphere scene's layouts: reproducible field, tree order and spacing, satellites, inflation,
// track selection, and the inverse that finds the eye.
#include "Inverse.h"
#include "SphurrLayouts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace
{
	constexpr int recordCount = 400;

	struct Records
	{
		Tarn::List<Sphurr> spheres;
		Tarn::RandomState random = { 1, 2 };
		int treeCount = -1;

		Records()
		{
			for (int i = 0; i < recordCount; i++)
				spheres.add(Sphurr());
		}
	};

	float length(const Tarn::Vector3& v)
	{
		return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
	}

	float distance(const Tarn::Vector3& a, const Tarn::Vector3& b)
	{
		return length({ a.x - b.x, a.y - b.y, a.z - b.z });
	}

	// Fake track values, and the order in which the layout asked for them.
	struct FakeTracks
	{
		static float part, amount, phase, boom;
		static std::vector<std::string> reads;

		static float read(const char* name, float value)
		{
			reads.push_back(name);
			return value;
		}

		static void reset(float newPart)
		{
			part = newPart;
			amount = phase = boom = 0.0f;
			reads.clear();
		}

		static constexpr SphurrLayouts::Tracks tracks = {
			[] { return read("Sphurrs Part", part); },
			[] { return read("Sphurrs Rad Shit", amount); },
			[] { return read("Sphurrs Rad Shit Time", phase); },
			[] { return read("Sphurrs BOOM", boom); },
		};
	};
	float FakeTracks::part, FakeTracks::amount, FakeTracks::phase, FakeTracks::boom;
	std::vector<std::string> FakeTracks::reads;

	// The depth of each tree node in depth-first pre-order, and the index of its parent.
	void walkTree(int depth, int parent, std::vector<int>& depths, std::vector<int>& parents)
	{
		const int self = (int)depths.size();
		depths.push_back(depth);
		parents.push_back(parent);
		if (depth > 2)
			return;
		for (int k = 0; k < 3; k++)
			walkTree(depth + 1, self, depths, parents);
	}
}

TEST(SphurrLayouts, FieldIsBitIdenticalOnEveryFrame)
{
	Records first;
	SphurrLayouts::placeField(first.spheres, first.random);
	SphurrLayouts::pulseField(first.spheres, 0.7f, 2.5f);

	// Another frame with the generator left anywhere and stale records gives the same bits.
	Records second;
	second.random = { 999, 4242 };
	SphurrLayouts::buildTree(second.spheres, second.random, 3.0);
	SphurrLayouts::placeField(second.spheres, second.random);
	SphurrLayouts::pulseField(second.spheres, 0.7f, 2.5f);

	EXPECT_EQ(0, std::memcmp(&first.spheres[0], &second.spheres[0], sizeof(Sphurr) * recordCount));
}

TEST(SphurrLayouts, FieldPlacesFromTheSeed)
{
	Records records;
	SphurrLayouts::placeField(records.spheres, records.random);

	// The first three draws from (12345, 12346) are 0.78612626, 0.52647483 and 0.19553208: the
	// distance and the z and y direction components of record 0 (z from the second draw).
	const Sphurr& first = records.spheres[0];
	EXPECT_NEAR(0.78612626f * 16.0f, length(first.position), 1e-4f);
	EXPECT_NEAR((0.52647483f * 2 - 1) / (0.19553208f * 2 - 1), first.position.z / first.position.y, 1e-5f);

	for (int i = 0; i < recordCount; i++)
	{
		const Sphurr& sphere = records.spheres[i];
		EXPECT_LE(length(sphere.position), 16.0001f) << "record " << i;
		EXPECT_GE(sphere.baseRadius, 0.6f) << "record " << i;
		EXPECT_LE(sphere.baseRadius, 1.0f) << "record " << i;
	}
}

TEST(SphurrLayouts, FieldPulseTravelsWithDistance)
{
	Records records;
	SphurrLayouts::placeField(records.spheres, records.random);

	SphurrLayouts::pulseField(records.spheres, 0.0f, 1.3f);
	for (int i = 0; i < recordCount; i++)
		ASSERT_EQ(records.spheres[i].baseRadius, records.spheres[i].radius) << "amount 0 keeps record " << i;

	// Full amount: the crest of the wave (sine 1) keeps the base radius, the trough (sine -1)
	// shrinks it to nothing; half the amount stays halfway.
	const Sphurr& first = records.spheres[0];
	const float d = length(first.position);
	const float crest = 1.5707964f - d * 0.4f;
	SphurrLayouts::pulseField(records.spheres, 1.0f, crest);
	EXPECT_NEAR(first.baseRadius, first.radius, 1e-5f);
	SphurrLayouts::pulseField(records.spheres, 1.0f, crest + 3.1415927f);
	EXPECT_NEAR(0.0f, first.radius, 1e-5f);
	SphurrLayouts::pulseField(records.spheres, 0.5f, crest + 3.1415927f);
	EXPECT_NEAR(first.baseRadius * 0.5f, first.radius, 1e-5f);
}

TEST(SphurrLayouts, TreeAtTimeZeroBranchesAboutTheTiltedAxis)
{
	Records records;
	EXPECT_EQ(40, SphurrLayouts::buildTree(records.spheres, records.random, 0.0));

	const Tarn::List<Sphurr>& s = records.spheres;
	EXPECT_EQ(0.0f, length(s[0].position));
	EXPECT_EQ(3.0f, s[0].radius);
	// The root's children in pre-order are records 1, 14 and 27; the first is not turned at all.
	EXPECT_NEAR(0.0f, s[1].position.x, 1e-6f);
	EXPECT_NEAR(0.0f, s[1].position.y, 1e-6f);
	EXPECT_NEAR(4.2f, s[1].position.z, 1e-5f);
	for (int child : { 14, 27 })
	{
		EXPECT_NEAR(4.2f, length(s[child].position), 1e-5f) << "child " << child;
		const float cosine = (s[1].position.x * s[child].position.x + s[1].position.y * s[child].position.y + s[1].position.z * s[child].position.z) / (4.2f * 4.2f);
		EXPECT_NEAR(-0.5f, cosine, 1e-5f) << "child " << child << " is 120 degrees from the first";
		EXPECT_EQ(1.5f, s[child].radius);
	}
}

TEST(SphurrLayouts, TreeIsPreOrderWithSatellitesThenEmptyRecords)
{
	std::vector<int> depths, parents;
	walkTree(0, -1, depths, parents);
	ASSERT_EQ(40u, depths.size());

	Records records;
	Records later;
	const double times[] = { 0.7, 13.25 };
	SphurrLayouts::buildTree(records.spheres, records.random, times[0]);
	SphurrLayouts::buildTree(later.spheres, later.random, times[1]);

	for (Records* frame : { &records, &later })
	{
		const Tarn::List<Sphurr>& s = frame->spheres;
		for (int i = 0; i < 40; i++)
		{
			const float radius = 3.0f / (depths[i] + 1);
			EXPECT_EQ(radius, s[i].radius) << "node " << i;
			EXPECT_EQ(radius, s[i].baseRadius) << "node " << i;
			if (parents[i] >= 0)
			{
				EXPECT_NEAR(1.4f * s[parents[i]].radius, distance(s[i].position, s[parents[i]].position), 1e-4f) << "node " << i << " hangs off node " << parents[i];
			}
		}
		for (int i = 80; i < recordCount; i++)
		{
			EXPECT_EQ(0.0f, s[i].radius) << "record " << i;
			EXPECT_EQ(0.0f, length(s[i].position)) << "record " << i;
		}
	}

	// The tree spins with time; the satellites stay where they are.
	EXPECT_GT(distance(records.spheres[1].position, later.spheres[1].position), 0.1f);
	for (int i = 40; i < 80; i++)
	{
		EXPECT_GE(records.spheres[i].radius, 0.03f) << "satellite " << i;
		EXPECT_LE(records.spheres[i].radius, 0.2f) << "satellite " << i;
		EXPECT_EQ(0, std::memcmp(&records.spheres[i], &later.spheres[i], sizeof(Sphurr))) << "satellite " << i;
	}
}

TEST(SphurrLayouts, InflationTouchesTheFirstHalfOnly)
{
	Records records;
	SphurrLayouts::placeField(records.spheres, records.random);
	SphurrLayouts::pulseField(records.spheres, 0.0f, 0.0f);
	SphurrLayouts::inflate(records.spheres, 0.5f);
	for (int i = 0; i < recordCount; i++)
		EXPECT_EQ(records.spheres[i].baseRadius + (i < 200 ? 0.5f : 0.0f), records.spheres[i].radius) << "record " << i;
}

TEST(SphurrLayouts, PartTrackPicksTheLayoutByTruncation)
{
	Records records;

	// 0.9 and -0.5 truncate to the field: the pulse tracks are read after the positions.
	for (float part : { 0.9f, -0.5f })
	{
		FakeTracks::reset(part);
		SphurrLayouts::update(records.spheres, records.random, records.treeCount, 1.0, FakeTracks::tracks);
		const std::vector<std::string> fieldReads = { "Sphurrs Part", "Sphurrs Rad Shit", "Sphurrs Rad Shit Time", "Sphurrs BOOM" };
		EXPECT_EQ(fieldReads, FakeTracks::reads) << "part " << part;
		EXPECT_EQ(records.spheres[399].baseRadius, records.spheres[399].radius);
	}

	FakeTracks::reset(1.7f);
	SphurrLayouts::update(records.spheres, records.random, records.treeCount, 1.0, FakeTracks::tracks);
	const std::vector<std::string> treeReads = { "Sphurrs Part", "Sphurrs BOOM" };
	EXPECT_EQ(treeReads, FakeTracks::reads);
	EXPECT_EQ(40, records.treeCount);
	EXPECT_EQ(3.0f, records.spheres[0].radius);

	// 2.0 and -1.0 keep the records, and inflation adds to them again on every frame.
	for (float part : { 2.0f, -1.0f })
	{
		FakeTracks::reset(part);
		FakeTracks::boom = 0.25f;
		const float before = records.spheres[0].radius;
		const Tarn::Vector3 where = records.spheres[5].position;
		SphurrLayouts::update(records.spheres, records.random, records.treeCount, 9.0, FakeTracks::tracks);
		EXPECT_EQ(treeReads, FakeTracks::reads) << "part " << part;
		EXPECT_EQ(before + 0.25f, records.spheres[0].radius) << "part " << part;
		EXPECT_EQ(0, std::memcmp(&where, &records.spheres[5].position, sizeof where)) << "part " << part;
	}
}

TEST(Inverse, UndoesAViewMatrixAndFindsTheEye)
{
	Tarn::Matrix4 view;
	view.identity();
	view = Tarn::rotate(view, 23.0f, { 1.0f, 0.0f, 0.0f });
	view = Tarn::rotate(view, -71.0f, { 0.0f, 1.0f, 0.0f });
	// Translate by (3, -2, 25) after the rotations: the eye sits at minus that, rotated back.
	for (int row = 0; row < 4; row++)
		view[12 + row] = view[row] * 3.0f + view[4 + row] * -2.0f + view[8 + row] * 25.0f + view[12 + row];

	const Tarn::Matrix4 viewInverse = inverse(view);
	const Tarn::Matrix4 product = viewInverse * view;
	for (int i = 0; i < 16; i++)
		EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, product[i], 1e-5f) << "element " << i;

	// The eye maps to the origin of view space.
	const float eye[3] = { viewInverse[12], viewInverse[13], viewInverse[14] };
	for (int row = 0; row < 3; row++)
		EXPECT_NEAR(0.0f, view[row] * eye[0] + view[4 + row] * eye[1] + view[8 + row] * eye[2] + view[12 + row], 1e-4f) << "row " << row;
	EXPECT_NEAR(std::sqrt(9.0f + 4.0f + 625.0f), std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]), 1e-4f);
}

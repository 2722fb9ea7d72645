// The sphere scene's layouts: the seeded random field, the spinning tree and the inflation.
// Single and double precision are mixed exactly as written so every run gives the same bits.
#include "SphurrLayouts.h"

#include <cmath> // Required for: sqrt(), sin(), pow()

namespace SphurrLayouts
{
	namespace
	{
		constexpr int treeDepthLimit = 2; // nodes deeper than this get no children
		constexpr int satelliteCount = 40;

		void reseed(Tarn::RandomState& random)
		{
			random.z = seedZ;
			random.w = seedW;
		}

		float signedUnit(Tarn::RandomState& random)
		{
			return Tarn::nextRandom(random) * 2.0f - 1.0f;
		}

		// Four of a placement's five draws: a distance 0..16 along a direction taken from the cube
		// [-1, 1]^3 and normalised. The caller's fifth draw gives the radius.
		void placeRandomly(Sphurr& sphere, Tarn::RandomState& random)
		{
			const float distance = Tarn::randomRange(random, 0.0f, 16.0f);
			const float c2 = signedUnit(random);
			const float c3 = signedUnit(random);
			const float c4 = signedUnit(random);
			const float length = (float)std::sqrt((double)(c4 * c4 + c3 * c3 + c2 * c2));
			sphere.position = { c4 * distance / length, c3 * distance / length, c2 * distance / length };
		}

		struct TreeBuilder
		{
			Tarn::List<Sphurr>& spheres;
			double time;
			int count;

			void addNode(int depth, Tarn::Matrix4 frame)
			{
				const float radius = 3.0f / (float)(depth + 1);
				Sphurr& node = spheres[count];
				node.position = { frame[12], frame[13], frame[14] };
				node.radius = radius;
				node.baseRadius = radius;
				count++;
				if (depth > treeDepthLimit)
					return;

				// Each node spins in its own frame, so the whole tree tumbles at every level.
				frame = Tarn::rotate(frame, (float)(time * 12.0), { 0.0f, 0.0f, 1.0f });
				frame = Tarn::rotate(frame, (float)(time * 9.0), { 1.0f, 0.0f, 0.0f });
				frame = Tarn::rotate(frame, (float)(time * 15.0), { 0.0f, 1.0f, 0.0f });

				const float axisLength = (float)std::sqrt(1.64);
				const Tarn::Vector3 branchAxis = { 0.8f / axisLength, 1.0f / axisLength, 0.0f };
				const float reach = 1.4f * radius;
				for (int k = 0; k < 3; k++)
				{
					Tarn::Matrix4 child = Tarn::rotate(frame, (float)(120 * k), branchAxis);
					for (int row = 0; row < 4; row++)
						child[12 + row] += reach * child[8 + row];
					addNode(depth + 1, child);
				}
			}
		};
	}

	void placeField(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random)
	{
		reseed(random);
		for (int i = 0; i < spheres.getCount(); i++)
		{
			Sphurr& sphere = spheres[i];
			placeRandomly(sphere, random);
			// randomRange(0.6, 1.0) in single precision: the difference rounds to 0.39999998.
			sphere.baseRadius = Tarn::nextRandom(random) * 0.39999998f + 0.6f;
		}
	}

	void pulseField(Tarn::List<Sphurr>& spheres, float amount, float phase)
	{
		for (int i = 0; i < spheres.getCount(); i++)
		{
			Sphurr& sphere = spheres[i];
			const Tarn::Vector3& p = sphere.position;
			const float distance = (float)std::sqrt((double)(p.x * p.x + p.y * p.y + p.z * p.z));
			const float wave = (float)std::sin((double)(distance * 0.4f + phase));
			const float pulse = (float)std::pow((double)(wave * 0.5f + 0.5f), 6.0);
			sphere.radius = (pulse * amount + (1.0f - amount)) * sphere.baseRadius;
		}
	}

	int buildTree(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random, double time)
	{
		for (int i = 0; i < spheres.getCount(); i++)
		{
			spheres[i].position = { 0.0f, 0.0f, 0.0f };
			spheres[i].radius = 0.0f;
		}

		TreeBuilder tree = { spheres, time, 0 };
		Tarn::Matrix4 root;
		root.identity();
		tree.addNode(0, root);

		reseed(random);
		const int treeCount = tree.count;
		for (int i = treeCount; i < treeCount + satelliteCount && i < spheres.getCount(); i++)
		{
			Sphurr& satellite = spheres[i];
			placeRandomly(satellite, random);
			satellite.radius = satellite.baseRadius = Tarn::nextRandom(random) * 0.17f + 0.03f;
		}
		return treeCount;
	}

	void inflate(Tarn::List<Sphurr>& spheres, float boom)
	{
		for (int i = 0; i < spheres.getCount() / 2; i++)
			spheres[i].radius += boom;
	}

	void update(Tarn::List<Sphurr>& spheres, Tarn::RandomState& random, int& treeCount, double time, const Tracks& tracks)
	{
		const int layout = (int)tracks.part();
		if (layout == 0)
		{
			placeField(spheres, random);
			const float amount = tracks.pulseAmount();
			const float phase = tracks.pulsePhase();
			pulseField(spheres, amount, phase);
		}
		else if (layout == 1)
			treeCount = buildTree(spheres, random, time);

		inflate(spheres, tracks.boom());
	}
}

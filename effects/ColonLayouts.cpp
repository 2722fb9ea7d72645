// The column scene's layouts and per-frame arithmetic. Every value is formed in the precision
// and order written here, so the layout is the same bits on every run; one generator carries
// through rings, speeds, heights and floaters, so a missing or extra draw shifts all that follows.
#include "ColonLayouts.h"

#include <tarn/Random.h>

#include <cmath>   // Required for: sqrt(), sin(), pow()
#include <cstdint> // Required for: uint32_t

namespace ColonLayouts
{
	namespace
	{
		constexpr float fullTurn = 6.283184f;

		float signedUnit(Tarn::RandomState& random)
		{
			return Tarn::nextRandom(random) * 2.0f - 1.0f;
		}

		float length(float a, float b, float c)
		{
			return (float)std::sqrt((double)(a * a + b * b + c * c));
		}

		Ring makeRing(Tarn::RandomState& random)
		{
			Ring ring;
			ring.layer = (int)((uint32_t)Tarn::nextRandomInt(random) % 100u);
			ring.innerRadius = (float)(ring.layer + 4);
			// C++ remainders keep the dividend's sign: -7 .. 7 here, -2 .. 2 for the style.
			ring.outerRadius = (float)(Tarn::nextRandomInt(random) % 8) + ring.innerRadius + 0.8f;
			ring.startAngle = Tarn::randomRange(random, 0.0f, fullTurn);
			const float r = Tarn::randomRange(random, 0.0f, 1.0f);
			ring.endAngle = (float)std::pow((double)r, 2.0) * 0.3f + ring.startAngle + 0.1f;
			ring.delay = Tarn::randomRange(random, 0.0f, 0.7f) * (float)(100 - ring.layer) / 100.0f;
			const float m = Tarn::randomRange(random, 0.0f, 1.0f);
			ring.color[0] = (m * 1.0f + 0.0f) * 0.4f;
			ring.color[1] = (m * 0.65f + 0.35f) * 0.4f;
			ring.color[2] = (m * 0.6f + 0.4f) * 0.4f;
			ring.color[3] = (m * 0.0f + 1.0f) * 0.4f;
			ring.style = Tarn::nextRandomInt(random) % 3;
			return ring;
		}

		Floater makeFloater(Tarn::RandomState& random, bool gathered)
		{
			Floater floater;
			const float r1 = Tarn::nextRandom(random);
			const float r2 = Tarn::nextRandom(random);
			const float r3 = Tarn::nextRandom(random);
			floater.position = { r3 * 400.0f - 200.0f, r2 * 200.0f, r1 * 400.0f - 200.0f };

			const float a4 = signedUnit(random);
			const float a5 = signedUnit(random);
			const float a6 = signedUnit(random);
			const float inverse = 1.0f / length(a6, a5, a4);
			floater.direction = { a6 * inverse, a5 * inverse, a4 * inverse };

			floater.phase = Tarn::randomRange(random, 0.0f, fullTurn);
			floater.twinklePhase = Tarn::randomRange(random, 0.0f, fullTurn);
			floater.frequency = Tarn::nextRandom(random) * 0.9f + 0.1f;
			floater.twinkleFrequency = Tarn::nextRandom(random) * 0.9f + 0.1f;

			floater.target = { 0.0f, 0.0f, 0.0f };
			if (gathered)
			{
				const float a11 = signedUnit(random);
				const float a12 = signedUnit(random);
				const float a13 = signedUnit(random);
				const float n = length(a13, a12, a11);
				floater.target = { 10.0f * a13 / n, 10.0f * a12 / n + 40.0f, 10.0f * a11 / n };
				// Two more draws whose values the layout never used; every later value depends on them.
				Tarn::nextRandom(random);
				Tarn::nextRandom(random);
			}
			return floater;
		}
	}

	Layout build()
	{
		Tarn::RandomState random = { 1, 2 };
		Layout layout;

		layout.rings.reserve(ringCount);
		for (int i = 0; i < ringCount; i++)
			layout.rings.push_back(makeRing(random));

		layout.layerSpeeds.reserve(layerCount);
		for (int i = 0; i < layerCount; i++)
			layout.layerSpeeds.push_back(signedUnit(random));
		layout.layerHeights.reserve(layerCount);
		for (int i = 0; i < layerCount; i++)
			layout.layerHeights.push_back(signedUnit(random));

		// 3-unit bands with 1-unit gaps from -200 up, lighting one after another from the bottom.
		layout.bands.reserve(bandCount);
		for (int p = 0; p < bandCount; p++)
			layout.bands.push_back({ (float)(p - 50) * 4.0f, (float)p * 0.2f });

		layout.floaters.reserve(floaterCount);
		for (int i = 0; i < floaterCount; i++)
			layout.floaters.push_back(makeFloater(random, i < gatheredCount));
		return layout;
	}

	float flickerIn(float q)
	{
		if (q > 1.0f)
			return 1.0f;
		if (q > 0.8f)
			return (q - 0.8f) / 0.2f;
		if (q > 0.7f)
			return (int)((q - 0.7f) * 60.0f) % 2 == 1 ? 1.0f : 0.0f;
		return 0.0f; // not-a-number lands here too: every comparison above is false
	}

	float placeFloater(const Floater& floater, int index, float T2, float w, Tarn::Vector3& where)
	{
		const float o = (float)std::sin((double)(floater.frequency * T2 + floater.phase));
		Tarn::Vector3 p = { floater.position.x + floater.direction.x * o, floater.position.y + floater.direction.y * o,
			floater.position.z + floater.direction.z * o };
		float brightness = 1.0f;
		if (index < gatheredCount)
		{
			p = { p.x + (floater.target.x - p.x) * w, p.y + (floater.target.y - p.y) * w, p.z + (floater.target.z - p.z) * w };
			const float s = (float)std::sin((double)(floater.twinkleFrequency * T2 + floater.twinklePhase));
			brightness = (1.0f - s) * w + s;
		}
		where = p;
		return brightness;
	}
}

// Filters: a state-variable filter in trapezoidal (zero-delay feedback) form, which stays
// stable and click-free while its cutoff moves, a one-pole smoother and a plain biquad.
#pragma once

#include "Dsp.h"

#include <algorithm> // Required for: std::clamp
#include <cmath>     // Required for: std::tan

namespace Music
{
	class StateVariableFilter
	{
	public:
		struct Outputs
		{
			float low;
			float band;
			float high;
		};

		// resonance is the filter's Q: 0.707 flat, higher values ring at the cutoff.
		void set(double cutoffHertz, double resonance)
		{
			const double cutoff = std::clamp(cutoffHertz, 10.0, sampleRate * 0.45);
			const double g = std::tan(pi * cutoff / sampleRate);
			k = static_cast<float>(1.0 / resonance);
			a1 = static_cast<float>(1.0 / (1.0 + g * (g + k)));
			a2 = static_cast<float>(g) * a1;
			a3 = static_cast<float>(g) * a2;
		}

		Outputs process(float input)
		{
			const float v3 = input - state2;
			const float v1 = a1 * state1 + a2 * v3;
			const float v2 = state2 + a2 * state1 + a3 * v3;
			state1 = 2.0f * v1 - state1;
			state2 = 2.0f * v2 - state2;
			return {v2, v1, input - k * v1 - v2};
		}

	private:
		float k = 1.4f;
		float a1 = 0.0f;
		float a2 = 0.0f;
		float a3 = 0.0f;
		float state1 = 0.0f;
		float state2 = 0.0f;
	};

	class OnePoleLowpass
	{
	public:
		void set(double cutoffHertz) { coefficient = static_cast<float>(1.0 - std::exp(-2.0 * pi * cutoffHertz / sampleRate)); }

		float process(float input)
		{
			state += coefficient * (input - state);
			return state;
		}

	private:
		float coefficient = 1.0f;
		float state = 0.0f;
	};

	// Direct form I biquad with a0 normalised to 1; double precision for the loudness meter's
	// very low shelf, whose poles sit close to the unit circle.
	class Biquad
	{
	public:
		Biquad(double b0, double b1, double b2, double a1, double a2) : b0(b0), b1(b1), b2(b2), a1(a1), a2(a2) {}

		double process(double input)
		{
			const double output = b0 * input + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
			x2 = x1;
			x1 = input;
			y2 = y1;
			y1 = output;
			return output;
		}

	private:
		double b0, b1, b2, a1, a2;
		double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
	};
}

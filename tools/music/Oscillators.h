// Band-limited oscillators (PolyBLEP saw and pulse), a sine and a white-noise source.
#pragma once

#include "Dsp.h"

#include <tarn/Random.h> // Required for: Tarn::RandomState, Tarn::nextRandom

namespace Music
{
	// Smooths the step of a discontinuity at phase 0 over one sample either side, which removes
	// most of the aliasing a naive saw folds back into the audible band.
	inline double polyBlep(double phase, double increment)
	{
		if (phase < increment)
		{
			const double t = phase / increment;
			return t + t - t * t - 1.0;
		}
		if (phase > 1.0 - increment)
		{
			const double t = (phase - 1.0) / increment;
			return t * t + t + t + 1.0;
		}
		return 0.0;
	}

	class SawOscillator
	{
	public:
		explicit SawOscillator(double startPhase = 0.0) : phase(startPhase) {}

		void setFrequency(double hertz) { increment = hertz / sampleRate; }

		float next()
		{
			const double value = 2.0 * phase - 1.0 - polyBlep(phase, increment);
			advance();
			return static_cast<float>(value);
		}

	private:
		void advance()
		{
			phase += increment;
			if (phase >= 1.0)
				phase -= 1.0;
		}

		double phase;
		double increment = 0.0;
	};

	// A pulse as the difference of two saws half a cycle apart, band-limited like the saw.
	class PulseOscillator
	{
	public:
		explicit PulseOscillator(double startPhase = 0.0) : phase(startPhase) {}

		void setFrequency(double hertz) { increment = hertz / sampleRate; }

		float next()
		{
			double shifted = phase + 0.5;
			if (shifted >= 1.0)
				shifted -= 1.0;
			const double value = (phase < 0.5 ? 1.0 : -1.0) + polyBlep(phase, increment) - polyBlep(shifted, increment);
			phase += increment;
			if (phase >= 1.0)
				phase -= 1.0;
			return static_cast<float>(value);
		}

	private:
		double phase;
		double increment = 0.0;
	};

	class SineOscillator
	{
	public:
		explicit SineOscillator(double startPhase = 0.0) : phase(startPhase) {}

		float next(double hertz)
		{
			const double value = std::sin(2.0 * pi * phase);
			phase += hertz / sampleRate;
			if (phase >= 1.0)
				phase -= 1.0;
			return static_cast<float>(value);
		}

	private:
		double phase;
	};

	// White noise in [-1, 1] from the project's seeded generator: the same seed, the same hiss.
	class NoiseSource
	{
	public:
		explicit NoiseSource(unsigned seed) : state{seed * 2654435761u + 1u, seed ^ 0x9e3779b9u} {}

		float next() { return Tarn::nextRandom(state) * 2.0f - 1.0f; }

	private:
		Tarn::RandomState state;
	};
}

// A look-ahead peak limiter that works on the whole piece at once: it knows every peak in
// advance, so its gain is already down when a peak arrives and recovers smoothly after.
#pragma once

#include "StereoBuffer.h"

#include <vector> // Required for: std::vector

namespace Music
{
	class Limiter
	{
	public:
		Limiter(double ceiling, double lookAheadSeconds, double releaseSeconds);

		// The gain per frame that keeps gain * peaks[i] at or below the ceiling.
		std::vector<float> gainCurve(const std::vector<float>& peaks, float inputGain) const;

	private:
		double ceiling;
		double lookAheadSeconds;
		double releaseSeconds;
	};
}

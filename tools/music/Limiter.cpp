#include "Limiter.h"

#include "Dsp.h"

#include <algorithm> // Required for: std::min
#include <cmath>     // Required for: std::exp
#include <deque>     // Required for: std::deque

namespace Music
{
	Limiter::Limiter(double ceiling, double lookAheadSeconds, double releaseSeconds)
		: ceiling(ceiling), lookAheadSeconds(lookAheadSeconds), releaseSeconds(releaseSeconds)
	{
	}

	std::vector<float> Limiter::gainCurve(const std::vector<float>& peaks, float inputGain) const
	{
		const size_t frames = peaks.size();
		const size_t window = static_cast<size_t>(secondsToFrames(lookAheadSeconds)) + 1;
		std::vector<float> needed(frames);
		for (size_t i = 0; i < frames; i++)
		{
			const float level = peaks[i] * inputGain;
			needed[i] = level > ceiling ? static_cast<float>(ceiling / level) : 1.0f;
		}
		// Lowest need over the next window of frames (a running minimum kept in a deque).
		std::vector<float> ahead(frames);
		std::deque<size_t> candidates;
		for (size_t i = frames; i-- > 0;)
		{
			while (!candidates.empty() && needed[candidates.back()] >= needed[i])
				candidates.pop_back();
			candidates.push_back(i);
			while (candidates.front() >= i + window)
				candidates.pop_front();
			ahead[i] = needed[candidates.front()];
		}
		// Averaging over the same window turns each step down into a ramp that ends at the peak
		// still at or below its need, since every value averaged there already saw the peak.
		std::vector<float> gain(frames);
		double sum = 0.0;
		for (size_t i = 0; i < frames; i++)
		{
			sum += ahead[i];
			if (i >= window)
				sum -= ahead[i - window];
			const size_t count = std::min(i + 1, window);
			gain[i] = static_cast<float>(sum / static_cast<double>(count));
		}
		// Recover slowly: a fast release would make the gain itself audible as distortion.
		const float recover = static_cast<float>(1.0 - std::exp(-1.0 / (releaseSeconds * sampleRate)));
		float current = 1.0f;
		for (size_t i = 0; i < frames; i++)
		{
			current = gain[i] < current ? gain[i] : current + (gain[i] - current) * recover;
			gain[i] = current;
		}
		return gain;
	}
}

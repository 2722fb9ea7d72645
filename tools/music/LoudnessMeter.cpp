#include "LoudnessMeter.h"

#include "Dsp.h"
#include "Filters.h"

#include <algorithm> // Required for: std::max, std::min
#include <cmath>     // Required for: std::tan, std::pow, std::log10, std::sin, std::cos

namespace Music
{
	namespace
	{
		// The K-weighting pre-filter (a high shelf modelling the head) for any sample rate.
		Biquad headShelf()
		{
			const double f0 = 1681.974450955533, gain = 3.999843853973347, q = 0.7071752369554196;
			const double k = std::tan(pi * f0 / sampleRate);
			const double vh = std::pow(10.0, gain / 20.0);
			const double vb = std::pow(vh, 0.4996667741545416);
			const double a0 = 1.0 + k / q + k * k;
			return Biquad((vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
				2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0);
		}

		// The K-weighting high-pass (revised low-frequency B curve).
		Biquad lowCut()
		{
			const double f0 = 38.13547087602444, q = 0.5003270373238773;
			const double k = std::tan(pi * f0 / sampleRate);
			const double a0 = 1.0 + k / q + k * k;
			return Biquad(1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0);
		}

		constexpr int oversampling = 4;
		constexpr int halfWidth = 6; // taps either side of the interpolated point

		struct Interpolator
		{
			double taps[oversampling][2 * halfWidth];

			Interpolator()
			{
				for (int phase = 0; phase < oversampling; phase++)
					for (int tap = 0; tap < 2 * halfWidth; tap++)
					{
						// Tap for sample n + tap - halfWidth + 1 at position n + phase / oversampling.
						const double distance = (tap - halfWidth + 1) - static_cast<double>(phase) / oversampling;
						const double sinc = distance == 0.0 ? 1.0 : std::sin(pi * distance) / (pi * distance);
						const double window = 0.5 + 0.5 * std::cos(pi * distance / (halfWidth + 0.5));
						taps[phase][tap] = sinc * window;
					}
			}
		};
	}

	double integratedLoudness(const StereoBuffer& buffer, size_t from, size_t to)
	{
		to = std::min(to, buffer.frames());
		if (to <= from)
			return -200.0;
		// Mean square of the K-weighted signal per 100 ms; blocks are four of them, overlapping.
		const size_t quarter = sampleRate / 10;
		const std::vector<float>* channels[2] = {&buffer.left, &buffer.right};
		std::vector<double> energy((to - from) / quarter, 0.0);
		for (const std::vector<float>* channel : channels)
		{
			Biquad shelf = headShelf(), cut = lowCut();
			for (size_t i = from; i < from + energy.size() * quarter; i++)
			{
				const double weighted = cut.process(shelf.process((*channel)[i]));
				energy[(i - from) / quarter] += weighted * weighted;
			}
		}
		std::vector<double> blocks;
		for (size_t q = 3; q < energy.size(); q++)
			blocks.push_back((energy[q - 3] + energy[q - 2] + energy[q - 1] + energy[q]) / (4.0 * quarter));
		auto loudnessOf = [](double power) { return -0.691 + 10.0 * std::log10(std::max(power, 1e-30)); };
		auto gatedMean = [&](double gate) {
			double sum = 0.0;
			size_t count = 0;
			for (double power : blocks)
				if (loudnessOf(power) > gate)
					sum += power, count++;
			return count ? sum / count : 0.0;
		};
		const double ungated = gatedMean(-70.0);
		if (ungated <= 0.0)
			return -200.0;
		const double gated = gatedMean(loudnessOf(ungated) - 10.0);
		return gated > 0.0 ? loudnessOf(gated) : -200.0;
	}

	double integratedLoudness(const StereoBuffer& buffer)
	{
		return integratedLoudness(buffer, 0, buffer.frames());
	}

	std::vector<float> truePeakEnvelope(const StereoBuffer& buffer)
	{
		static const Interpolator interpolator;
		const size_t frames = buffer.frames();
		std::vector<float> envelope(frames, 0.0f);
		const std::vector<float>* channels[2] = {&buffer.left, &buffer.right};
		for (const std::vector<float>* channel : channels)
		{
			const float* samples = channel->data();
			for (size_t n = 0; n < frames; n++)
			{
				float peak = std::fabs(samples[n]);
				const bool inside = n + 1 >= static_cast<size_t>(halfWidth) && n + halfWidth < frames;
				for (int phase = 1; phase < oversampling; phase++)
				{
					double value = 0.0;
					for (int tap = 0; tap < 2 * halfWidth; tap++)
					{
						const long long at = static_cast<long long>(n) + tap - halfWidth + 1;
						if (inside || (at >= 0 && at < static_cast<long long>(frames)))
							value += interpolator.taps[phase][tap] * samples[at];
					}
					peak = std::max(peak, static_cast<float>(std::fabs(value)));
				}
				envelope[n] = std::max(envelope[n], peak);
			}
		}
		return envelope;
	}

	double truePeakDecibels(const StereoBuffer& buffer)
	{
		float peak = 0.0f;
		for (float value : truePeakEnvelope(buffer))
			peak = std::max(peak, value);
		return peak > 0.0f ? gainToDecibels(peak) : -200.0;
	}
}

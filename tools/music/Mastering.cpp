#include "Mastering.h"

#include "Filters.h"
#include "Limiter.h"
#include "LoudnessMeter.h"

#include <algorithm> // Required for: std::min, std::max
#include <cmath>     // Required for: std::cos

namespace Music
{
	namespace
	{
		void removeRumble(std::vector<float>& channel)
		{
			StateVariableFilter highpass;
			highpass.set(22.0, 0.7071);
			for (float& sample : channel)
				sample = highpass.process(sample).high;
		}

		// A raised-cosine fade from the score's fade bar to the very last frame.
		void fadeOut(const Score& score, StereoBuffer& mix)
		{
			if (score.fadeFromBar <= 0.0 || score.fadeFromBar >= score.lengthBars)
				return;
			const size_t from = static_cast<size_t>(score.barToFrame(score.fadeFromBar));
			const size_t to = mix.frames();
			for (size_t i = from; i < to; i++)
			{
				const double progress = static_cast<double>(i - from) / static_cast<double>(to - 1 - from);
				const float gain = static_cast<float>(0.5 + 0.5 * std::cos(pi * std::min(1.0, progress)));
				mix.left[i] *= gain;
				mix.right[i] *= gain;
			}
		}

		StereoBuffer applyGain(const StereoBuffer& mix, float inputGain, const std::vector<float>& curve)
		{
			StereoBuffer out(mix.frames());
			for (size_t i = 0; i < mix.frames(); i++)
			{
				out.left[i] = mix.left[i] * inputGain * curve[i];
				out.right[i] = mix.right[i] * inputGain * curve[i];
			}
			return out;
		}
	}

	MasteringReport masterMix(const Score& score, StereoBuffer& mix)
	{
		removeRumble(mix.left);
		removeRumble(mix.right);
		fadeOut(score, mix);
		const std::vector<float> peaks = truePeakEnvelope(mix);
		const Limiter limiter(decibelsToGain(score.truePeak), 0.003, 0.12);
		// Limiting lowers the loudness a little; a few rounds of measuring and correcting the
		// make-up gain settle on the target within a hundredth of a decibel or so.
		double gainDecibels = score.loudness - integratedLoudness(mix);
		StereoBuffer result;
		std::vector<float> curve;
		for (int round = 0; round < 6; round++)
		{
			curve = limiter.gainCurve(peaks, static_cast<float>(decibelsToGain(gainDecibels)));
			result = applyGain(mix, static_cast<float>(decibelsToGain(gainDecibels)), curve);
			const double error = score.loudness - integratedLoudness(result);
			if (std::fabs(error) < 0.02)
				break;
			gainDecibels += error;
		}
		mix = std::move(result);
		float deepest = 1.0f;
		for (float gain : curve)
			deepest = std::min(deepest, gain);
		return {gainDecibels, gainToDecibels(deepest), integratedLoudness(mix), truePeakDecibels(mix)};
	}
}

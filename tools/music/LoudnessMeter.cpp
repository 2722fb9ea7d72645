#include "LoudnessMeter.h"

#include "Dsp.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <ebur128.h>

#include <algorithm> // Required for: std::max, std::min
#include <cmath>     // Required for: std::isfinite
#include <memory>    // Required for: std::unique_ptr

namespace Music
{
	namespace
	{
		// libebur128's true-peak interpolator lags its input by fewer frames than this, so a
		// frame's peak shows in the report of its own block or of the next one.
		constexpr size_t peakBlock = 16;
		constexpr size_t loudnessBlock = 4096;

		struct MeterRelease
		{
			void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
		};
		using Meter = std::unique_ptr<ebur128_state, MeterRelease>;

		Meter openMeter(int mode)
		{
			Meter meter(ebur128_init(2, sampleRate, mode));
			if (!meter)
				throw Tarn::Exception("Could not start the loudness meter (libebur128)", "tools\\music", 0);
			return meter;
		}

		// Feeds frames [from, to), then one block of silence that flushes the interpolator, in
		// blocks of block frames; afterBlock(index) runs after each.
		template <typename AfterBlock>
		void feed(ebur128_state* meter, const StereoBuffer& buffer, size_t from, size_t to, size_t block, AfterBlock afterBlock)
		{
			std::vector<float> interleaved(2 * block);
			const size_t blocks = (to - from + block - 1) / block;
			for (size_t index = 0; index <= blocks; index++)
			{
				const size_t start = from + index * block;
				const size_t count = index < blocks ? std::min(block, to - start) : block;
				for (size_t i = 0; i < count; i++)
				{
					interleaved[2 * i] = index < blocks ? buffer.left[start + i] : 0.0f;
					interleaved[2 * i + 1] = index < blocks ? buffer.right[start + i] : 0.0f;
				}
				if (ebur128_add_frames_float(meter, interleaved.data(), count) != EBUR128_SUCCESS)
					throw Tarn::Exception("The loudness meter (libebur128) failed", "tools\\music", 0);
				afterBlock(index);
			}
		}

		// The larger of the two channels' peaks, as read by peakOf(meter, channel, &peak).
		double stereoPeak(ebur128_state* meter, int (*peakOf)(ebur128_state*, unsigned int, double*))
		{
			double left = 0.0, right = 0.0;
			peakOf(meter, 0, &left);
			peakOf(meter, 1, &right);
			return std::max(left, right);
		}
	}

	double integratedLoudness(const StereoBuffer& buffer, size_t from, size_t to)
	{
		to = std::min(to, buffer.frames());
		if (to <= from)
			return -200.0;
		const Meter meter = openMeter(EBUR128_MODE_I);
		feed(meter.get(), buffer, from, to, loudnessBlock, [](size_t) {});
		double loudness = -HUGE_VAL;
		ebur128_loudness_global(meter.get(), &loudness);
		return std::isfinite(loudness) ? loudness : -200.0;
	}

	double integratedLoudness(const StereoBuffer& buffer)
	{
		return integratedLoudness(buffer, 0, buffer.frames());
	}

	std::vector<float> truePeakEnvelope(const StereoBuffer& buffer)
	{
		const size_t frames = buffer.frames();
		std::vector<float> reports((frames + peakBlock - 1) / peakBlock + 1);
		const Meter meter = openMeter(EBUR128_MODE_TRUE_PEAK);
		feed(meter.get(), buffer, 0, frames, peakBlock,
			[&](size_t index) { reports[index] = static_cast<float>(stereoPeak(meter.get(), ebur128_prev_true_peak)); });
		std::vector<float> envelope(frames);
		for (size_t i = 0; i < frames; i++)
			envelope[i] = std::max(reports[i / peakBlock], reports[i / peakBlock + 1]);
		return envelope;
	}

	double truePeakDecibels(const StereoBuffer& buffer)
	{
		const Meter meter = openMeter(EBUR128_MODE_TRUE_PEAK);
		feed(meter.get(), buffer, 0, buffer.frames(), loudnessBlock, [](size_t) {});
		const double peak = stereoPeak(meter.get(), ebur128_true_peak);
		return peak > 0.0 ? gainToDecibels(peak) : -200.0;
	}
}

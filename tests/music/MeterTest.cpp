// The loudness meter, true-peak meter and limiter against signals whose answers are known.
#include "Limiter.h"
#include "Dsp.h"
#include "LoudnessMeter.h"

#include <gtest/gtest.h>

#include <cmath> // Required for: std::sin

namespace
{
	Music::StereoBuffer sine(double hertz, double amplitude, double phase, double seconds)
	{
		Music::StereoBuffer buffer(static_cast<size_t>(seconds * Music::sampleRate));
		for (size_t i = 0; i < buffer.frames(); i++)
		{
			const float value = static_cast<float>(amplitude * std::sin(2.0 * Music::pi * hertz * i / Music::sampleRate + phase));
			buffer.left[i] = value;
			buffer.right[i] = value;
		}
		return buffer;
	}
}

TEST(LoudnessMeter, ReadsTheReferenceToneAtItsLevel)
{
	// A 997 Hz tone at -20 dBFS in both channels of a stereo programme reads -20 LUFS.
	EXPECT_NEAR(Music::integratedLoudness(sine(997.0, 0.1, 0.0, 3.0)), -20.0, 0.1);
	// The K-weighting lifts the top: a 10 kHz tone of the same level reads louder.
	EXPECT_GT(Music::integratedLoudness(sine(10000.0, 0.1, 0.0, 3.0)), -19.0);
}

TEST(LoudnessMeter, GatesSilenceOut)
{
	Music::StereoBuffer tone = sine(997.0, 0.1, 0.0, 3.0);
	Music::StereoBuffer longer(tone.frames() * 3);
	std::copy(tone.left.begin(), tone.left.end(), longer.left.begin());
	std::copy(tone.right.begin(), tone.right.end(), longer.right.begin());
	// Ungated, two thirds of silence would pull the reading down to about -24.8 LUFS; the gates
	// keep all but the few blocks that straddle the tone's end.
	EXPECT_NEAR(Music::integratedLoudness(longer), -20.0, 0.3);
	EXPECT_EQ(Music::integratedLoudness(Music::StereoBuffer(44100)), -200.0);
}

TEST(TruePeakMeter, FindsThePeakBetweenSamples)
{
	// A quarter-rate tone shifted by 45 degrees: no sample lands on a crest, every one is at
	// 0.707 of it, yet the reconstructed wave reaches full amplitude.
	const Music::StereoBuffer tone = sine(Music::sampleRate / 4.0, 0.5, Music::pi / 4.0, 0.5);
	float samplePeak = 0.0f;
	for (float value : tone.left)
		samplePeak = std::max(samplePeak, std::fabs(value));
	EXPECT_NEAR(Music::gainToDecibels(samplePeak), -9.03, 0.05);
	EXPECT_NEAR(Music::truePeakDecibels(tone), -6.02, 0.3);
}

TEST(Limiter, HoldsPeaksAtTheCeilingAndLeavesQuietPartsAlone)
{
	std::vector<float> peaks(44100, 0.25f);
	for (size_t i = 20000; i < 20100; i++)
		peaks[i] = 2.0f;
	const Music::Limiter limiter(0.5, 0.003, 0.1);
	const std::vector<float> gain = limiter.gainCurve(peaks, 1.0f);
	for (size_t i = 0; i < peaks.size(); i++)
		ASSERT_LE(peaks[i] * gain[i], 0.5f + 1e-6f) << "over the ceiling at frame " << i;
	EXPECT_FLOAT_EQ(gain[1000], 1.0f);
	EXPECT_NEAR(gain[44000], 1.0f, 0.01f) << "the gain should have recovered";
	// The gain falls ahead of the peak as a ramp, not a step.
	EXPECT_LT(gain[19950], 1.0f);
	EXPECT_GT(gain[19950], 0.25f);
}

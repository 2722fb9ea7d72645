// Loudness and true peak as broadcast meters measure them (libebur128): K-weighted, gated
// integrated loudness in LUFS, and the peak of the signal oversampled four times, in dBTP.
#pragma once

#include "StereoBuffer.h"

#include <vector> // Required for: std::vector

namespace Music
{
	// Integrated loudness of frames [from, to) in LUFS; -200 for silence.
	double integratedLoudness(const StereoBuffer& buffer, size_t from, size_t to);
	double integratedLoudness(const StereoBuffer& buffer);

	// For each frame, a bound on the largest magnitude the reconstructed signal reaches, in either
	// channel, near that frame (within a block of 16 frames either side).
	std::vector<float> truePeakEnvelope(const StereoBuffer& buffer);

	// The true peak of the whole buffer, in dBTP; -200 for silence.
	double truePeakDecibels(const StereoBuffer& buffer);
}

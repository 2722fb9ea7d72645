// Masters the mix: removes DC and rumble, fades the end to silence, sets the loudness to the
// score's target and holds the true peak under its ceiling with the limiter.
#pragma once

#include "Score.h"
#include "StereoBuffer.h"

namespace Music
{
	struct MasteringReport
	{
		double gainDecibels;     // the make-up gain before the limiter
		double maxReduction;     // the limiter's deepest gain reduction, dB
		double loudness;         // integrated loudness of the result, LUFS
		double truePeak;         // true peak of the result, dBTP
	};

	MasteringReport masterMix(const Score& score, StereoBuffer& mix);
}

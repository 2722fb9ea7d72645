// Renders every instrument of a score and mixes them: level, pan and sidechain ducking per
// instrument, sends into the shared echo and reverb, their returns added to the dry mix.
#pragma once

#include "Score.h"
#include "StereoBuffer.h"

namespace Music
{
	StereoBuffer mixScore(const Score& score);
}

// A plate-like stereo reverb in the Schroeder-Moorer manner: eight damped comb filters and four
// all-pass filters per channel, the right channel's lines slightly longer for width.
#pragma once

#include "StereoBuffer.h"

namespace Music
{
	class Reverb
	{
	public:
		// size in [0, 1]: longer decay towards 1; damping in [0, 1]: darker tail towards 1.
		Reverb(double size, double damping, double preDelaySeconds);

		// Replaces the send in place by the reverberation it produces.
		void process(StereoBuffer& send) const;

	private:
		double size;
		double damping;
		double preDelaySeconds;
	};
}

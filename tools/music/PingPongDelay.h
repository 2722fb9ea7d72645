// A stereo echo that bounces between the channels, each repeat darker than the last.
#pragma once

#include "StereoBuffer.h"

namespace Music
{
	class PingPongDelay
	{
	public:
		PingPongDelay(double delaySeconds, double feedback, double dampingHertz);

		// Replaces the send in place by the echoes it produces.
		void process(StereoBuffer& send) const;

	private:
		double delaySeconds;
		double feedback;
		double dampingHertz;
	};
}

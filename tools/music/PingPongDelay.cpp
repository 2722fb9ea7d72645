#include "PingPongDelay.h"

#include "Filters.h"

#include <vector> // Required for: std::vector

namespace Music
{
	PingPongDelay::PingPongDelay(double delaySeconds, double feedback, double dampingHertz)
		: delaySeconds(delaySeconds), feedback(feedback), dampingHertz(dampingHertz)
	{
	}

	void PingPongDelay::process(StereoBuffer& send) const
	{
		const size_t length = static_cast<size_t>(secondsToFrames(delaySeconds));
		std::vector<float> lineLeft(length, 0.0f), lineRight(length, 0.0f);
		OnePoleLowpass dampLeft, dampRight;
		dampLeft.set(dampingHertz);
		dampRight.set(dampingHertz);
		const float amount = static_cast<float>(feedback);
		size_t at = 0;
		for (size_t i = 0; i < send.frames(); i++)
		{
			const float echoLeft = lineLeft[at];
			const float echoRight = lineRight[at];
			// The input enters on the left only; the right line is fed by the left's repeats.
			const float input = 0.5f * (send.left[i] + send.right[i]);
			lineLeft[at] = input + dampLeft.process(echoRight) * amount;
			lineRight[at] = dampRight.process(echoLeft);
			send.left[i] = echoLeft;
			send.right[i] = echoRight;
			at = at + 1 == length ? 0 : at + 1;
		}
	}
}

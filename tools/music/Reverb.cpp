#include "Reverb.h"

#include "Dsp.h"
#include "Filters.h"

#include <vector> // Required for: std::vector

namespace Music
{
	namespace
	{
		class DampedComb
		{
		public:
			DampedComb(size_t length, float feedback, float damping) : line(length, 0.0f), feedback(feedback), damping(damping) {}

			float process(float input)
			{
				const float output = line[at];
				filtered = output * (1.0f - damping) + filtered * damping;
				line[at] = input + filtered * feedback;
				at = at + 1 == line.size() ? 0 : at + 1;
				return output;
			}

		private:
			std::vector<float> line;
			float feedback;
			float damping;
			float filtered = 0.0f;
			size_t at = 0;
		};

		class AllPass
		{
		public:
			explicit AllPass(size_t length) : line(length, 0.0f) {}

			float process(float input)
			{
				const float delayed = line[at];
				line[at] = input + delayed * 0.5f;
				at = at + 1 == line.size() ? 0 : at + 1;
				return delayed - input;
			}

		private:
			std::vector<float> line;
			size_t at = 0;
		};

		// Line lengths in samples at 44.1 kHz, mutually prime enough not to ring together.
		const size_t combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
		const size_t allPassLengths[4] = {556, 441, 341, 225};
		const size_t stereoSpread = 23;

		class Channel
		{
		public:
			Channel(size_t spread, float feedback, float damping)
			{
				for (size_t length : combLengths)
					combs.emplace_back(length + spread, feedback, damping);
				for (size_t length : allPassLengths)
					allPasses.emplace_back(length + spread);
			}

			float process(float input)
			{
				float sum = 0.0f;
				for (DampedComb& comb : combs)
					sum += comb.process(input);
				for (AllPass& allPass : allPasses)
					sum = allPass.process(sum);
				return sum;
			}

		private:
			std::vector<DampedComb> combs;
			std::vector<AllPass> allPasses;
		};
	}

	Reverb::Reverb(double size, double damping, double preDelaySeconds)
		: size(size), damping(damping), preDelaySeconds(preDelaySeconds)
	{
	}

	void Reverb::process(StereoBuffer& send) const
	{
		const float feedback = static_cast<float>(0.7 + 0.28 * size);
		const float damp = static_cast<float>(0.4 * damping);
		Channel left(0, feedback, damp), right(stereoSpread, feedback, damp);
		const size_t preDelay = static_cast<size_t>(secondsToFrames(preDelaySeconds)) + 1;
		std::vector<float> delayLine(preDelay, 0.0f);
		// Low end in a reverb only muddies the mix; the send loses it before the tank.
		StateVariableFilter lowCut;
		lowCut.set(220.0, 0.7);
		size_t at = 0;
		const float inputGain = 0.03f;
		for (size_t i = 0; i < send.frames(); i++)
		{
			const float input = delayLine[at];
			delayLine[at] = lowCut.process(0.5f * (send.left[i] + send.right[i])).high;
			at = at + 1 == preDelay ? 0 : at + 1;
			send.left[i] = left.process(input * inputGain);
			send.right[i] = right.process(input * inputGain);
		}
	}
}

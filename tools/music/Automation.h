// A parameter's course over the piece: straight lines between points, held before the first and
// after the last. Cutoffs travel geometrically, so an octave takes as long low as high.
#pragma once

#include "Score.h"

#include <vector> // Required for: std::vector

namespace Music
{
	class Automation
	{
	public:
		// An automation that always yields its constant.
		explicit Automation(double constant = 0.0);
		Automation(const Score& score, const AutomationLane& lane);

		double valueAtFrame(int64_t frame) const;
		bool isConstant() const { return frames.size() <= 1; }

	private:
		std::vector<int64_t> frames;
		std::vector<double> values;
		bool geometric = false;
	};
}

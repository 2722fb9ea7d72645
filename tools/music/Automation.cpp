#include "Automation.h"

#include <algorithm> // Required for: std::upper_bound, std::max
#include <cmath>     // Required for: std::log, std::exp

namespace Music
{
	Automation::Automation(double constant) : frames{0}, values{constant}
	{
	}

	Automation::Automation(const Score& score, const AutomationLane& lane) : geometric(lane.parameter == "cutoff")
	{
		for (const AutomationPoint& point : lane.points)
		{
			frames.push_back(score.barToFrame(point.bar));
			values.push_back(geometric ? std::log(std::max(point.value, 1.0)) : point.value);
		}
	}

	double Automation::valueAtFrame(int64_t frame) const
	{
		double value = values.back();
		const auto after = std::upper_bound(frames.begin(), frames.end(), frame);
		if (after == frames.begin())
			value = values.front();
		else if (after != frames.end())
		{
			const size_t next = static_cast<size_t>(after - frames.begin());
			const double span = static_cast<double>(frames[next] - frames[next - 1]);
			const double blend = span > 0.0 ? static_cast<double>(frame - frames[next - 1]) / span : 1.0;
			value = values[next - 1] + (values[next] - values[next - 1]) * blend;
		}
		return geometric ? std::exp(value) : value;
	}
}

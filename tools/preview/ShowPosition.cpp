#include "ShowPosition.h"


#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ShowPosition
{
	namespace
	{
		// The clock's resolution: a position this close to a grid line is on it.
		const double onLineTolerance = 0.001;

		bool parseNumber(const std::string& text, double& value)
		{
			if (text.empty())
				return false;
			char* end = nullptr;
			value = std::strtod(text.c_str(), &end);
			return *end == '\0' && std::isfinite(value);
		}
	}

	double secondsAtBar(double bar)
	{
		return Meter::secondsAt(Meter::rowAtBar(bar));
	}

	std::string formatBarBeat(double seconds)
	{
		const long beats = (long)std::floor((seconds + onLineTolerance) / secondsPerBeat);
		return Meter::formatBarBeat((int32_t)(beats * Show::rowsPerBeat));
	}

	double stepOnGrid(double seconds, int count, double step, double end)
	{
		const double tolerance = onLineTolerance / step;
		const double lines = seconds / step;
		double target;
		if (count > 0)
			target = (std::floor(lines + tolerance) + count) * step;
		else if (count < 0)
			target = (std::ceil(lines - tolerance) + count) * step;
		else
			target = seconds;
		return std::fmin(std::fmax(target, 0.0), end);
	}

	double wrapIntoLoop(double seconds, double from, double to)
	{
		if (seconds < to || to <= from)
			return seconds;
		return from + std::fmod(seconds - from, to - from);
	}

	bool parse(const std::string& text, double& seconds)
	{
		double value = 0.0;
		const size_t colon = text.find(':');
		if (!text.empty() && text.back() == 's')
		{
			if (!parseNumber(text.substr(0, text.size() - 1), value))
				return false;
		}
		else if (colon != std::string::npos)
		{
			int32_t row = 0;
			std::string reason;
			if (!Meter::parseBarBeat(text, row, reason))
				return false;
			value = Meter::secondsAt(row);
		}
		else
		{
			if (!parseNumber(text, value))
				return false;
			value = secondsAtBar(value);
		}
		if (value < 0.0)
			return false;
		seconds = value;
		return true;
	}
}

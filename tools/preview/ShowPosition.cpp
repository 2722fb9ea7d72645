#include "ShowPosition.h"

#include "Show.h"

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

	double rowAt(double seconds)
	{
		return seconds * Show::rowsPerSecond;
	}

	double secondsAtBar(double bar)
	{
		return bar * secondsPerBar;
	}

	BarBeat barBeatAt(double seconds)
	{
		const long beats = (long)std::floor((seconds + onLineTolerance) / secondsPerBeat);
		return { (int)(beats / Show::beatsPerBar), (int)(beats % Show::beatsPerBar) };
	}

	std::string formatBarBeat(double seconds)
	{
		const BarBeat position = barBeatAt(seconds);
		char text[32];
		std::snprintf(text, sizeof text, "%d:%d", position.bar, position.beat);
		return text;
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
			double bar = 0.0;
			double beat = 0.0;
			if (!parseNumber(text.substr(0, colon), bar) || !parseNumber(text.substr(colon + 1), beat) || beat < 0.0 || beat >= Show::beatsPerBar)
				return false;
			value = secondsAtBar(bar) + beat * secondsPerBeat;
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

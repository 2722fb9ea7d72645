#include "Meter.h"

#include <cstdio> // Required for: snprintf()

namespace Meter
{
	namespace
	{
		bool isDigit(char c)
		{
			return c >= '0' && c <= '9';
		}

		// A whole number of at most nine digits.
		bool parseWhole(const std::string& text, int64_t& number)
		{
			if (text.empty() || text.size() > 9)
				return false;
			number = 0;
			for (char c : text)
			{
				if (!isDigit(c))
					return false;
				number = number * 10 + (c - '0');
			}
			return true;
		}
	}

	double rowAt(double seconds)
	{
		return seconds * Show::rowsPerSecond;
	}

	double secondsAt(double row)
	{
		return row / Show::rowsPerSecond;
	}

	double rowAtBar(double bar)
	{
		return bar * Show::rowsPerBar;
	}

	bool parseBarBeat(const std::string& text, int32_t& row, std::string& reason)
	{
		const size_t colon = text.find(':');
		const size_t dot = text.find('.', colon);
		int64_t bar = 0;
		int64_t whole = 0;
		int64_t fraction = 0;
		int64_t denominator = 1;
		const std::string fractionText = dot == std::string::npos ? "" : text.substr(dot + 1);
		if (colon == std::string::npos || !parseWhole(text.substr(0, colon), bar) ||
			!parseWhole(text.substr(colon + 1, dot == std::string::npos ? std::string::npos : dot - colon - 1), whole) ||
			(dot != std::string::npos && !parseWhole(fractionText, fraction)))
		{
			reason = "position \"" + text + "\" is not bar:beat (a bar number, a colon and a beat such as 4:2.5)";
			return false;
		}
		for (size_t i = 0; i < fractionText.size(); i++)
			denominator *= 10;
		if (whole >= Show::beatsPerBar)
		{
			reason = "position \"" + text + "\": a bar has beats 0 to " + std::to_string(Show::beatsPerBar - 1) + ".x";
			return false;
		}
		const int64_t numerator = whole * denominator + fraction;
		if ((numerator * Show::rowsPerBeat) % denominator != 0)
		{
			reason = "position \"" + text + "\" does not land on a whole row (a row is 1/" + std::to_string(Show::rowsPerBeat) + " beat)";
			return false;
		}
		const int64_t wholeRow = bar * Show::rowsPerBar + numerator * Show::rowsPerBeat / denominator;
		if (wholeRow > INT32_MAX)
		{
			reason = "position \"" + text + "\" lies beyond the last row a track can hold";
			return false;
		}
		row = (int32_t)wholeRow;
		return true;
	}

	std::string formatBarBeat(int32_t row)
	{
		int64_t bar = row / Show::rowsPerBar;
		int64_t inBar = row % Show::rowsPerBar;
		if (inBar < 0)
		{
			inBar += Show::rowsPerBar;
			bar--;
		}
		// A row is an eighth of a beat: "%g" writes it exactly.
		char text[48];
		std::snprintf(text, sizeof text, "%lld:%g", (long long)bar, (double)inBar / Show::rowsPerBeat);
		return text;
	}
}

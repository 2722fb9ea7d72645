#include "TrackSyntax.h"

#include <Meter.h>

#include <charconv> // Required for: to_chars()
#include <cerrno>  // Required for: errno, ERANGE
#include <cmath>   // Required for: fabsf(), isfinite()
#include <cstdio>  // Required for: snprintf()
#include <cstdlib> // Required for: strtof()
#include <cstring> // Required for: strchr()

namespace
{
	bool isDigit(char c)
	{
		return c >= '0' && c <= '9';
	}

	// Digits from text[at], at least one; advances at.
	bool skipDigits(const std::string& text, size_t& at)
	{
		const size_t start = at;
		while (at < text.size() && isDigit(text[at]))
			at++;
		return at > start;
	}

	// [+-]digits[.digits][e[+-]digits], nothing else: no hexadecimal, "inf" or "nan".
	bool isDecimal(const std::string& text)
	{
		size_t at = 0;
		if (at < text.size() && (text[at] == '+' || text[at] == '-'))
			at++;
		if (!skipDigits(text, at))
			return false;
		if (at < text.size() && text[at] == '.')
		{
			at++;
			if (!skipDigits(text, at))
				return false;
		}
		if (at < text.size() && (text[at] == 'e' || text[at] == 'E'))
		{
			at++;
			if (at < text.size() && (text[at] == '+' || text[at] == '-'))
				at++;
			if (!skipDigits(text, at))
				return false;
		}
		return at == text.size();
	}

	// A whole number of rows from a signed decimal integer, within 32 bits.
	bool parseRow(const std::string& text, int64_t& row)
	{
		size_t at = 0;
		const bool negative = !text.empty() && text[0] == '-';
		if (negative || (!text.empty() && text[0] == '+'))
			at++;
		if (at == text.size())
			return false;
		int64_t magnitude = 0;
		for (; at < text.size(); at++)
		{
			if (!isDigit(text[at]))
				return false;
			magnitude = magnitude * 10 + (text[at] - '0');
			if (magnitude > (int64_t)INT32_MAX + 1)
				return false;
		}
		row = negative ? -magnitude : magnitude;
		return row >= INT32_MIN && row <= INT32_MAX;
	}
}

bool parsePosition(const std::string& text, int32_t& row, std::string& reason)
{
	const size_t colon = text.find(':');
	if (colon == std::string::npos)
	{
		int64_t wholeRow = 0;
		if (!parseRow(text, wholeRow))
		{
			reason = "position \"" + text + "\" is neither a row nor bar:beat";
			return false;
		}
		row = (int32_t)wholeRow;
		return true;
	}

	return Meter::parseBarBeat(text, row, reason);
}

bool parseValue(const std::string& text, float& value, std::string& reason)
{
	if (!isDecimal(text))
	{
		reason = "value \"" + text + "\" is not a decimal number";
		return false;
	}
	errno = 0;
	value = std::strtof(text.c_str(), nullptr);
	// Underflow to a subnormal or zero is fine; overflow to infinity is not.
	if (!std::isfinite(value) || (errno == ERANGE && std::fabs(value) > 1.0f))
	{
		reason = "value \"" + text + "\" does not fit a float";
		return false;
	}
	return true;
}

bool parseKeyType(const std::string& text, SyncKeyType& type)
{
	for (int candidate = Step; candidate <= Ramp; candidate++)
		if (text == keyTypeName(candidate))
		{
			type = (SyncKeyType)candidate;
			return true;
		}
	return false;
}

const char* keyTypeName(int32_t type)
{
	switch (type)
	{
	case Step:
		return "step";
	case Linear:
		return "linear";
	case Smooth:
		return "smooth";
	case Ramp:
		return "ramp";
	default:
		return nullptr;
	}
}

bool checkTrackName(const std::string& name, std::string& reason)
{
	// "Data/" + "_" + name + ".track" must fit the player's 260-byte path buffer.
	const size_t longestName = 259 - std::string("Data/_.track").size();
	if (name.empty())
	{
		reason = "a track needs a name";
		return false;
	}
	if (name.size() > longestName)
	{
		reason = "track name is " + std::to_string(name.size()) + " bytes long; at most " + std::to_string(longestName) + " fit the track file path";
		return false;
	}
	for (unsigned char c : name)
		if (c < 0x20 || c == 0x7F || std::strchr("/\\<>:\"|?*", c))
		{
			char shown[8];
			std::snprintf(shown, sizeof shown, c < 0x20 || c == 0x7F ? "0x%02X" : "'%c'", c);
			reason = "track name \"" + name + "\" contains " + shown + ", which a file name cannot hold";
			return false;
		}
	if (name.back() == '.' || name.back() == ' ')
	{
		reason = "track name \"" + name + "\" ends in a dot or space, which a file name cannot";
		return false;
	}
	return true;
}

const char* formatValue(float value, ValueText& text)
{
	// Fixed notation, never "7e+01", with the fewest digits that read back as this float.
	const std::to_chars_result written = std::to_chars(text.data(), text.data() + text.size() - 1, value, std::chars_format::fixed);
	*written.ptr = '\0';
	return text.data();
}

std::string formatValue(float value)
{
	ValueText text;
	return formatValue(value, text);
}

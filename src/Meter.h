// The show's meter as arithmetic and text: rows at a time and times at a row, the last row of the
// show, and the one "bar:beat" notation ("14:2", "4:0.375"; bar and beat counted from 0) that the
// track files, the preview and the section table read and write.
#pragma once

#include "Show.h"

#include <cstdint> // Required for: int32_t
#include <string>

namespace Meter
{
	double rowAt(double seconds);
	double secondsAt(double row);
	double rowAtBar(double bar);

	// The last whole row the show reaches: the last a key can usefully sit on.
	constexpr int32_t lastRow = (int32_t)(Show::length * Show::rowsPerSecond);

	// "bar:beat" with a beat of up to nine decimals that lands on a whole row; false with the
	// reason for anything else (a negative bar, beat 4 or more, a fraction of a row).
	bool parseBarBeat(const std::string& text, int32_t& row, std::string& reason);
	// The row as "bar:beat", the beat with as many decimals as it needs ("4:0.375" for row 131).
	std::string formatBarBeat(int32_t row);
}

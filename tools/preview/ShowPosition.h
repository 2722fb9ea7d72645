// Positions in the show: seconds of music, rows, bars and beats (the meter of Show.h), the beat
// grid that stepping snaps to, and the wrap of a looped stretch.
#pragma once

#include "Show.h"

#include <string>

namespace ShowPosition
{
	using Show::secondsPerBar;
	using Show::secondsPerBeat;

	double rowAt(double seconds);
	double secondsAtBar(double bar);

	// Bar and beat as the track files write them, both counted from 0: "14:2" is bar 14, beat 2.
	struct BarBeat
	{
		int bar;
		int beat;
	};
	BarBeat barBeatAt(double seconds);
	std::string formatBarBeat(double seconds);

	// The beat (or bar) line count steps away on the grid of step seconds: forward goes to the
	// next line after seconds, backward to the one before it. The music clock reads whole
	// milliseconds, so a position within a millisecond of a line counts as on it. The result
	// lies within [0, end].
	double stepOnGrid(double seconds, int count, double step, double end);

	// The position of a looped stretch [from, to): a position at or past to comes back by whole
	// turns of the loop; anything before to is left alone.
	double wrapIntoLoop(double seconds, double from, double to);

	// Reads a position: "14" is bar 14, "14:2" bar 14 beat 2, "26.25s" seconds. False for
	// anything else, and for negative positions.
	bool parse(const std::string& text, double& seconds);
}

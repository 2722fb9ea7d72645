// Positions in the show: seconds of music, rows, bars and beats (the meter of Show.h), the beat
// grid that stepping snaps to, and the wrap of a looped stretch.
#pragma once

#include "Meter.h"

#include <string>

namespace ShowPosition
{
	using Show::secondsPerBar;
	using Show::secondsPerBeat;

	double secondsAtBar(double bar);

	// The whole beat at seconds in the track files' bar:beat ("14:2"); a position within the
	// clock's millisecond of a beat counts as on it.
	std::string formatBarBeat(double seconds);

	// The beat (or bar) line count steps away on the grid of step seconds: forward goes to the
	// next line after seconds, backward to the one before it. The music clock reads whole
	// milliseconds, so a position within a millisecond of a line counts as on it. The result
	// lies within [0, end].
	double stepOnGrid(double seconds, int count, double step, double end);

	// The position of a looped stretch [from, to): a position at or past to comes back by whole
	// turns of the loop; anything before to is left alone.
	double wrapIntoLoop(double seconds, double from, double to);

	// Reads a position on the command line: a bare number is a bar ("14"; in a .tracks file it
	// is a row), "14:2" bar 14 beat 2 (the track files' bar:beat), "26.25s" seconds. False for
	// anything else, and for negative positions.
	bool parse(const std::string& text, double& seconds);
}

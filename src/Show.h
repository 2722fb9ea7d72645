// The show's fixed facts, shared by the program, its tools and the tests: its length, its music
// and the meter that turns music time into sync rows, beats and bars.
#pragma once

namespace Show
{
	// The show ends when the music clock reaches this many seconds.
	constexpr double length = 70.8;

	constexpr const char* musicPath = "Data/wenlo-pirrow_drumlow.mp3";

	// 1024 rows a minute: at 128 BPM in 4/4 one beat is 8 rows and one bar 32.
	constexpr double rowsPerSecond = 17.066666666666666;
	constexpr int rowsPerBeat = 8;
	constexpr int beatsPerBar = 4;
	constexpr int rowsPerBar = rowsPerBeat * beatsPerBar;
	constexpr double beatsPerMinute = rowsPerSecond * 60.0 / rowsPerBeat;
	constexpr double secondsPerBeat = rowsPerBeat / rowsPerSecond; // 0.46875 s
	constexpr double secondsPerBar = rowsPerBar / rowsPerSecond;   // 1.875 s
}

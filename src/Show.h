// The show's fixed facts, shared by the program, the render tool and the preview.
#pragma once

namespace Show
{
	// The show ends when the music clock reaches this many seconds.
	constexpr double length = 70.8;

	// 1024 rows a minute: at 128 BPM one beat is 8 rows and one bar 32.
	constexpr double rowsPerSecond = 17.066666666666666;

	constexpr const char* musicPath = "Data/wenlo-pirrow_drumlow.mp3";
}

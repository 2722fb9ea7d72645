// The preview's command line: window size, where to start, the loop, and where the sources are.
#pragma once

#include <string>

namespace CLI
{
	class App;
}

struct PreviewOptions
{
	int width = 1280;
	int height = 720;
	double start = 0.0; // seconds
	bool loop = false;
	double loopFrom = 0.0;
	double loopTo = 0.0;
	bool paused = false;
	bool overlay = true;
	std::string sources; // the source tree holding show/ and Data/
};

// Declares every option on app, bound to options. A start outside the show, or a loop that is
// empty or leaves the show, is refused; a loop's end past the show's end is cut to it. Without
// --at or --bar a loop starts at its beginning.
void addPreviewOptions(CLI::App& app, PreviewOptions& options);

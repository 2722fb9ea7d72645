#include "PreviewOptions.h"

#include "RenderOptions.h" // Required for: parseSize
#include "Settings.h"
#include "Show.h"
#include "ShowPosition.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* previewUsage()
{
	return "usage: halvorine-preview [options]\n"
		   "  runs in the folder holding Data/: the working directory, else the tool's, else the installed one\n"
		   "options:\n"
		   "  --size WxH        window size (default 1280x720)\n"
		   "  --resolution N    a row of the setup dialog: 0 = 1920x1080, 1 = 1280x720, 2 = 1024x768\n"
		   "  --at SECONDS      start at that music time\n"
		   "  --bar N           start at bar N (one bar is 32 rows, 1.875 s)\n"
		   "  --loop FROM TO    repeat that stretch: bars (14), bar:beat (14:2) or seconds (26.25s)\n"
		   "  --paused          start paused\n"
		   "  --no-overlay      start with the overlay hidden\n"
		   "  --sources DIR     the source tree whose show/ and Data/ are watched\n"
		   "keys: Space pause, Left/Right a beat (Shift: a bar), Home start, L loop the section,\n"
		   "      Tab overlay, Escape quit\n";
}

namespace
{
	bool parseSeconds(const char* text, double& seconds)
	{
		char* end = nullptr;
		seconds = std::strtod(text, &end);
		return end != text && *end == '\0' && std::isfinite(seconds);
	}
}

bool parsePreviewOptions(int argc, char** argv, PreviewOptions& options, std::string& error)
{
	bool haveStart = false;
	for (int i = 1; i < argc; i++)
	{
		const std::string argument = argv[i];
		// Every option but the flags takes values: count them before reading.
		auto needs = [&](int count) {
			if (i + count < argc)
				return true;
			error = argument + " needs " + (count == 1 ? "a value" : "two values");
			return false;
		};
		if (argument == "--paused")
			options.paused = true;
		else if (argument == "--no-overlay")
			options.overlay = false;
		else if (argument == "--size")
		{
			if (!needs(1))
				return false;
			if (!parseSize(argv[++i], options.width, options.height))
			{
				error = std::string("--size \"") + argv[i] + "\" is not WxH between 16 and 8192";
				return false;
			}
		}
		else if (argument == "--resolution")
		{
			if (!needs(1))
				return false;
			const std::string row = argv[++i];
			if (row != "0" && row != "1" && row != "2")
			{
				error = "--resolution \"" + row + "\" is not 0, 1 or 2";
				return false;
			}
			options.width = resolutions[row[0] - '0'].width;
			options.height = resolutions[row[0] - '0'].height;
		}
		else if (argument == "--at" || argument == "--bar")
		{
			if (!needs(1))
				return false;
			double value = 0.0;
			if (!parseSeconds(argv[++i], value))
			{
				error = argument + " \"" + argv[i] + "\" is not a number";
				return false;
			}
			options.start = argument == "--bar" ? ShowPosition::secondsAtBar(value) : value;
			haveStart = true;
		}
		else if (argument == "--loop")
		{
			if (!needs(2))
				return false;
			const char* from = argv[++i];
			const char* to = argv[++i];
			if (!ShowPosition::parse(from, options.loopFrom) || !ShowPosition::parse(to, options.loopTo))
			{
				error = std::string("--loop \"") + from + "\" \"" + to + "\": each must be a bar (14), bar:beat (14:2) or seconds (26.25s)";
				return false;
			}
			options.loop = true;
		}
		else if (argument == "--sources")
		{
			if (!needs(1))
				return false;
			options.sources = argv[++i];
		}
		else
		{
			error = "unknown option \"" + argument + "\"";
			return false;
		}
	}

	if (options.start < 0.0 || options.start >= Show::length)
	{
		error = "the start lies outside the show (0 to 70.8 s)";
		return false;
	}
	if (options.loop)
	{
		options.loopTo = std::fmin(options.loopTo, Show::length);
		if (options.loopFrom >= options.loopTo)
		{
			error = "the loop must start before it ends, within the show (0 to 70.8 s)";
			return false;
		}
		if (!haveStart)
			options.start = options.loopFrom;
	}
	return true;
}

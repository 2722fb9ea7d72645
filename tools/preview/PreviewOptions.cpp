#include "PreviewOptions.h"

#include "CommandLine.h"
#include "Show.h"
#include "PanelKeys.h"
#include "ShowPosition.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <string>
#include <vector>

void addPreviewOptions(CLI::App& app, PreviewOptions& options)
{
	app.description("Plays the show with its music in a window, from any moment, and reloads show/*.tracks and "
					"the shaders as they are saved. It runs in the folder holding Data/: the working directory, else "
					"the tool's, else the installed one.");
	app.footer("keys: Space pause, Left/Right a beat (Shift: a bar), Home start, L loop the section,\n"
			   "      Tab overlay, Escape quit\n"
			   "tracks panel keys:\n" + panelKeyText("      ", "\n") +
			   "positions: on the command line a bare number is a bar (--loop 14 22); in a .tracks file it is a\n"
			   "      row (140); bar:beat (14:2, beat from 0) means the same in both");
	addSizeOptions(app, "window", options.width, options.height);
	CLI::Option* at = app.add_option("--at", options.start, "start at that music time")->type_name("SECONDS");
	CLI::Option* bar = app.add_option_function<double>("--bar", [&options](double number) {
		options.start = ShowPosition::secondsAtBar(number);
	}, "start at bar N (one bar is 32 rows, 1.875 s)")->type_name("N")->excludes(at);
	app.add_option_function<std::vector<std::string>>("--loop", [&options](const std::vector<std::string>& ends) {
		if (!ShowPosition::parse(ends[0], options.loopFrom) || !ShowPosition::parse(ends[1], options.loopTo))
			throw CLI::ValidationError("--loop", "\"" + ends[0] + "\" \"" + ends[1]
				+ "\": each must be a bar (14), bar:beat (14:2) or seconds (26.25s)");
		options.loop = true;
	}, "repeat that stretch: bars (14; a bare number is a bar here, a row in .tracks), bar:beat (14:2) or seconds (26.25s)")->expected(2)->type_name("FROM TO");
	app.add_flag("--paused", options.paused, "start paused");
	app.add_flag_callback("--no-overlay", [&options] { options.overlay = false; }, "start with the overlay hidden");
	app.add_option("--sources", options.sources, "the source tree whose show/ and Data/ are watched")->type_name("DIR");

	app.callback([&options, at, bar] {
		if (options.loop)
		{
			options.loopTo = std::fmin(options.loopTo, Show::length);
			if (!(options.loopFrom < options.loopTo))
				throw CLI::ValidationError("the loop must start before it ends, within the show (0 to 70.8 s)");
			if (!at->count() && !bar->count())
				options.start = options.loopFrom;
		}
		if (!(options.start >= 0.0 && options.start < Show::length))
			throw CLI::ValidationError("the start lies outside the show (0 to 70.8 s)");
	});
}

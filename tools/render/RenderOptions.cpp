// The render tool's command line: output size, what to write, and which stretch of the show.
#include "RenderOptions.h"

#include "CommandLine.h"
#include "Settings.h"

#include <CLI/CLI.hpp>

#include <cmath>  // Required for: HUGE_VAL
#include <cstdio> // Required for: std::sscanf

void addRenderOptions(CLI::App& app, RenderOptions& options)
{
	app.description("Renders the show headless on a fixed clock (frame k at k / fps seconds). It runs in the "
					"folder holding Data/: the working directory, else the tool's, else the installed one. Give "
					"exactly one mode: --frame with --out, --frames, --video, --bench or --report.");
	options.width = resolutions[1].width;
	options.height = resolutions[1].height;
	addSizeOptions(app, "output", options.width, options.height);
	app.add_option("--fps", options.fps, "frames per second; frame k is drawn at k / F seconds (default 30)")
		->check(between(0.1, 240.0))
		->type_name("F");
	app.add_option("--from", options.from, "start of the stretch of the show to render (default 0)")
		->check(between(0.0, Show::length))
		->type_name("S");
	app.add_option("--to", options.to, "end of the stretch of the show to render (default 70.8)")
		->check(between(0.0, Show::length))
		->type_name("S");

	// The modes; each sets the mode, and the final check counts them.
	CLI::Option* frame = app.add_option_function<double>("--frame", [&options](double seconds) {
		options.frameTime = seconds;
		options.mode = RenderMode::Frame;
	}, "mode: one frame at that music time, into --out")->check(between(0.0, HUGE_VAL))->type_name("SECONDS");
	CLI::Option* out = app.add_option("--out", options.output, "the PNG file --frame writes")->type_name("FILE.png");
	CLI::Option* frames = app.add_option_function<std::string>("--frames", [&options](const std::string& folder) {
		options.output = folder;
		options.mode = RenderMode::Frames;
	}, "mode: frame_NNNNN.png for every frame from --from to --to")->type_name("DIR");
	CLI::Option* video = app.add_option_function<std::string>("--video", [&options](const std::string& file) {
		options.output = file;
		options.mode = RenderMode::Video;
	}, "mode: the show with its music, through ffmpeg")->type_name("FILE.mp4");
	CLI::Option* bench = app.add_flag_callback("--bench", [&options] { options.mode = RenderMode::Bench; },
		"mode: per-scene frame times, nothing written");
	CLI::Option* report = app.add_option_function<std::string>("--report", [&options](const std::string& folder) {
		options.output = folder;
		options.mode = RenderMode::Report;
	}, "mode: the show report into DIR: per beat the music's level against the picture's brightness, change and "
	   "dark share, per section the same, the flashes per second after WCAG 2.3.1, the loud but dark beats "
	   "(report.txt, beats.csv, chart.png)")->type_name("DIR");
	app.add_option("--max-flashes", options.maxFlashes,
		"with --report: exit 1 when any second holds more than N general or red flashes")
		->check(between(0.0, HUGE_VAL))->type_name("N")->needs(report);
	app.add_flag("--passes", options.passes,
		"with --bench: also each scene's passes, by the fragment shader that draws them (each pass waits for the one "
		"before, so frames take somewhat longer)")->needs(bench);
	frame->needs(out);
	out->needs(frame);

	// Capture in chunks (tools/render-farm.sh).
	app.add_flag("--lossless", options.lossless, "video in FFV1 (every frame exact) in a .mkv instead of H.264");
	CLI::Option* chunk = app.add_option_function<std::string>("--chunk", [&options](const std::string& value) {
		int index = 0;
		int count = 0;
		int length = 0;
		if (std::sscanf(value.c_str(), "%d/%d%n", &index, &count, &length) != 2 || value[length] != '\0'
			|| count < 1 || index < 0 || index >= count)
			throw CLI::ValidationError("--chunk", "\"" + value + "\" is not I/N with 0 <= I < N");
		options.chunkIndex = index;
		options.chunkCount = count;
	}, "only the I-th (from 0) of N equal runs of the stretch's frames, video only")->type_name("I/N");
	CLI::Option* join = app.add_option("--join", options.joinList,
		"no rendering: the chunks of --chunk I/N in ffmpeg's concat LIST (file 'NAME' lines), each checked for its "
		"frames, copied, with the music")->type_name("LIST");
	chunk->excludes(join);

	app.callback([&options, frame, frames, video, bench, report] {
		if (frame->count() + frames->count() + video->count() + bench->count() + report->count() != 1)
			throw CLI::ValidationError("give exactly one of --frame, --frames, --video, --bench, --report");
		if (options.output.empty() && options.mode != RenderMode::Bench)
			throw CLI::ValidationError("empty output name");
		if (options.from >= options.to)
			throw CLI::ValidationError("--from must lie before --to");
		if ((options.chunkCount > 0 || !options.joinList.empty() || options.lossless) && options.mode != RenderMode::Video)
			throw CLI::ValidationError("--chunk, --join and --lossless go with --video");
		const size_t dot = options.output.rfind('.');
		if (options.lossless && (dot == std::string::npos || options.output.substr(dot) != ".mkv"))
			throw CLI::ValidationError("--lossless writes FFV1 in Matroska: name the video FILE.mkv");
	});
}

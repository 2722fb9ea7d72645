// The render tool's command line: output size, what to write, and which stretch of the show.
#pragma once

#include "Show.h"

#include <string>

namespace CLI
{
	class App;
}

enum class RenderMode
{
	Frame,  // one frame at --frame SECONDS into --out FILE.png
	Frames, // a PNG per frame into --frames DIR
	Video,  // an MP4 with the music, through ffmpeg
	Bench,  // per-scene frame times, nothing written
	Report  // the show report (music against picture, flashes) into --report DIR
};

struct RenderOptions
{
	RenderMode mode = RenderMode::Frame;
	int width = 0;
	int height = 0;
	double fps = 30.0;
	double from = 0.0;
	double to = Show::length;
	double frameTime = 0.0;
	std::string output; // PNG file, frame directory, video file or report folder
	double maxFlashes = -1.0; // with --report: exit 1 above this many flashes in a second; < 0: never
	// Capture in chunks (tools/render-farm.sh): chunk chunkIndex of chunkCount equal runs of the
	// stretch's frames, video only; chunkCount 0 is the whole stretch.
	int chunkIndex = 0;
	int chunkCount = 0;
	bool passes = false;   // --bench also times each GLSL program's passes
	bool lossless = false; // FFV1 in Matroska instead of H.264, so captures compare frame for frame
	std::string joinList;  // an ffmpeg concat list of chunks, joined with the music instead of rendering
};

// Declares every option on app, bound to options, with the checks that span options run once
// parsing is done; app refuses anything the tool cannot use.
void addRenderOptions(CLI::App& app, RenderOptions& options);

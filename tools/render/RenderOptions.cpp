// The render tool's command line: output size, what to write, and which stretch of the show.
#include "RenderOptions.h"

#include "Settings.h"
#include "Show.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* renderUsage()
{
	return "usage: halvorine-render [--size WxH | --resolution N] [--fps F] [--from S] [--to S] MODE\n"
		   "  run from the build directory (it reads Data/)\n"
		   "modes (exactly one):\n"
		   "  --frame SECONDS --out FILE.png   one frame at that music time\n"
		   "  --frames DIR                     frame_NNNNN.png for every frame from --from to --to\n"
		   "  --video FILE.mp4                 the show with its music, through ffmpeg\n"
		   "  --bench                          per-scene frame times, nothing written\n"
		   "options:\n"
		   "  --size WxH        any output size (default 1280x720)\n"
		   "  --resolution N    a row of the setup dialog: 0 = 1920x1080, 1 = 1280x720, 2 = 1024x768\n"
		   "  --fps F           frames per second; frame k is drawn at k / F seconds (default 30)\n"
		   "  --from S, --to S  the stretch of the show to render (default 0 to 70.8)\n"
		   "  --lossless        video in FFV1 (every frame exact) in a .mkv instead of H.264\n"
		   "  --chunk I/N       only the I-th (from 0) of N equal runs of the stretch's frames, video only\n"
		   "  --join LIST       no rendering: the chunks in ffmpeg's concat LIST, copied, with the music\n";
}

static bool parseNumber(const char* text, double& value)
{
	char* end = nullptr;
	value = std::strtod(text, &end);
	return end != text && *end == '\0';
}

bool parseSize(const char* text, int& width, int& height)
{
	char* end = nullptr;
	const long w = std::strtol(text, &end, 10);
	if (end == text || (*end != 'x' && *end != 'X'))
		return false;
	const char* rest = end + 1;
	const long h = std::strtol(rest, &end, 10);
	if (end == rest || *end != '\0' || w < 16 || h < 16 || w > 8192 || h > 8192)
		return false;
	width = (int)w;
	height = (int)h;
	return true;
}

bool parseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& error)
{
	int modes = 0;
	bool haveOut = false;
	bool haveSize = false;
	for (int i = 1; i < argc; i++)
	{
		const char* argument = argv[i];
		if (std::strcmp(argument, "--lossless") == 0)
		{
			options.lossless = true;
			continue;
		}
		if (std::strcmp(argument, "--bench") == 0)
		{
			options.mode = RenderMode::Bench;
			modes++;
			continue;
		}
		static const char* const valueOptions[] = { "--size", "--resolution", "--fps", "--from", "--to", "--frame",
			"--out", "--frames", "--video", "--chunk", "--join" };
		bool known = false;
		for (const char* option : valueOptions)
			known = known || std::strcmp(argument, option) == 0;
		if (!known)
		{
			error = std::string("unknown argument ") + argument;
			return false;
		}
		if (i + 1 >= argc)
		{
			error = std::string("missing value after ") + argument;
			return false;
		}
		const char* value = argv[++i];
		double number = 0.0;
		if (std::strcmp(argument, "--size") == 0)
		{
			if (haveSize || !parseSize(value, options.width, options.height))
			{
				error = std::string("bad --size ") + value + " (expected WxH, 16 to 8192 each, given once)";
				return false;
			}
			haveSize = true;
		}
		else if (std::strcmp(argument, "--resolution") == 0)
		{
			if (haveSize || !parseNumber(value, number) || (number != 0.0 && number != 1.0 && number != 2.0))
			{
				error = std::string("bad --resolution ") + value + " (expected 0, 1 or 2, and no --size)";
				return false;
			}
			options.width = resolutions[(int)number].width;
			options.height = resolutions[(int)number].height;
			haveSize = true;
		}
		else if (std::strcmp(argument, "--fps") == 0)
		{
			if (!parseNumber(value, options.fps) || options.fps < 0.1 || options.fps > 240.0)
			{
				error = std::string("bad --fps ") + value + " (expected 0.1 to 240)";
				return false;
			}
		}
		else if (std::strcmp(argument, "--from") == 0 || std::strcmp(argument, "--to") == 0)
		{
			if (!parseNumber(value, number) || number < 0.0 || number > Show::length)
			{
				error = std::string("bad ") + argument + " " + value + " (expected 0 to 70.8 seconds)";
				return false;
			}
			(argument[2] == 'f' ? options.from : options.to) = number;
		}
		else if (std::strcmp(argument, "--frame") == 0)
		{
			if (!parseNumber(value, options.frameTime) || options.frameTime < 0.0)
			{
				error = std::string("bad --frame ") + value + " (expected seconds)";
				return false;
			}
			options.mode = RenderMode::Frame;
			modes++;
		}
		else if (std::strcmp(argument, "--chunk") == 0)
		{
			int index = 0;
			int count = 0;
			int length = 0;
			if (std::sscanf(value, "%d/%d%n", &index, &count, &length) != 2 || value[length] != '\0' || count < 1
				|| index < 0 || index >= count)
			{
				error = std::string("bad --chunk ") + value + " (expected I/N with 0 <= I < N)";
				return false;
			}
			options.chunkIndex = index;
			options.chunkCount = count;
		}
		else if (std::strcmp(argument, "--join") == 0)
			options.joinList = value;
		else if (std::strcmp(argument, "--out") == 0)
		{
			options.output = value;
			haveOut = true;
		}
		else // --frames or --video
		{
			options.mode = argument[3] == 'r' ? RenderMode::Frames : RenderMode::Video;
			options.output = value;
			modes++;
		}
	}

	if (modes != 1)
	{
		error = "give exactly one of --frame, --frames, --video, --bench";
		return false;
	}
	if ((options.mode == RenderMode::Frame) != haveOut)
	{
		error = "--out goes with --frame, and --frame needs it";
		return false;
	}
	if (options.output.empty() && options.mode != RenderMode::Bench)
	{
		error = "empty output name";
		return false;
	}
	const bool capture = options.chunkCount > 0 || !options.joinList.empty() || options.lossless;
	if (capture && options.mode != RenderMode::Video)
	{
		error = "--chunk, --join and --lossless go with --video";
		return false;
	}
	if (options.chunkCount > 0 && !options.joinList.empty())
	{
		error = "give --chunk (render one chunk) or --join (join the chunks), not both";
		return false;
	}
	const size_t dot = options.output.rfind('.');
	if (options.lossless && (dot == std::string::npos || options.output.substr(dot) != ".mkv"))
	{
		error = "--lossless writes FFV1 in Matroska: name the video FILE.mkv";
		return false;
	}
	if (options.from >= options.to)
	{
		error = "--from must lie before --to";
		return false;
	}
	if (!haveSize)
	{
		options.width = resolutions[1].width;
		options.height = resolutions[1].height;
	}
	return true;
}

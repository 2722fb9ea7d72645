// halvorine-tracks: compiles the show's text tracks into the binary track files the program
// reads, and prints and evaluates binary tracks.
#include "TrackError.h"
#include "TrackFileWriter.h"
#include "TrackParser.h"
#include "TrackText.h"

#include <cerrno>  // Required for: errno
#include <cmath>   // Required for: isnan()
#include <cstdio>  // Required for: printf(), fprintf()
#include <cstdlib> // Required for: strtod(), free()
#include <string>
#include <vector>

namespace
{
	const int exitFailure = 1;
	const int exitUsage = 2;

	const char* const usage =
		"usage: halvorine-tracks compile SHOW_DIR OUT_DIR      write OUT_DIR/_NAME.track for every track of SHOW_DIR/*.tracks\n"
		"       halvorine-tracks dump FILE.track                print a track file in the text form\n"
		"       halvorine-tracks eval FILE.track ROW            print a track's value at a (fractional) row\n";

	int usageError(const std::string& problem)
	{
		std::fprintf(stderr, "halvorine-tracks: %s\n%s", problem.c_str(), usage);
		return exitUsage;
	}

	int compile(const std::string& showDirectory, const std::string& outputDirectory)
	{
		TrackParser parser;
		parser.parseDirectory(showDirectory);
		writeTrackFiles(parser.getTracks(), outputDirectory);
		std::printf("halvorine-tracks: %zu tracks from %s into %s\n", parser.getTracks().size(), showDirectory.c_str(), outputDirectory.c_str());
		return 0;
	}

	int dump(const std::string& path)
	{
		SyncTrack track = loadTrackFile(path);
		std::fputs(formatTrack(trackNameOfFile(path), track).c_str(), stdout);
		std::free(track.keys);
		return 0;
	}

	int eval(const std::string& path, double row)
	{
		SyncTrack track = loadTrackFile(path);
		std::printf("%.9g\n", (double)track.valueAt(row));
		std::free(track.keys);
		return 0;
	}

	bool parseRowArgument(const std::string& text, double& row)
	{
		char* end = nullptr;
		errno = 0;
		row = std::strtod(text.c_str(), &end);
		return !text.empty() && *end == 0 && errno == 0 && !std::isnan(row);
	}
}

int main(int argc, char** argv)
{
	const std::vector<std::string> arguments(argv + 1, argv + argc);
	const std::string command = arguments.empty() ? "" : arguments[0];
	const size_t operands = arguments.empty() ? 0 : arguments.size() - 1;
	try
	{
		if (command == "compile" && operands == 2)
			return compile(arguments[1], arguments[2]);
		if (command == "dump" && operands == 1)
			return dump(arguments[1]);
		if (command == "eval" && operands == 2)
		{
			double row = 0.0;
			if (!parseRowArgument(arguments[2], row))
				return usageError("ROW \"" + arguments[2] + "\" is not a number");
			return eval(arguments[1], row);
		}
	}
	catch (const Tarn::Exception& exception)
	{
		std::fprintf(stderr, "%s\n", exception.getMessage().getText());
		return exitFailure;
	}

	if (command.empty())
		return usageError("no command given");
	if (command == "compile" || command == "dump" || command == "eval")
		return usageError("wrong number of arguments for " + command);
	return usageError("unknown command \"" + command + "\"");
}

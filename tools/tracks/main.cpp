// halvorine-tracks: compiles the show's text tracks into the binary track files the program
// reads, prints and evaluates binary tracks, and checks track names against the sources.
#include "TrackCheck.h"
#include "TrackError.h"
#include "TrackFileWriter.h"
#include "TrackParser.h"
#include "TrackText.h"

#include <cerrno>  // Required for: errno
#include <cmath>   // Required for: isnan()
#include <cstdio>  // Required for: printf(), fprintf()
#include <cstdlib> // Required for: strtod(), free()
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
	const int exitFailure = 1;
	const int exitUsage = 2;

	const char* const usage =
		"usage: halvorine-tracks compile SHOW_DIR OUT_DIR      write OUT_DIR/_NAME.track for every track of SHOW_DIR/*.tracks\n"
		"       halvorine-tracks dump FILE.track                print a track file in the text form\n"
		"       halvorine-tracks eval FILE.track ROW            print a track's value at a (fractional) row\n"
		"       halvorine-tracks check SHOW_DIR SOURCE_FILE...  compare Sync::getValue(\"NAME\") calls with the authored tracks\n";

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

	int check(const std::string& showDirectory, const std::vector<std::string>& sourceFiles)
	{
		TrackParser parser;
		parser.parseDirectory(showDirectory);

		std::vector<TrackRequest> requests;
		for (const std::string& file : sourceFiles)
		{
			std::ifstream stream(file, std::ios::binary);
			if (!stream)
				failTracks("Could not open the source file \"" + file + "\"");
			std::stringstream source;
			source << stream.rdbuf();
			for (const TrackRequest& request : findTrackRequests(file, source.str()))
			{
				if (!request.literal)
					std::fprintf(stderr, "%s: note: Sync::getValue with a computed name: the names in this file's tables are checked instead\n", request.place.describe().c_str());
				requests.push_back(request);
			}
		}

		const std::vector<std::string> mismatches = compareTracks(requests, parser.getTracks());
		for (const std::string& mismatch : mismatches)
			std::fprintf(stderr, "%s\n", mismatch.c_str());
		if (!mismatches.empty())
			return exitFailure;
		std::printf("halvorine-tracks: %zu track requests in %zu files, %zu authored tracks: all match\n", requests.size(), sourceFiles.size(),
			parser.getTracks().size());
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
		if (command == "check" && operands >= 2)
			return check(arguments[1], std::vector<std::string>(arguments.begin() + 2, arguments.end()));
	}
	catch (const Tarn::Exception& exception)
	{
		std::fprintf(stderr, "%s\n", exception.getMessage().getText());
		return exitFailure;
	}

	if (command.empty())
		return usageError("no command given");
	if (command == "compile" || command == "dump" || command == "eval" || command == "check")
		return usageError("wrong number of arguments for " + command);
	return usageError("unknown command \"" + command + "\"");
}

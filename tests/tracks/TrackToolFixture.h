// Runs halvorine-tracks in a scratch directory and captures what it prints and how it exits.
#pragma once

#include "../unit/TrackFileFixture.h"

#include <sys/wait.h> // Required for: WEXITSTATUS()

#include <cstdio>  // Required for: popen(), pclose()
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ToolRun
{
	int exitCode;
	std::string output; // stdout and stderr together
};

class TrackToolFixture : public TrackFileFixture
{
protected:
	static std::string quote(const std::string& argument)
	{
		std::string quoted = "'";
		for (char c : argument)
			quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
		return quoted + "'";
	}

	static ToolRun run(const std::vector<std::string>& arguments)
	{
		std::string command = quote(TRACK_TOOL);
		for (const std::string& argument : arguments)
			command += " " + quote(argument);
		command += " 2>&1";
		FILE* pipe = popen(command.c_str(), "r");
		ToolRun result{ -1, "" };
		if (!pipe)
			return result;
		char buffer[4096];
		size_t length;
		while ((length = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
			result.output.append(buffer, length);
		const int status = pclose(pipe);
		result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
		return result;
	}

	// Creates directory/relative (and its folders) holding text; returns the full path.
	std::string writeFile(const std::string& relative, const std::string& text)
	{
		const std::filesystem::path path = std::filesystem::path(directory) / relative;
		std::filesystem::create_directories(path.parent_path());
		std::ofstream(path, std::ios::binary) << text;
		return path.string();
	}

	static std::string readFile(const std::string& path)
	{
		std::ifstream stream(path, std::ios::binary);
		std::stringstream bytes;
		bytes << stream.rdbuf();
		return bytes.str();
	}
};

// Reads the farm's concat list and counts each chunk's frames with ffprobe.
#include "ChunkList.h"
#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cerrno>
#include <cstdlib> // Required for: std::strtol
#include <filesystem>
#include <fstream>
#include <unistd.h> // Required for: read (io.h's on Windows)

std::vector<std::string> readChunkList(const std::string& list)
{
	std::ifstream file(std::filesystem::u8path(list));
	if (!file)
		throw Tarn::Exception(("Could not read the chunk list \"" + list + "\"").c_str(), "ChunkList", __LINE__);
	const std::string folder = list.substr(0, list.find_last_of("/\\") + 1);
	std::vector<std::string> chunks;
	std::string line;
	for (int number = 1; std::getline(file, line); number++)
	{
		if (line.empty() || line[0] == '#')
			continue;
		if (line.compare(0, 5, "file ") != 0)
			throw Tarn::Exception(("\"" + list + "\" line " + std::to_string(number) + ": expected file 'NAME'").c_str(),
				"ChunkList", __LINE__);
		// As ffmpeg reads it: quotes hold text as it is, a backslash outside them escapes one character.
		std::string name;
		bool quoted = false;
		for (size_t i = 5; i < line.size(); i++)
		{
			if (line[i] == '\'')
				quoted = !quoted;
			else if (line[i] == '\\' && !quoted && i + 1 < line.size())
				name += line[++i];
			else if (quoted || (line[i] != ' ' && line[i] != '\t'))
				name += line[i];
		}
		chunks.push_back(std::filesystem::u8path(name).is_absolute() ? name : folder + name);
	}
	return chunks;
}

long countVideoFrames(const std::string& path)
{
	std::vector<std::string> arguments = { "ffprobe", "-v", "error", "-select_streams", "v:0", "-count_packets",
		"-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", path };

	StartedProgram ffprobe = startProgram(arguments, false, true, ErrorStream::Discarded);
	std::string text;
	char buffer[64];
	for (;;)
	{
		const ssize_t count = read(ffprobe.output, buffer, sizeof buffer);
		if (count < 0 && errno == EINTR)
			continue;
		if (count <= 0)
			break;
		text.append(buffer, (size_t)count);
	}
	closePipe(ffprobe.output);
	const bool succeeded = waitForProgram(ffprobe);
	char* end = nullptr;
	const long frames = std::strtol(text.c_str(), &end, 10);
	return end != text.c_str() && succeeded ? frames : 0;
}

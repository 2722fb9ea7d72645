// Reads the farm's concat list and counts each chunk's frames with ffprobe.
#include "ChunkList.h"
#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cerrno>
#include <cstdlib> // Required for: std::strtol
#include <fcntl.h> // Required for: O_WRONLY
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

std::vector<std::string> readChunkList(const std::string& list)
{
	std::ifstream file(list);
	if (!file)
		throw Tarn::Exception(("Could not read the chunk list \"" + list + "\"").c_str(), "ChunkList", __LINE__);
	const std::string folder = list.substr(0, list.find_last_of('/') + 1);
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
		chunks.push_back(name[0] == '/' ? name : folder + name);
	}
	return chunks;
}

long countVideoFrames(const std::string& path)
{
	std::vector<std::string> arguments = { "ffprobe", "-v", "error", "-select_streams", "v:0", "-count_packets",
		"-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", path };

	int output[2];
	if (pipe(output) != 0)
		throw Tarn::Exception("Could not create the pipe from ffprobe", "ChunkList", __LINE__);
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_adddup2(&actions, output[1], 1);
	posix_spawn_file_actions_addclose(&actions, output[0]);
	posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
	const pid_t process = startProgram("ffprobe", arguments, actions, { output[1] }, { output[0] });
	std::string text;
	char buffer[64];
	for (;;)
	{
		const ssize_t count = read(output[0], buffer, sizeof buffer);
		if (count < 0 && errno == EINTR)
			continue;
		if (count <= 0)
			break;
		text.append(buffer, (size_t)count);
	}
	::close(output[0]);
	int status = 0;
	waitpid(process, &status, 0);
	char* end = nullptr;
	const long frames = std::strtol(text.c_str(), &end, 10);
	return end != text.c_str() && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? frames : 0;
}

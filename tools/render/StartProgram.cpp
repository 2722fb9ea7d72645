#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cstring> // Required for: std::strerror

extern char** environ;

pid_t startProgram(const char* program, std::vector<std::string>& arguments, const posix_spawn_file_actions_t& actions)
{
	std::vector<char*> argv;
	for (std::string& argument : arguments)
		argv.push_back(argument.data());
	argv.push_back(nullptr);
	pid_t process = -1;
	const int result = posix_spawnp(&process, program, &actions, nullptr, argv.data(), environ);
	if (result != 0)
		throw Tarn::Exception((std::string("Could not start ") + program + ": " + std::strerror(result)).c_str(), "StartProgram", __LINE__);
	return process;
}

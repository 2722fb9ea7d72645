#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cstring> // Required for: std::strerror
#include <unistd.h>

extern char** environ;

pid_t startProgram(const char* program, std::vector<std::string>& arguments, posix_spawn_file_actions_t& actions,
	std::initializer_list<int> childEnds, std::initializer_list<int> parentEnds)
{
	std::vector<char*> argv;
	for (std::string& argument : arguments)
		argv.push_back(argument.data());
	argv.push_back(nullptr);
	pid_t process = -1;
	const int result = posix_spawnp(&process, program, &actions, nullptr, argv.data(), environ);
	posix_spawn_file_actions_destroy(&actions);
	for (int end : childEnds)
		::close(end);
	if (result != 0)
	{
		for (int end : parentEnds)
			::close(end);
		throw Tarn::Exception((std::string("Could not start ") + program + ": " + std::strerror(result)).c_str(), "StartProgram", __LINE__);
	}
	return process;
}

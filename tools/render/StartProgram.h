// Starts ffmpeg or ffprobe on the PATH with its standard streams wired by the caller.
#pragma once

#include <initializer_list>
#include <spawn.h>
#include <string>
#include <vector>

// Runs program with arguments (argv[0] included) and the caller's file actions, which it destroys;
// returns its pid. childEnds, the pipe ends handed to the child, are closed here whatever happens.
// When the program cannot be started, parentEnds are closed too and Tarn::Exception
// "Could not start PROGRAM: reason" is thrown.
pid_t startProgram(const char* program, std::vector<std::string>& arguments, posix_spawn_file_actions_t& actions,
	std::initializer_list<int> childEnds, std::initializer_list<int> parentEnds);

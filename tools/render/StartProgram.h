// Starts ffmpeg or ffprobe on the PATH with its standard streams wired by the caller.
#pragma once

#include <spawn.h>
#include <string>
#include <vector>

// Runs program with arguments (argv[0] included) and the caller's file actions; returns its
// pid. Throws Tarn::Exception "Could not start PROGRAM: reason" when it cannot be started.
pid_t startProgram(const char* program, std::vector<std::string>& arguments, const posix_spawn_file_actions_t& actions);

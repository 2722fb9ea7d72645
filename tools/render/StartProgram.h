// Starts ffmpeg or ffprobe on the PATH with some of its standard streams piped to this process,
// the same way on Linux (posix_spawn) and on Windows (CreateProcess).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A started program and this process's ends of its pipes: file descriptors for read() and
// write(), -1 where that stream is not piped.
struct StartedProgram
{
	std::intptr_t process = -1; // the pid, or the process handle on Windows
	int input = -1;
	int output = -1;
	int errors = -1;
};

// What becomes of the program's standard error.
enum class ErrorStream { Piped, Discarded };

// Runs arguments[0], looked up on the PATH, with arguments (argv[0] included); its standard input
// and output are piped when asked, the rest inherited. Throws Tarn::Exception "Could not start
// PROGRAM: it is not on PATH" when it is not there, "Could not start PROGRAM: reason" otherwise.
StartedProgram startProgram(const std::vector<std::string>& arguments, bool pipeInput, bool pipeOutput, ErrorStream errors);

// Waits for the program to end; true when it exited with status 0. Does nothing, and answers
// false, for a program already waited for.
bool waitForProgram(StartedProgram& program);

// Closes one of the ends above and marks it closed.
void closePipe(int& end);

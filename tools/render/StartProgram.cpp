#include "StartProgram.h"

#include <tarn/Exception.h>

#include <cerrno>
#include <cstring> // Required for: std::strerror

#ifdef _WIN32
#include <fcntl.h> // Required for: _O_BINARY
#include <io.h>    // Required for: _open_osfhandle, _close
#include <windows.h>
#else
#include <fcntl.h> // Required for: O_WRONLY
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace
{
	[[noreturn]] void cannotStart(const std::string& program, const std::string& reason)
	{
		throw Tarn::Exception(("Could not start " + program + ": " + reason).c_str(), "StartProgram", __LINE__);
	}
}

void closePipe(int& end)
{
	if (end < 0)
		return;
#ifdef _WIN32
	_close(end);
#else
	::close(end);
#endif
	end = -1;
}

#ifdef _WIN32

namespace
{
	std::wstring wide(const std::string& text)
	{
		const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0);
		std::wstring result((size_t)length, L'\0');
		MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), result.data(), length);
		return result;
	}

	// One argument quoted as the C runtime splits a command line: backslashes count only before a quote.
	void appendQuoted(std::wstring& line, const std::wstring& argument)
	{
		line += L'"';
		size_t backslashes = 0;
		for (wchar_t character : argument)
		{
			if (character == L'\\')
			{
				backslashes++;
				continue;
			}
			line.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
			backslashes = 0;
			line += character;
		}
		line.append(backslashes * 2, L'\\');
		line += L'"';
	}

	// A pipe whose child end is inherited and whose parent end, a C runtime descriptor, is not.
	void makePipe(HANDLE& childEnd, int& parentEnd, bool childReads)
	{
		SECURITY_ATTRIBUTES inherited = { sizeof inherited, nullptr, TRUE };
		HANDLE readEnd = nullptr;
		HANDLE writeEnd = nullptr;
		if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
			throw Tarn::Exception("Could not create a pipe", "StartProgram", __LINE__);
		HANDLE parentHandle = childReads ? writeEnd : readEnd;
		childEnd = childReads ? readEnd : writeEnd;
		SetHandleInformation(parentHandle, HANDLE_FLAG_INHERIT, 0);
		parentEnd = _open_osfhandle((intptr_t)parentHandle, (childReads ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
	}
}

StartedProgram startProgram(const std::vector<std::string>& arguments, bool pipeInput, bool pipeOutput, ErrorStream errors)
{
	std::wstring line;
	for (const std::string& argument : arguments)
	{
		if (!line.empty())
			line += L' ';
		appendQuoted(line, wide(argument));
	}

	StartedProgram program;
	STARTUPINFOW startup = {};
	startup.cb = sizeof startup;
	startup.dwFlags = STARTF_USESTDHANDLES;
	startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
	startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
	startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
	if (pipeInput)
		makePipe(startup.hStdInput, program.input, true);
	if (pipeOutput)
		makePipe(startup.hStdOutput, program.output, false);
	if (errors == ErrorStream::Piped)
		makePipe(startup.hStdError, program.errors, false);
	else
	{
		SECURITY_ATTRIBUTES inherited = { sizeof inherited, nullptr, TRUE };
		startup.hStdError = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
	}

	PROCESS_INFORMATION started = {};
	const BOOL ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
	const DWORD error = GetLastError();
	// The child holds its own copies of the handles it was given.
	if (pipeInput)
		CloseHandle(startup.hStdInput);
	if (pipeOutput)
		CloseHandle(startup.hStdOutput);
	CloseHandle(startup.hStdError == GetStdHandle(STD_ERROR_HANDLE) ? nullptr : startup.hStdError);
	if (!ok)
	{
		closePipe(program.input);
		closePipe(program.output);
		closePipe(program.errors);
		if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
			cannotStart(arguments[0], "it is not on PATH");
		cannotStart(arguments[0], "Windows error " + std::to_string(error));
	}
	CloseHandle(started.hThread);
	program.process = (std::intptr_t)started.hProcess;
	return program;
}

bool waitForProgram(StartedProgram& program)
{
	if (program.process == -1)
		return false;
	const HANDLE process = (HANDLE)program.process;
	DWORD status = 1;
	WaitForSingleObject(process, INFINITE);
	GetExitCodeProcess(process, &status);
	CloseHandle(process);
	program.process = -1;
	return status == 0;
}

#else

StartedProgram startProgram(const std::vector<std::string>& arguments, bool pipeInput, bool pipeOutput, ErrorStream errors)
{
	int pipes[3][2] = { { -1, -1 }, { -1, -1 }, { -1, -1 } };
	const bool piped[3] = { pipeInput, pipeOutput, errors == ErrorStream::Piped };
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	for (int stream = 0; stream < 3; stream++)
	{
		if (!piped[stream])
			continue;
		if (pipe(pipes[stream]) != 0)
			throw Tarn::Exception("Could not create a pipe", "StartProgram", __LINE__);
		// Standard input is read by the child; output and errors are written by it.
		const int childEnd = pipes[stream][stream == 0 ? 0 : 1];
		const int parentEnd = pipes[stream][stream == 0 ? 1 : 0];
		posix_spawn_file_actions_adddup2(&actions, childEnd, stream);
		posix_spawn_file_actions_addclose(&actions, parentEnd);
	}
	if (errors == ErrorStream::Discarded)
		posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

	std::vector<char*> argv;
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(nullptr);
	pid_t process = -1;
	const int result = posix_spawnp(&process, argv[0], &actions, nullptr, argv.data(), environ);
	posix_spawn_file_actions_destroy(&actions);

	StartedProgram program;
	int* parentEnds[3] = { &program.input, &program.output, &program.errors };
	for (int stream = 0; stream < 3; stream++)
	{
		if (!piped[stream])
			continue;
		::close(pipes[stream][stream == 0 ? 0 : 1]);
		*parentEnds[stream] = pipes[stream][stream == 0 ? 1 : 0];
	}
	if (result != 0)
	{
		closePipe(program.input);
		closePipe(program.output);
		closePipe(program.errors);
		cannotStart(arguments[0], result == ENOENT ? "it is not on PATH" : std::strerror(result));
	}
	program.process = process;
	return program;
}

bool waitForProgram(StartedProgram& program)
{
	if (program.process == -1)
		return false;
	int status = 0;
	while (waitpid((pid_t)program.process, &status, 0) < 0 && errno == EINTR)
		;
	program.process = -1;
	return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#endif

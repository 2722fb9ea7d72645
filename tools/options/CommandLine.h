// The command-line pieces the render tool and the preview share (CLI11): the size options,
// a number check that refuses NaN, and how help and refusals are printed.
#pragma once

#include <functional>
#include <string>

namespace CLI
{
	class App;
	class Validator;
}

// --size WxH (16 to 8192 each) or --resolution N (a row of the setup dialog), not both; what
// names the size in --help ("output", "window").
void addSizeOptions(CLI::App& app, const char* what, int& width, int& height);

// Accepts numbers from low to high (high may be infinite); NaN is refused.
CLI::Validator between(double low, double high);

// Parses argv with the options declare puts on the tool's app; the app is made here, so a tool's
// main file need not include CLI11. Returns true when the tool should run; otherwise the tool ends
// with exitCode: 0 after --help (printed on stdout), 2 after a refusal, printed on stderr as
// "tool: reason" and a usage line.
bool readCommandLine(const char* tool, const std::function<void(CLI::App&)>& declare, int argc, char** argv, int& exitCode);

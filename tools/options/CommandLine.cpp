#include "CommandLine.h"

#include "Settings.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
	// "WxH", each 16 to 8192; false (and nothing set) otherwise.
	bool parseSize(const char* text, int& width, int& height)
	{
		char* end = nullptr;
		const long w = std::strtol(text, &end, 10);
		if (end == text || (*end != 'x' && *end != 'X'))
			return false;
		const char* rest = end + 1;
		const long h = std::strtol(rest, &end, 10);
		if (end == rest || *end != '\0' || w < 16 || h < 16 || w > 8192 || h > 8192)
			return false;
		width = (int)w;
		height = (int)h;
		return true;
	}

	// CLI11's messages may run over lines; a refusal is one.
	std::string oneLine(std::string text)
	{
		for (char& c : text)
			if (c == '\n')
				c = ' ';
		while (!text.empty() && text.back() == ' ')
			text.pop_back();
		return text;
	}
}

void addSizeOptions(CLI::App& app, const char* what, int& width, int& height)
{
	CLI::Option* size = app.add_option_function<std::string>("--size", [&width, &height](const std::string& text) {
		if (!parseSize(text.c_str(), width, height))
			throw CLI::ValidationError("--size", "\"" + text + "\" is not WxH, 16 to 8192 each");
	}, std::string(what) + " size, any WxH (default 1280x720)");
	size->type_name("WxH");
	app.add_option_function<int>("--resolution", [&width, &height](int row) {
		width = resolutions[row].width;
		height = resolutions[row].height;
	}, "a row of the setup dialog: 0 = 1920x1080, 1 = 1280x720, 2 = 1024x768")
		->check(CLI::Range(0, 2))
		->type_name("N")
		->excludes(size);
}

CLI::Validator between(double low, double high)
{
	const std::string range = std::isinf(high) ? "of at least " + CLI::detail::to_string(low)
										  : "from " + CLI::detail::to_string(low) + " to " + CLI::detail::to_string(high);
	return CLI::Validator(
		[low, high, range](std::string& text) -> std::string {
			double value = 0.0;
			if (!CLI::detail::lexical_cast(text, value) || !(value >= low && value <= high))
				return "\"" + text + "\" is not a number " + range;
			return std::string();
		},
		"", "between");
}

bool readCommandLine(const char* tool, const std::function<void(CLI::App&)>& declare, int argc, char** argv, int& exitCode)
{
	CLI::App app("", tool);
	declare(app);
	try
	{
		app.parse(argc, argv);
		return true;
	}
	catch (const CLI::CallForHelp&)
	{
		std::fputs(app.help().c_str(), stdout);
		exitCode = 0;
	}
	catch (const CLI::ParseError& error)
	{
		std::fprintf(stderr, "%s: %s\nusage: %s [options] (--help lists them)\n", app.get_name().c_str(),
			oneLine(error.what()).c_str(), app.get_name().c_str());
		exitCode = 2;
	}
	return false;
}

// The preview's command line: what each option sets, and what it refuses.
#include "PreviewOptions.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
	bool parse(std::vector<std::string> arguments, PreviewOptions& options, std::string& error)
	{
		arguments.insert(arguments.begin(), "halvorine-preview");
		std::vector<char*> argv;
		for (std::string& argument : arguments)
			argv.push_back(&argument[0]);
		CLI::App app;
		addPreviewOptions(app, options);
		try
		{
			app.parse((int)argv.size(), argv.data());
			return true;
		}
		catch (const CLI::ParseError& refusal)
		{
			error = refusal.what();
			return false;
		}
	}
}

TEST(PreviewOptions, SetsWhatEachOptionSays)
{
	struct Case
	{
		std::vector<std::string> arguments;
		int width, height;
		double start;
		bool loop;
		double loopFrom, loopTo;
		bool paused;
	};
	const Case cases[] = {
		{ {}, 1280, 720, 0.0, false, 0, 0, false },
		{ { "--size", "320x180", "--at", "12.5" }, 320, 180, 12.5, false, 0, 0, false },
		{ { "--resolution", "2", "--bar", "14", "--paused" }, 1024, 768, 26.25, false, 0, 0, true },
		{ { "--bar", "14", "--loop", "14", "22" }, 1280, 720, 26.25, true, 26.25, 41.25, false },
		{ { "--loop", "12:2", "30s" }, 1280, 720, 23.4375, true, 23.4375, 30.0, false }, // a loop alone starts at its start
		{ { "--at", "60", "--loop", "34", "40" }, 1280, 720, 60.0, true, 63.75, 70.8, false }, // cut at the show's end
	};
	for (const Case& c : cases)
	{
		PreviewOptions options;
		std::string error;
		ASSERT_TRUE(parse(c.arguments, options, error)) << error;
		EXPECT_EQ(options.width, c.width);
		EXPECT_EQ(options.height, c.height);
		EXPECT_DOUBLE_EQ(options.start, c.start);
		EXPECT_EQ(options.loop, c.loop);
		if (c.loop)
		{
			EXPECT_DOUBLE_EQ(options.loopFrom, c.loopFrom);
			EXPECT_DOUBLE_EQ(options.loopTo, c.loopTo);
		}
		EXPECT_EQ(options.paused, c.paused);
	}

	PreviewOptions options;
	std::string error;
	ASSERT_TRUE(parse({ "--sources", "/src", "--no-overlay" }, options, error));
	EXPECT_EQ(options.sources, "/src");
	EXPECT_FALSE(options.overlay);
}

TEST(PreviewOptions, RefusesWhatItCannotUse)
{
	const std::vector<std::vector<std::string>> cases = {
		{ "--size", "320" }, { "--size" }, { "--resolution", "3" }, { "--at", "71" }, { "--at", "-1" }, { "--bar", "x" },
		{ "--loop", "22", "14" }, { "--loop", "14" }, { "--loop", "38", "40" }, { "--fast" },
	};
	for (const std::vector<std::string>& arguments : cases)
	{
		PreviewOptions options;
		std::string error;
		EXPECT_FALSE(parse(arguments, options, error)) << arguments[0];
		EXPECT_FALSE(error.empty()) << arguments[0];
	}
}

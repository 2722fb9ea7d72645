// halvorine-tracks compile, dump and eval, run as the build and a show author run them.
#include "TrackToolFixture.h"

namespace
{
	class TrackTool : public TrackToolFixture
	{
	protected:
		// Compiles the interpolation tracks of the test data into directory/out.
		std::string compileTestTracks()
		{
			const std::string out = directory + "/out";
			const ToolRun compile = run({ "compile", TRACK_TEST_DATA, out });
			EXPECT_EQ(compile.exitCode, 0) << compile.output;
			return out;
		}
	};

	std::string littleEndian(uint32_t word)
	{
		std::string bytes;
		for (int shift = 0; shift < 32; shift += 8)
			bytes += (char)((word >> shift) & 0xFF);
		return bytes;
	}
}

TEST_F(TrackTool, EvalGivesEachInterpolationAtAFractionalRow)
{
	const std::string out = compileTestTracks();
	const struct
	{
		const char* track;
		const char* row;
		const char* expected;
	} cases[] = {
		{ "Step", "1.5", "0\n" },
		{ "Step", "3.999", "0\n" },
		{ "Step", "4", "1\n" },
		{ "Linear", "1.5", "0.375\n" },
		{ "Smooth", "1.5", "0.31640625\n" },
		{ "Ramp", "1.5", "0.140625\n" },
		{ "Ramp", "-3", "0\n" },
		{ "Mixed", "-4", "-1.19999993\n" }, // d = -2.5f - 0.1f in single precision
		{ "Mixed", "1e9", "3.14159274\n" },
	};
	for (const auto& c : cases)
	{
		const ToolRun eval = run({ "eval", out + "/_Test " + c.track + ".track", c.row });
		EXPECT_EQ(eval.exitCode, 0) << c.track;
		EXPECT_EQ(eval.output, c.expected) << c.track << " at row " << c.row;
	}
}

TEST_F(TrackTool, CompileWritesTheTrackFileBytes)
{
	const std::string out = compileTestTracks();
	const std::string expected = littleEndian(2) + littleEndian(0) + littleEndian(0x00000000) + '\x01' + littleEndian(4) +
		littleEndian(0x3F800000) + '\x01';
	EXPECT_EQ(readFile(out + "/_Test Linear.track"), expected);

	// -8, 0.1 (0x3DCCCCCD), linear: a negative row and an inexact value, byte for byte.
	const std::string mixed = readFile(out + "/_Test Mixed.track");
	ASSERT_EQ(mixed.size(), 4u + 9u * 5u);
	EXPECT_EQ(mixed.substr(0, 13), littleEndian(5) + littleEndian((uint32_t)-8) + littleEndian(0x3DCCCCCD) + '\x01');
	EXPECT_EQ(mixed.substr(4 + 9 * 3, 9), littleEndian(32024) + littleEndian(0x80000000) + '\x01') << "1000:3 and -0";
}

TEST_F(TrackTool, DumpCompilesBackToTheSameBytes)
{
	const std::string out = compileTestTracks();
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator(out))
	{
		const ToolRun dump = run({ "dump", entry.path().string() });
		ASSERT_EQ(dump.exitCode, 0) << dump.output;
		writeFile("dumped/" + entry.path().stem().string() + ".tracks", dump.output);
		names.push_back(entry.path().filename().string());
	}
	ASSERT_EQ(names.size(), 5u);

	const ToolRun again = run({ "compile", directory + "/dumped", directory + "/again" });
	ASSERT_EQ(again.exitCode, 0) << again.output;
	for (const std::string& name : names)
		EXPECT_EQ(readFile(directory + "/again/" + name), readFile(out + "/" + name)) << name;
}

TEST_F(TrackTool, DumpShowsRowsValuesTypesAndBarBeat)
{
	const std::string out = compileTestTracks();
	const ToolRun dump = run({ "dump", out + "/_Test Mixed.track" });
	EXPECT_EQ(dump.output,
		"track Test Mixed\n"
		"    -8          0.1             linear  # -1:3\n"
		"    0           -2.5            smooth  # 0:0\n"
		"    49          0.0000001       ramp    # 1:2.125\n"
		"    32024       -0              linear  # 1000:3\n"
		"    49000       3.1415927       step    # 1531:1\n");
}

TEST_F(TrackTool, CompileReplacesTheTracksOfAnEarlierShow)
{
	writeFile("out/_Removed Track.track", "stale");
	writeFile("out/Blit.vert", "void main() {}");
	const std::string out = compileTestTracks();
	EXPECT_FALSE(std::filesystem::exists(out + "/_Removed Track.track"));
	EXPECT_TRUE(std::filesystem::exists(out + "/Blit.vert"));
	EXPECT_TRUE(std::filesystem::exists(out + "/_Test Step.track"));
}

TEST_F(TrackTool, MalformedInputIsRejectedWithFileAndLine)
{
	const struct
	{
		const char* text;
		int line;
		const char* message;
	} cases[] = {
		{ "track A\n  0 1 step\ntrack A\n", 3, "track \"A\" is already defined at " },
		{ "track A\n  0 1 step\n\ntrack a\n", 4, "differs only in case from \"A\"" },
		{ "track A\n  8 1 step\n  4 2 step\n", 3, "row 4 of track \"A\" does not come after row 8" },
		{ "track A\n  0:1 1 step\n  8 2 step\n", 3, "row 8 of track \"A\" does not come after row 8" },
		{ "track A\n  0 1 cubic\n", 2, "unknown interpolation type \"cubic\"" },
		{ "track A\n  0 1.2.3 step\n", 2, "value \"1.2.3\" is not a decimal number" },
		{ "track A\n  0 nan step\n", 2, "value \"nan\" is not a decimal number" },
		{ "track A\n  0 1e39 step\n", 2, "value \"1e39\" does not fit a float" },
		{ "track A\n  1.5 1 step\n", 2, "position \"1.5\" is neither a row nor bar:beat" },
		{ "track A\n  99999999999 1 step\n", 2, "position \"99999999999\" is neither a row nor bar:beat" },
		{ "track A\n  4:0.1 1 step\n", 2, "position \"4:0.1\" does not land on a whole row" },
		{ "track A\n  4:4 1 step\n", 2, "a bar has beats 0 to 3.x" },
		{ "track A\n  4: 1 step\n", 2, "position \"4:\" is not bar:beat" },
		{ "track A\n  0 1\n", 2, "expected a key \"POSITION VALUE TYPE\" but found 2 fields" },
		{ "\n# intro\n  0 1 step\n", 3, "key outside a track" },
		{ "track Camera/FOV\n", 1, "contains '/', which a file name cannot hold" },
		{ "track Camera\\FOV\n", 1, "contains '\\'" },
		{ "track Camera?\n", 1, "contains '?'" },
		{ "track Tab\tName\n", 1, "contains 0x09" },
		{ "track Dot.\n", 1, "ends in a dot or space" },
		{ "track   # nameless\n", 1, "a track needs a name" },
	};
	for (const auto& c : cases)
	{
		const std::string file = writeFile("show/scene.tracks", c.text);
		const ToolRun compile = run({ "compile", directory + "/show", directory + "/out" });
		EXPECT_EQ(compile.exitCode, 1) << c.text;
		const std::string place = file + ":" + std::to_string(c.line) + ": ";
		EXPECT_EQ(compile.output.rfind(place, 0), 0u) << "expected " << place << " in: " << compile.output;
		EXPECT_NE(compile.output.find(c.message), std::string::npos) << "expected " << c.message << " in: " << compile.output;
		EXPECT_FALSE(std::filesystem::exists(directory + "/out")) << "nothing is written from a show with errors";
	}
}

TEST_F(TrackToolFixture, ATrackNameMayAppearInOnlyOneFile)
{
	const std::string first = writeFile("show/a.tracks", "track Camera FOV\n  0 70 step\n");
	const std::string second = writeFile("show/b.tracks", "\ntrack Part\n  0 1 step\ntrack Camera FOV\n");
	const ToolRun compile = run({ "compile", directory + "/show", directory + "/out" });
	EXPECT_EQ(compile.exitCode, 1);
	EXPECT_EQ(compile.output, second + ":4: track \"Camera FOV\" is already defined at " + first + ":1\n");
}

TEST_F(TrackToolFixture, AWellFormedShowUsesEveryFeatureOfTheTextForm)
{
	writeFile("show/readme.md", "track Not A Track File\n");
	writeFile("show/camera.tracks",
		"# Camera: a slow push-in over the intro, a cut on bar 4.\r\n"
		"track Camera FOV\r\n"
		"    0:0      70      smooth\r\n"
		"    4:0      55      step\r\n"
		"    4:0.5    60      linear     # bar 4, half a beat in = row 132\r\n"
		"    140      58      ramp       # a plain row number works too\r\n"
		"\r\n"
		"track   Part   \r\n"
		"\t0:0\t1\tstep\r\n");
	const ToolRun compile = run({ "compile", directory + "/show", directory + "/out" });
	ASSERT_EQ(compile.exitCode, 0) << compile.output;
	EXPECT_EQ(readFile(directory + "/out/_Part.track").size(), 4u + 9u);
	EXPECT_EQ(run({ "eval", directory + "/out/_Camera FOV.track", "136" }).output, "59\n");
	EXPECT_EQ(run({ "eval", directory + "/out/_Camera FOV.track", "128.5" }).output, "55\n");
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory + "/out"), {}), 2);
}

TEST_F(TrackToolFixture, BadArgumentsPrintTheUsage)
{
	const std::vector<std::vector<std::string>> bad = {
		{},
		{ "build", "show", "out" },
		{ "compile", "show" },
		{ "dump" },
		{ "eval", "x.track" },
		{ "eval", "x.track", "ten" },
		{ "eval", "x.track", "" },
		{ "check", "show" },
	};
	for (const auto& arguments : bad)
	{
		const ToolRun result = run(arguments);
		EXPECT_EQ(result.exitCode, 2) << result.output;
		EXPECT_NE(result.output.find("usage: halvorine-tracks compile SHOW_DIR OUT_DIR"), std::string::npos);
	}
}

TEST_F(TrackToolFixture, UnreadableTrackFilesAreReportedNotEvaluated)
{
	const ToolRun missing = run({ "eval", directory + "/_Nowhere.track", "0" });
	EXPECT_EQ(missing.exitCode, 1);
	EXPECT_EQ(missing.output, "Could not open the track file \"" + directory + "/_Nowhere.track\"\n");

	const std::string truncated = writeFile("_Cut.track", std::string("\x02\x00\x00\x00\x00\x00\x00\x00", 8));
	const ToolRun dump = run({ "dump", truncated });
	EXPECT_EQ(dump.exitCode, 1);
	EXPECT_NE(dump.output.find("is not a well-formed track file"), std::string::npos) << dump.output;
}

// The name check: which tracks the sources ask for, against the authored show.
#include "TrackToolFixture.h"

#include <TrackCheck.h>

TEST(TrackRequests, OnlyLiteralSyncGetValueCallsOutsideCommentsCount)
{
	const std::string source =
		"// Sync::getValue(\"Commented Out\")\n"
		"/* Sync::getValue(\"Also\n"
		"   Commented\") */\n"
		"float fov = Sync::getValue(\"Camera FOV\");\n"
		"float part = Sync :: getValue (\n"
		"    \"Part\");\n"
		"const char* s = \"Sync::getValue(\\\"In A String\\\")\";\n"
		"const char* r = R\"x(Sync::getValue(\"In A Raw String\"))x\";\n"
		"float joined = Sync::getValue(\"Bloom \" \"Wet\");\n"
		"float computed = Sync::getValue(name);\n"
		"float other = Other::getValue(\"Not Sync\");\n"
		"char quote = '\"'; float last = Sync::getValue(\"Last\");\n"
		"float Sync::getValue(const char* name) { return 0; }\n"
		"float f() { return Sync::getValue(\"Returned\"); }\n";
	const std::vector<TrackRequest> requests = findTrackRequests("effects/Colon.cpp", source);
	ASSERT_EQ(requests.size(), 6u);
	const struct
	{
		const char* name;
		int line;
		bool literal;
	} expected[] = {
		{ "Camera FOV", 4, true },
		{ "Part", 5, true },
		{ "Bloom Wet", 9, true },
		{ "", 10, false },
		{ "Last", 12, true },
		{ "Returned", 14, true },
	};
	for (size_t i = 0; i < requests.size(); i++)
	{
		EXPECT_EQ(requests[i].name, expected[i].name) << i;
		EXPECT_EQ(requests[i].place.describe(), "effects/Colon.cpp:" + std::to_string(expected[i].line)) << i;
		EXPECT_EQ(requests[i].literal, expected[i].literal) << i;
	}
}

TEST(TrackRequests, AFileThatComputesNamesAsksForTheNamesInItsTables)
{
	const std::string table =
		"const Credit credits[] = {\n"
		"\t{ \"Data/corvale.png\", \"Corvale Fade\", nullptr },\n"
		"\t{ \"Data/g.png\", \"Go Fade\", \"G Offset\" },\n"
		"};\n"
		"void f() { if (bad) throw Tarn::Exception(\"Bad thing\", \"Demo\", 127); const char* label = \"Label\"; }\n";
	EXPECT_TRUE(findTrackRequests("Demo.cpp", table).empty()) << "names passed to nothing computed are not requests";

	const std::vector<TrackRequest> requests = findTrackRequests("Demo.cpp", table + "float fade = Sync::getValue(credits[0].fadeTrack);\n");
	std::vector<std::string> found;
	for (const TrackRequest& request : requests)
		found.push_back(request.place.describe() + " " + request.name);
	const std::vector<std::string> expected = { "Demo.cpp:6 ", "Demo.cpp:2 Corvale Fade", "Demo.cpp:3 Go Fade", "Demo.cpp:3 G Offset" };
	EXPECT_EQ(found, expected) << "file names, messages and literals outside tables are not track names";
}

TEST_F(TrackToolFixture, CheckReportsNamesMissingEitherWay)
{
	const std::string show = writeFile("show/scene.tracks", "track Camera FOV\n  0 70 step\ntrack Camera Fov Typo\n  0 1 step\ntrack Part\n  0 0 step\n");
	const std::string demo = writeFile("src/Demo.cpp", "void f()\n{\n  Sync::getValue(\"Camera FOV\");\n  Sync::getValue(\"Part\");\n}\n");
	const std::string scene = writeFile("effects/Colon.cpp", "\n\nfloat x = Sync::getValue(\"Colon Spin\");\nfloat y = Sync::getValue(\"Part\");\n");

	const ToolRun mismatched = run({ "check", directory + "/show", demo, scene });
	EXPECT_EQ(mismatched.exitCode, 1);
	EXPECT_EQ(mismatched.output, scene + ":3: track \"Colon Spin\" is asked for but not authored\n" + show +
		":3: track \"Camera Fov Typo\" is authored but never asked for\n");

	writeFile("show/scene.tracks", "track Camera FOV\n  0 70 step\ntrack Colon Spin\ntrack Part\n  0 0 step\n");
	const ToolRun matched = run({ "check", directory + "/show", demo, scene });
	EXPECT_EQ(matched.exitCode, 0) << matched.output;

	const ToolRun missingSource = run({ "check", directory + "/show", directory + "/src/Gone.cpp" });
	EXPECT_EQ(missingSource.exitCode, 1);
	EXPECT_NE(missingSource.output.find("Could not open the source file"), std::string::npos);
}

// The name check: the tracks the show declares against the authored ones, both ways.
#include "Demo.h"

#include <TrackCheck.h>
#include <TrackParser.h>

#include <gtest/gtest.h>

TEST(TrackCheck, ReportsNamesMissingEitherWay)
{
	const std::vector<DeclaredTrack> declared = { { "Camera FOV", "Frame" }, { "Part", "Frame" }, { "Colon Spin", "Colon" } };
	std::vector<AuthoredTrack> authored = { { "Camera FOV", { "show/main.tracks", 1 }, {} }, { "Part", { "show/main.tracks", 5 }, {} },
		{ "Camera Fov Typo", { "show/main.tracks", 3 }, {} } };
	const std::vector<std::string> expected = { "Colon: track \"Colon Spin\" is declared but not authored",
		"show/main.tracks:3: track \"Camera Fov Typo\" is authored but no part of the show declares it" };
	EXPECT_EQ(compareTracks(declared, authored), expected);

	authored.pop_back();
	authored.push_back({ "Colon Spin", { "show/colon.tracks", 1 }, {} });
	EXPECT_TRUE(compareTracks(declared, authored).empty());
}

// What the show declares and what show/ holds, both ways; a name misspelt on either side fails
// here with the name.
TEST(TrackCheck, TheShowsDeclaredTracksAreTheAuthoredOnes)
{
	std::vector<DeclaredTrack> declared;
	for (const ShowEntry& entry : Demo::showTable())
		for (const char* name : entry.declaration->tracks)
			declared.push_back({ name, entry.declaration->name });
	TrackParser parser;
	parser.parseDirectory(SHOW_DIR);
	for (const std::string& mismatch : compareTracks(declared, parser.getTracks()))
		ADD_FAILURE() << mismatch;
}

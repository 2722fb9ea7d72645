// The preview's track text editing, without a window: key lines inserted, re-typed and deleted
// with everything else kept, the show still compiling to the keys meant, saved files, undo to
// the byte, and a file someone else saved meanwhile.
#include "../unit/TrackFileFixture.h"

#include "TrackEditor.h"

#include "TrackFileWriter.h"
#include "TrackParser.h"

#include <filesystem>

namespace
{
	const std::string mainText = "# The frame.\n"
								 "\n"
								 "track Glow\n"
								 "    0:0      0        linear     # from black\n"
								 "    4:0      55       step\n"
								 "\n"
								 "# Rows, with tabs.\n"
								 "track Rows\n"
								 "\t10\t1\tstep\n";
}

TEST(TrackDocumentTest, EditsChangeOnlyTheirKeyLine)
{
	struct Case
	{
		const char* what;
		const char* track;
		SyncKey key;
		bool remove;
		const char* before; // the line the changed text has in place of...
		const char* after;  // ...this one ("" : none)
	};
	const Case cases[] = {
		{ "insert on a beat", "Glow", { 64, 3.0f, Linear }, false, "    4:0      55       step\n", "    2:0      3        linear\n    4:0      55       step\n" },
		{ "insert off the beat", "Glow", { 131, 7.0f, Step }, false, "    4:0      55       step\n", "    4:0      55       step\n    4:0.375  7        step\n" },
		{ "insert first", "Glow", { -4, 2.0f, Step }, false, "    0:0      0    ", "    -4       2        step\n    0:0      0    " },
		{ "replace, value longer", "Glow", { 128, 60.25f, Ramp }, false, "    4:0      55       step", "    4:0      60.25    ramp" },
		{ "replace keeps comment", "Glow", { 0, 1.0f, Smooth }, false, "0        linear     # from", "1        smooth     # from" },
		{ "delete", "Glow", { 128, 0.0f, Step }, true, "    4:0      55       step\n", "" },
		{ "rows with tabs", "Rows", { 12, 2.5f, Linear }, false, "\t10\t1\tstep\n", "\t10\t1\tstep\n\t12\t2.5\tlinear\n" },
		{ "new track at the end", "Fog", { 96, 0.5f, Step }, false, "\t10\t1\tstep\n", "\t10\t1\tstep\n\ntrack Fog\n\t96\t0.5\tstep\n" },
	};
	for (const Case& c : cases)
	{
		TrackDocument document("main.tracks", mainText);
		if (c.remove)
			EXPECT_TRUE(document.removeKey(c.track, c.key.row)) << c.what;
		else
			document.setKey(c.track, c.key);
		std::string expected = mainText;
		expected.replace(expected.find(c.before), std::string(c.before).size(), c.after);
		EXPECT_EQ(document.getText(), expected) << c.what;

		// What the compiler makes of the new text is the old keys with this one edit.
		TrackParser compiled;
		compiled.parse("main.tracks", document.getText());
		std::vector<SyncKey> meant;
		TrackParser original;
		original.parse("main.tracks", mainText);
		for (const AuthoredTrack& track : original.getTracks())
			if (track.name == c.track)
				for (const AuthoredKey& key : track.keys)
					if (key.key.row != c.key.row)
						meant.push_back(key.key);
		if (!c.remove)
			meant.push_back(c.key);
		std::sort(meant.begin(), meant.end(), [](const SyncKey& a, const SyncKey& b) { return a.row < b.row; });
		AuthoredTrack expectedTrack{ c.track, {}, {} };
		for (const SyncKey& key : meant)
			expectedTrack.keys.push_back(AuthoredKey{ key, {} });
		const AuthoredTrack* edited = document.findTrack(c.track);
		ASSERT_NE(edited, nullptr) << c.what;
		EXPECT_EQ(encodeTrack(*edited), encodeTrack(expectedTrack)) << c.what;
	}
}

class TrackEditorTest : public TrackFileFixture
{
protected:
	void SetUp() override
	{
		TrackFileFixture::SetUp();
		write("main.tracks", mainText);
		write("scene.tracks", "# A scene.\ntrack Scene Fade\n    0:0  1  step\n");
	}

	static KeyEdit set(const char* track, int32_t row, float value, const char* home = "")
	{
		return KeyEdit{ track, row, SyncKey{ row, value, Linear }, home };
	}

	std::string error;
};

TEST_F(TrackEditorTest, SavesEachEditAndUndoesItToTheByte)
{
	TrackEditor editor(directory);
	const std::string scene = read("scene.tracks");
	ASSERT_TRUE(editor.edit({ set("Glow", 64, 3.0f), set("Scene Fade", 32, 0.0f) }, "edit", error)) << error;
	EXPECT_NE(read("main.tracks").find("    2:0      3        linear\n    4:0"), std::string::npos);
	EXPECT_NE(read("scene.tracks").find("    1:0  0  linear\n"), std::string::npos);
	const std::string afterFirst = read("main.tracks");

	// A track no file defines goes into the file of its group.
	ASSERT_TRUE(editor.edit({ set("Scene Glow", 0, 2.0f, "scene.tracks") }, "edit", error)) << error;
	EXPECT_NE(read("scene.tracks").find("\ntrack Scene Glow\n    0:0  2  linear\n"), std::string::npos);
	EXPECT_EQ(editor.fileOf("Scene Glow"), "scene.tracks");

	ASSERT_TRUE(editor.undo(error)) << error;
	EXPECT_EQ(read("main.tracks"), afterFirst);
	ASSERT_TRUE(editor.undo(error)) << error;
	EXPECT_EQ(read("main.tracks"), mainText);
	EXPECT_EQ(read("scene.tracks"), scene);
	EXPECT_FALSE(editor.undo(error));
	EXPECT_TRUE(error.empty());
	ASSERT_TRUE(editor.redo(error)) << error;
	EXPECT_EQ(read("main.tracks"), afterFirst);

	// Deeper than a working session: every step back to the original bytes.
	for (int i = 0; i < 120; i++)
		ASSERT_TRUE(editor.edit({ set("Rows", 20 + i % 7, (float)i) }, "edit", error)) << error;
	for (int i = 0; i < 121; i++)
		ASSERT_TRUE(editor.undo(error)) << i << " " << error;
	EXPECT_EQ(read("main.tracks"), mainText);
	EXPECT_FALSE(std::filesystem::exists(directory + "/.main.tracks.saving"));
}

TEST_F(TrackEditorTest, AFileSavedElsewhereMeanwhileKeepsItsChange)
{
	TrackEditor editor(directory);
	ASSERT_TRUE(editor.edit({ set("Glow", 64, 3.0f) }, "edit", error)) << error;
	// Another editor adds a key and a comment.
	std::string theirs = read("main.tracks");
	theirs.insert(0, "# Theirs.\n");
	theirs.replace(theirs.find("\t10\t1\tstep\n"), 11, "\t10\t1\tstep\n\t40\t9\tstep\n");
	write("main.tracks", theirs);

	ASSERT_TRUE(editor.edit({ set("Glow", 96, 4.0f) }, "edit", error)) << error;
	const std::string both = read("main.tracks");
	EXPECT_EQ(both.rfind("# Theirs.\n", 0), 0u) << both;
	EXPECT_NE(both.find("\t40\t9\tstep\n"), std::string::npos) << both;
	EXPECT_NE(both.find("    3:0      4        linear\n"), std::string::npos) << both;

	ASSERT_TRUE(editor.undo(error)) << error;
	EXPECT_EQ(read("main.tracks"), theirs);
	// The step from before their save comes undone key by key, their change kept.
	write("main.tracks", theirs + "# Later.\n");
	ASSERT_TRUE(editor.undo(error)) << error;
	std::string expected = theirs + "# Later.\n";
	expected.erase(expected.find("    2:0      3        linear\n"), 29);
	EXPECT_EQ(read("main.tracks"), expected);

	// A broken file is named and not written over.
	write("main.tracks", "track Glow\n    0:0  x  step\n");
	EXPECT_FALSE(editor.edit({ set("Glow", 0, 1.0f) }, "edit", error));
	EXPECT_NE(error.find("main.tracks:2:"), std::string::npos) << error;
	EXPECT_EQ(read("main.tracks"), "track Glow\n    0:0  x  step\n");
}

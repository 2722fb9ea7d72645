// The tracks panel's sheet without a window, on scratch show files: what each command writes
// into the files (exact values, comments kept, keys only inside the show), what it says, and a
// broken file that blocks only itself. Scripts drive it as the panel's keys would.
#include "../unit/TrackFileFixture.h"

#include "PanelKeys.h"
#include "TrackSheet.h"

#include <fstream>
#include <set>
#include <sstream>

namespace
{
	const std::string mainText = "track Camera Z\n"
								 "    0:0      0        linear\n"
								 "    2:0      1.0      step     # keep me\n"
								 "\n"
								 "track Camera FOV\n"
								 "    0:0      60       step\n";
	const std::string garbitchText = "track Garbitch Fade\n    0:0      1        step\n";
}

class TrackSheetTest : public TrackFileFixture
{
protected:
	void SetUp() override
	{
		TrackFileFixture::SetUp();
		write("main.tracks", mainText);
		write("garbitch.tracks", garbitchText);
	}

	// The sheet over columns Camera Z, Camera FOV (main.tracks) and Garbitch Fade.
	TrackSheet& sheet()
	{
		if (!editor)
		{
			editor = std::make_unique<TrackEditor>(directory);
			open = std::make_unique<TrackSheet>(*editor, std::vector<TrackGroup>{
				{ "Camera", -1, "main.tracks", { "Camera Z", "Camera FOV" } }, { "Garbitch", 2, "garbitch.tracks", { "Garbitch Fade" } } });
		}
		return *open;
	}

	// Words: "@ROW" cursor row, "#COL" cursor column, "S+N" select N rows on, "S>" select a track
	// on, "=TEXT" type, "n+STEP" nudge, E Enter, D Delete, I interpolation, C/X/V copy/cut/paste,
	// U undo, R redo.
	void run(const std::string& script)
	{
		std::istringstream words(script);
		for (std::string word; words >> word;)
		{
			TrackSheet& s = sheet();
			const std::string rest = word.substr(1);
			switch (word[0])
			{
			case '@': s.place(std::stoi(rest), s.getColumn()); break;
			case '#': s.place(s.getRow(), std::stoi(rest)); break;
			case 'S': rest == ">" ? s.moveColumns(1, true) : s.moveRows(std::stoi(rest.substr(1)), true); break;
			case '=': for (char c : rest) s.type(c); break;
			case 'n': s.nudge(std::stod(rest)); break;
			case 'E': s.enter(); break;
			case 'D': s.removeSelected(); break;
			case 'I': s.cycleInterpolation(); break;
			case 'C': s.copy(); break;
			case 'X': s.cut(); break;
			case 'V': s.paste(); break;
			case 'U': s.undo(); break;
			case 'R': s.redo(); break;
			default: FAIL() << "no script word " << word;
			}
		}
	}

	// The lines main.tracks lost ("-") and gained ("+").
	std::vector<std::string> mainChanges()
	{
		std::set<std::string> before, after;
		std::istringstream old(mainText), now(read("main.tracks"));
		for (std::string line; std::getline(old, line);)
			before.insert(line);
		for (std::string line; std::getline(now, line);)
			after.insert(line);
		std::vector<std::string> changes;
		for (const std::string& line : before)
			if (!after.count(line))
				changes.push_back("-" + line);
		for (const std::string& line : after)
			if (!before.count(line))
				changes.push_back("+" + line);
		return changes;
	}

	// Runs a script on a fresh main.tracks and checks the lines it changed and what the sheet says.
	void expectScript(const std::string& script, const std::vector<std::string>& changes, const std::string& message)
	{
		write("main.tracks", mainText);
		editor.reset();
		run(script);
		EXPECT_EQ(mainChanges(), changes) << script;
		EXPECT_NE(sheet().getMessage().find(message), std::string::npos) << script << ": " << sheet().getMessage();
	}

	std::unique_ptr<TrackEditor> editor;
	std::unique_ptr<TrackSheet> open;
};

TEST_F(TrackSheetTest, WritesExactlyTheValuesTyped)
{
	const std::string nines(41, '9');
	struct Case
	{
		std::string script;
		std::vector<std::string> changes;
		std::string message; // a part of what the sheet says, or nothing
		std::string undo;
		std::string typed; // left for correction
	};
	const Case cases[] = {
		{ "@32 =70 E", { "+    1:0      70       linear" }, "", "undo: set Camera Z at 1:0", "" },
		{ "@32 =1200 E", { "+    1:0      1200     linear" }, "", "undo: set Camera Z at 1:0", "" },
		{ "@32 =0.0000001 E", { "+    1:0      0.0000001 linear" }, "", "undo: set Camera Z at 1:0", "" },
		{ "@32 E", { "+    1:0      0.5      linear" }, "", "undo: set Camera Z at 1:0", "" }, // the value there now
		{ "@0 =0.12 E n0.1", { "-    0:0      0        linear", "+    0:0      0.22     linear" }, "", "undo: nudge 1 key by +0.1", "" },
		{ "@0 =0.123456 E n1", { "-    0:0      0        linear", "+    0:0      1.123456 linear" }, "", "undo: nudge 1 key by +1", "" },
		{ "@0 =65.11 E n1", { "-    0:0      0        linear", "+    0:0      66.11    linear" }, "", "undo: nudge 1 key by +1", "" },
		{ "@0 =-100.16 E n-0.01", { "-    0:0      0        linear", "+    0:0      -100.17  linear" }, "", "undo: nudge 1 key by -0.01", "" },
		{ "@64 =2 E", { "-    2:0      1.0      step     # keep me", "+    2:0      2        step     # keep me" }, "", "undo: set Camera Z at 2:0", "" },
		// Enter alone on a key: no change, no undo step.
		{ "@64 E", {}, "", "nothing to undo", "" },
		{ "@32 =" + nines + " E", {}, "value \"" + nines + "\" does not fit a float", "nothing to undo", nines },
		{ "@32 =1.2.3 E", {}, "value \"1.2.3\" is not a decimal number", "nothing to undo", "1.2.3" },
		{ "@0 =5 E U", {}, "", "nothing to undo", "" },
		{ "@0 =5 E U R", { "-    0:0      0        linear", "+    0:0      5        linear" }, "", "undo: set Camera Z at 0:0", "" },
		{ "@0 I S+64 I", { "-    0:0      0        linear", "-    2:0      1.0      step     # keep me", "+    0:0      0        ramp",
			"+    2:0      1.0      linear   # keep me" }, "", "undo: interpolation of 2 keys", "" },
	};
	for (const Case& c : cases)
	{
		expectScript(c.script, c.changes, c.message);
		EXPECT_EQ(sheet().undoState(), c.undo) << c.script;
		EXPECT_EQ(sheet().getTyped(), c.typed) << c.script;
	}
}

TEST_F(TrackSheetTest, PastesStayInsideTheShowAndKeepComments)
{
	struct Case
	{
		const char* script;
		std::vector<std::string> changes;
		const char* message;
	};
	const Case cases[] = {
		// A block copied at the end, pasted four rows on: the key that would land past the last
		// row is left out, and the block clears the rest under it.
		{ "@1208 =3 E @1200 S+8 S> C #0 @1204 V", {}, "pasted 0 keys; left out 1 key in 4 rows past the show's last row (37:3)" },
		{ "@1208 =3 E @1208 C @1200 V", { "+    37:2     3        step", "+    37:3     3        step" }, "" },
		{ "#0 @0 S> C #2 V", {}, "pasted 1 key; left out 1 key in 1 track past the last track" },
		{ "@0 C @64 V", { "-    2:0      1.0      step     # keep me", "+    2:0      0        linear   # keep me" }, "" },
		{ "@0 S+64 X", { "-    0:0      0        linear", "-    2:0      1.0      step     # keep me" }, "" },
	};
	for (const Case& c : cases)
	{
		expectScript(c.script, c.changes, c.message);
		for (const TrackSheet::Column& column : sheet().getColumns())
			for (const SyncKey& key : column.keys)
				EXPECT_LE(key.row, Meter::lastRow) << c.script << " " << column.track;
	}
}

TEST_F(TrackSheetTest, ABrokenFileBlocksOnlyItself)
{
	sheet();
	write("garbitch.tracks", garbitchText + "    -1:0  2  step\n");
	sheet().refresh();
	EXPECT_NE(sheet().getBroken().find("garbitch.tracks:3:"), std::string::npos) << sheet().getBroken();
	const TrackSheet::Column& fade = sheet().getColumns()[2];
	EXPECT_TRUE(fade.broken);
	ASSERT_EQ(fade.keys.size(), 1u); // the last good keys
	EXPECT_EQ(fade.keys[0].value, 1.0f);

	run("#0 @32 =7 E");
	EXPECT_EQ(mainChanges(), std::vector<std::string>{ "+    1:0      7        linear" });
	run("#2 @32 =8 E");
	EXPECT_NE(sheet().getMessage().find("garbitch.tracks:3:"), std::string::npos) << sheet().getMessage();
	EXPECT_EQ(sheet().getTyped(), "8");

	write("garbitch.tracks", garbitchText);
	sheet().refresh();
	EXPECT_EQ(sheet().getBroken(), "");
	EXPECT_FALSE(sheet().getColumns()[2].broken);
}

TEST_F(TrackSheetTest, EscapeDropsTheNumberThenTheSelectionThenQuits)
{
	struct Case
	{
		const char* script;
		std::vector<bool> escapes; // what each Escape in turn answers
	};
	const Case cases[] = {
		{ "", { false } },
		{ "=5", { true, false } },
		{ "S+3", { true, false } },
		{ "S+3 =5", { true, true, false } },
	};
	for (const Case& c : cases)
	{
		editor.reset();
		sheet().toggleOpen();
		run(c.script);
		for (size_t i = 0; i < c.escapes.size(); i++)
			EXPECT_EQ(runPanelKey(sheet(), SDLK_ESCAPE, KMOD_NONE), c.escapes[i]) << c.script << " Escape " << i;
	}
}

TEST(PanelKeys, TheReadmeTableIsTheKeyTable)
{
	std::ifstream stream(std::string(HALVORINE_SOURCE_DIR) + "/README.md");
	std::stringstream readme;
	readme << stream.rdbuf();
	EXPECT_NE(readme.str().find(panelKeyMarkdown()), std::string::npos) << "README.md should hold this table:\n" << panelKeyMarkdown();
}

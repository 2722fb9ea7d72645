// The tracks panel's sheet without a window: the show's tracks as columns in groups, sync rows
// as lines, a cursor, a selection, a typed number, a clipboard, and every command that edits
// the keys through the TrackEditor. The panel draws it and maps keys to its commands.
#pragma once

#include "TrackColumns.h"
#include "TrackEditor.h"

#include <Meter.h>
#include <SyncKey.h>

#include <cstdint> // Required for: int32_t
#include <string>
#include <utility>
#include <vector>

class TrackSheet
{
public:
	struct Column
	{
		int group;
		std::string track;
		std::string file;           // the file that defines it, else its group's file
		std::vector<SyncKey> keys;  // as the file has them (a broken file: as it last read well)
		size_t labelStart;          // the header leaves out its group's name ("Colon Skybox Color": "Skybox Color")
		bool broken;                // its file does not compile now
	};
	// First and last row and column of the selection, or of the cursor's cell.
	struct Block
	{
		int32_t row0, row1;
		int column0, column1;
	};

	// The longest number that can be typed.
	static const size_t longestTyped = 48;

	TrackSheet(TrackEditor& editor, std::vector<TrackGroup> groups);

	// Reads the keys and the broken files again (after a reload, or a file saved elsewhere).
	void refresh();

	// The panel shown or hidden; the commands below leave that to whoever calls them.
	void toggleOpen() { open = !open; }
	bool isOpen() const { return open; }

	// The cursor follows the music's row (kept within the show).
	void follow(int32_t row);
	void moveRows(int32_t by, bool extend);
	void moveColumns(int by, bool extend);
	// To the previous (direction -1) or next key of the cursor's track.
	void moveToKey(int direction);
	// A click on a cell.
	void place(int32_t row, int column);
	void toggleFold(int group);

	// A character of a number: a digit, "." or "-".
	void type(char character);
	void eraseTyped();
	// Drops the typed number, else the selection; false when there was neither.
	bool escape();

	// The typed number becomes a key on the cursor's cell; without one, a cell between keys gets
	// a key of the value it has there now, and a key stays as it is.
	void enter();
	void removeSelected();
	void cycleInterpolation();
	void nudge(double step);
	void copy();
	void cut();
	void paste();
	void undo();
	void redo();

	// True once after a command changed the files.
	bool takeEdit();

	const std::vector<TrackGroup>& getGroups() const { return groups; }
	const std::vector<bool>& getFolded() const { return folded; }
	const std::vector<Column>& getColumns() const { return columns; }
	int32_t getRow() const { return row; }
	int getColumn() const { return column; }
	bool isSelecting() const { return selecting; }
	Block getBlock() const;
	const std::string& getTyped() const { return typed; }
	// What the last command said: a refusal, or what a paste left out; empty when all went well.
	const std::string& getMessage() const { return message; }
	// The message is for the command that made it: the next key forgets it.
	void clearMessage() { message.clear(); }
	// "saved main.tracks" after an edit, else empty.
	const std::string& getSaved() const { return saved; }
	// "undo: set Camera FOV at 14:0", or "nothing to undo".
	const std::string& undoState() const { return undoText; }
	// The broken files' messages, one a line.
	const std::string& getBroken() const { return broken; }

	const SyncKey* keyAt(int column, int32_t row) const;
	// The value the player gives the column's track on row.
	float valueAt(int column, double row) const;

private:
	// False (and the reason in the message) when the editor refused them.
	bool apply(const std::vector<KeyEdit>& edits, const std::string& what);
	KeyEdit editOf(int column, int32_t row) const;
	void select(bool extend);
	// The keys of the block, each with its column.
	std::vector<std::pair<int, SyncKey>> keysIn(const Block& block) const;
	std::string cellName(int column, int32_t row) const;
	std::string savedFiles() const;
	void rebuildColumns();
	// Undo or redo: the editor's step and what it would do, and the words for done and for none.
	void replay(bool (TrackEditor::*step)(std::string&), std::string (TrackEditor::*next)() const, const char* done,
		const char* nothing);

	// What a copy holds: keys with rows and columns counted from the block's corner.
	struct Clip
	{
		int32_t rows = 0;
		int columns = 0;
		std::vector<std::pair<int, SyncKey>> keys;
	};

	TrackEditor& editor;
	std::vector<TrackGroup> groups;
	std::vector<bool> folded; // per group
	std::vector<Column> columns; // the tracks of the groups not folded
	int32_t row = 0;
	int column = 0;
	bool selecting = false;
	int32_t anchorRow = 0;
	int anchorColumn = 0;
	std::string typed;
	Clip clip;
	std::string message;
	std::string saved;
	std::string broken;
	std::string undoText;
	bool edited = false;
	bool open = false;
};

// The preview's tracks panel, a live sync editor drawn with Dear ImGui: the show's tracks as
// columns grouped by scene or pass, sync rows as lines, the cursor on the music's position.
// Keys typed, moved, nudged, copied and undone here go through the TrackEditor into the
// show/*.tracks files at once.
#pragma once

#include "TrackColumns.h"
#include "TrackEditor.h"

#include <SDL.h>

#include <cstdint> // Required for: uint32_t
#include <functional>
#include <string>
#include <vector>

class Transport;
struct MusicSections;

class TracksPanel
{
public:
	TracksPanel(TrackEditor& editor, const std::string& showFolder, const MusicSections& sections);

	void toggle() { visible = !visible; }
	bool isVisible() const { return visible; }

	// The panel's keys while it is shown; true when it took the key. An edit that changed the
	// sources makes takeEdit() true once, so the preview compiles them before the next frame.
	bool handleKey(const SDL_KeyboardEvent& key, Transport& transport);
	bool takeEdit();
	// SDL_GetTicks() of the key that made the last edit.
	uint32_t getEditTicks() const { return editTicks; }
	const std::string& getError() const { return error; }

	// Reads the sources and the columns again (after a reload or an edit).
	void refresh();

	// Inside an ImGui frame. part: the scene "Part" selects now.
	void draw(double seconds, int part);

	// The panel's keys, for the overlay's help.
	static const char* const help[];
	static const int helpLines;

private:
	struct Column
	{
		int group;
		std::string track;
		std::vector<SyncKey> keys;
		size_t labelStart; // the header shows the name without its group's ("Colon Skybox Color": "Skybox Color")
	};
	struct Block
	{
		int rows = 0;
		int columns = 0;
		// Per key: column offset, and the key with its row counted from the block's top.
		std::vector<std::pair<int, SyncKey>> keys;
	};

	void moveRow(Transport& transport, int to);
	void moveColumn(int by);
	// The selection, or the cursor's cell: first and last row and column.
	void selected(int& row0, int& row1, int& column0, int& column1) const;
	const SyncKey* keyAt(int column, int row) const;
	float valueAt(int column, double row) const;
	void apply(const std::vector<KeyEdit>& edits);
	void setKey(float value);
	void removeSelected();
	void cycleType();
	void nudge(float by);
	void copy();
	void paste();
	KeyEdit editOf(int column, int row) const;
	void editSelectedKeys(const std::function<void(const SyncKey& key, KeyEdit& edit)>& change);

	TrackEditor& editor;
	std::string showFolder;
	const MusicSections& sections;
	std::vector<TrackGroup> groups;
	std::vector<bool> folded; // per group
	std::vector<Column> columns; // the tracks of the groups not folded, in order
	std::vector<float> columnLeft; // per column, its left edge this frame, or -1 when not shown
	bool visible = false;
	int cursorRow = 0;
	int cursorColumn = 0;
	int firstColumn = 0; // the leftmost column shown
	bool selecting = false;
	int anchorRow = 0;
	int anchorColumn = 0;
	std::string typed;
	Block clipboard;
	bool edited = false;
	uint32_t keyTicks = 0;
	uint32_t editTicks = 0;
	std::string error;
};

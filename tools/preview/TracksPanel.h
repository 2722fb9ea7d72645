// The preview's tracks panel, a live sync editor drawn with Dear ImGui: it draws the TrackSheet
// (columns, rows, the cursor on the music's position, a status line) and hands it the keys of
// PanelKeys.h and the mouse's clicks and wheel; every edit goes into the show/*.tracks files.
#pragma once

#include "TrackSheet.h"

#include <SDL.h>

#include <cstdint> // Required for: uint32_t
#include <string>
#include <vector>

class Transport;
struct MusicSections;

class TracksPanel
{
public:
	TracksPanel(TrackEditor& editor, std::vector<TrackGroup> groups, const MusicSections& sections);

	bool isVisible() const { return sheet.isOpen(); }

	// True when the panel took the key. It first puts the cursor on the music's row, so keys
	// that come before the first frame start from the position --at or --bar gave.
	bool handleKey(const SDL_KeyboardEvent& key, Transport& transport);
	// True once after an edit changed the sources, so the preview compiles them.
	bool takeEdit();
	// SDL_GetTicks() of the key that made the last edit.
	uint32_t getEditTicks() const { return editTicks; }
	const std::string& getMessage() const { return sheet.getMessage(); }

	// Reads the sources again (after a reload).
	void refresh() { sheet.refresh(); }

	// Inside an ImGui frame. part: the scene "Part" selects now. A click puts the cursor on a
	// cell, the wheel moves it by rows; both move the music with it.
	void draw(Transport& transport, int part);

private:
	void drawHeader(float left, float top, float right, float bottom, int part);
	void drawRows(float top, float bottom, float right);
	void drawStatus(float left, float top);
	void handleMouse(Transport& transport, float top, float bottom);
	void seekToCursor(Transport& transport);

	TrackSheet sheet;
	const MusicSections& sections;
	std::vector<float> columnLeft;  // per column, its left edge this frame, or -1 when not shown
	std::vector<float> columnWidth; // per column, wide enough for its name and its values
	int firstColumn = 0;
	float rowLabelWidth = 0.0f;
	float lineHeight = 0.0f;
	int topRow = 0;
	uint32_t editTicks = 0;
	bool edited = false;
};

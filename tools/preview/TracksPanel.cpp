#include "TracksPanel.h"

#include "MusicSections.h"
#include "Show.h"
#include "ShowPosition.h"
#include "TrackSyntax.h"
#include "Transport.h"

#include <SyncTrack.h>

#include <imgui.h>

#include <algorithm>
#include <functional>
#include <cmath>   // Required for: floor()
#include <cstdio>  // Required for: snprintf()
#include <cstdlib> // Required for: strtof()

namespace
{
	const int lastRow = (int)(Show::length * Show::rowsPerSecond);
	const float rowLabelWidth = 96.0f;
	const float columnWidth = 66.0f;
	const float foldedWidth = 14.0f;

	const ImU32 textColour = IM_COL32(235, 235, 235, 255);
	const ImU32 faintColour = IM_COL32(140, 140, 140, 255);
	const ImU32 barColour = IM_COL32(120, 120, 140, 255);
	const ImU32 cursorColour = IM_COL32(70, 90, 150, 200);
	const ImU32 selectionColour = IM_COL32(150, 110, 50, 150);
	const ImU32 partColour = IM_COL32(255, 205, 90, 255);
	const ImU32 sectionColour = IM_COL32(120, 200, 255, 255);

	bool isTypedCharacter(SDL_Keycode key, char& character)
	{
		if (key >= SDLK_0 && key <= SDLK_9)
			character = (char)('0' + (key - SDLK_0));
		else if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
			character = (char)('1' + (key - SDLK_KP_1));
		else if (key == SDLK_KP_0)
			character = '0';
		else if (key == SDLK_MINUS || key == SDLK_KP_MINUS)
			character = '-';
		else if (key == SDLK_PERIOD || key == SDLK_KP_PERIOD)
			character = '.';
		else
			return false;
		return true;
	}

	const char* const typeLetters[] = { "step", "lin", "smth", "ramp" };
}

const char* const TracksPanel::help[] = {
	"T tracks panel. In it: Up/Down a row, PgUp/PgDn a bar, Left/Right a track, Ctrl+Up/Down previous/next key",
	"0-9 . - then Enter: set a key (Enter alone: the value there now); Del removes; I cycles step/linear/smooth/ramp",
	"[ ] nudge -/+0.1 (Ctrl 0.01, Shift 1, Ctrl+Shift 10); Shift+arrows select; Ctrl+C/X/V; Ctrl+Z undo, Ctrl+Shift+Z redo",
};
const int TracksPanel::helpLines = sizeof help / sizeof help[0];

TracksPanel::TracksPanel(TrackEditor& editor, const std::string& showFolder, const MusicSections& sections)
	: editor(editor), showFolder(showFolder), sections(sections)
{
	refresh();
}

void TracksPanel::refresh()
{
	editor.refresh();
	std::vector<TrackGroup> found = trackColumns(showFolder);
	// A file with an error keeps the columns of the last good show.
	bool any = false;
	for (const TrackGroup& group : found)
		any = any || !group.tracks.empty();
	if (any || groups.empty())
		groups = found;
	folded.resize(groups.size(), false);

	const std::string cursorTrack = cursorColumn < (int)columns.size() ? columns[cursorColumn].track : "";
	columns.clear();
	for (int g = 0; g < (int)groups.size(); g++)
		if (!folded[g])
			for (const std::string& track : groups[g].tracks)
			{
				const std::string prefix = groups[g].name + " ";
				const size_t labelStart = track.size() > prefix.size() && track.compare(0, prefix.size(), prefix) == 0 ? prefix.size() : 0;
				columns.push_back(Column{ g, track, editor.getKeys(track), labelStart });
			}
	cursorColumn = std::min(cursorColumn, std::max(0, (int)columns.size() - 1));
	for (int c = 0; c < (int)columns.size(); c++)
		if (columns[c].track == cursorTrack)
			cursorColumn = c;
	anchorColumn = std::min(anchorColumn, std::max(0, (int)columns.size() - 1));
	columnLeft.assign(columns.size(), -1.0f);
}

bool TracksPanel::takeEdit()
{
	const bool was = edited;
	edited = false;
	return was;
}

const SyncKey* TracksPanel::keyAt(int column, int row) const
{
	for (const SyncKey& key : columns[column].keys)
		if (key.row == row)
			return &key;
	return nullptr;
}

float TracksPanel::valueAt(int column, double row) const
{
	// The player's own evaluation over the keys as the text has them.
	const std::vector<SyncKey>& keys = columns[column].keys;
	SyncTrack track{ nullptr, const_cast<SyncKey*>(keys.data()), (int32_t)keys.size() };
	return track.valueAt(row);
}

KeyEdit TracksPanel::editOf(int column, int row) const
{
	return KeyEdit{ columns[column].track, row, std::nullopt, groups[columns[column].group].file };
}

void TracksPanel::selected(int& row0, int& row1, int& column0, int& column1) const
{
	row0 = selecting ? std::min(anchorRow, cursorRow) : cursorRow;
	row1 = selecting ? std::max(anchorRow, cursorRow) : cursorRow;
	column0 = selecting ? std::min(anchorColumn, cursorColumn) : cursorColumn;
	column1 = selecting ? std::max(anchorColumn, cursorColumn) : cursorColumn;
}

void TracksPanel::apply(const std::vector<KeyEdit>& edits)
{
	if (edits.empty())
		return;
	if (editor.edit(edits, error))
	{
		error.clear();
		edited = true;
		editTicks = keyTicks;
	}
	refresh();
}

void TracksPanel::setKey(float value)
{
	KeyEdit edit = editOf(cursorColumn, cursorRow);
	// A new key goes on in the interpolation of the segment it splits.
	const SyncKey* existing = keyAt(cursorColumn, cursorRow);
	int32_t type = existing ? existing->type : Step;
	if (!existing)
		for (const SyncKey& key : columns[cursorColumn].keys)
			if (key.row < cursorRow)
				type = key.type;
	edit.key = SyncKey{ cursorRow, value, type };
	apply({ edit });
}

// One edit for each key in the selection: change sets the key it becomes; left unset, it goes.
void TracksPanel::editSelectedKeys(const std::function<void(const SyncKey& key, KeyEdit& edit)>& change)
{
	int row0, row1, column0, column1;
	selected(row0, row1, column0, column1);
	std::vector<KeyEdit> edits;
	for (int c = column0; c <= column1; c++)
		for (const SyncKey& key : columns[c].keys)
			if (key.row >= row0 && key.row <= row1)
			{
				edits.push_back(editOf(c, key.row));
				change(key, edits.back());
			}
	apply(edits);
}

void TracksPanel::removeSelected()
{
	editSelectedKeys([](const SyncKey&, KeyEdit&) {});
}

void TracksPanel::cycleType()
{
	editSelectedKeys([](const SyncKey& key, KeyEdit& edit) {
		edit.key = SyncKey{ key.row, key.value, (key.type + 1) % (Ramp + 1) };
	});
}

void TracksPanel::nudge(float by)
{
	// Rounded to the step, so 0.1 + 0.2 reads back as 0.3 in the file.
	const double step = std::fabs(by) < 0.1f ? 0.01 : 0.1;
	editSelectedKeys([by, step](const SyncKey& key, KeyEdit& edit) {
		edit.key = SyncKey{ key.row, (float)(std::round(((double)key.value + by) / step) * step), key.type };
	});
}

void TracksPanel::copy()
{
	int row0, row1, column0, column1;
	selected(row0, row1, column0, column1);
	clipboard = Block{ row1 - row0 + 1, column1 - column0 + 1, {} };
	for (int c = column0; c <= column1; c++)
		for (const SyncKey& key : columns[c].keys)
			if (key.row >= row0 && key.row <= row1)
				clipboard.keys.emplace_back(c - column0, SyncKey{ key.row - row0, key.value, key.type });
}

void TracksPanel::paste()
{
	// The block replaces what lies under it, from the cursor right and down.
	std::vector<KeyEdit> edits;
	for (int c = 0; c < clipboard.columns && cursorColumn + c < (int)columns.size(); c++)
		for (const SyncKey& key : columns[cursorColumn + c].keys)
			if (key.row >= cursorRow && key.row < cursorRow + clipboard.rows)
				edits.push_back(editOf(cursorColumn + c, key.row));
	for (const auto& [column, key] : clipboard.keys)
		if (cursorColumn + column < (int)columns.size())
		{
			KeyEdit edit = editOf(cursorColumn + column, cursorRow + key.row);
			edit.key = SyncKey{ cursorRow + key.row, key.value, key.type };
			edits.push_back(edit);
		}
	apply(edits);
}

void TracksPanel::moveRow(Transport& transport, int to)
{
	cursorRow = std::clamp(to, 0, lastRow);
	transport.seek(cursorRow / Show::rowsPerSecond);
}

void TracksPanel::moveColumn(int by)
{
	cursorColumn = std::clamp(cursorColumn + by, 0, std::max(0, (int)columns.size() - 1));
}

bool TracksPanel::handleKey(const SDL_KeyboardEvent& key, Transport& transport)
{
	const SDL_Keycode code = key.keysym.sym;
	keyTicks = key.timestamp;
	if (code == SDLK_t)
	{
		toggle();
		return true;
	}
	if (!visible || columns.empty())
		return false;
	const bool shift = (key.keysym.mod & KMOD_SHIFT) != 0;
	const bool control = (key.keysym.mod & KMOD_CTRL) != 0;

	char character = 0;
	if (!control && isTypedCharacter(code, character))
	{
		if (typed.size() < 24)
			typed += character;
		return true;
	}
	if (!typed.empty() && code == SDLK_BACKSPACE)
	{
		typed.pop_back();
		return true;
	}
	if (!typed.empty() && code == SDLK_ESCAPE)
	{
		typed.clear();
		return true;
	}

	const bool arrow = code == SDLK_UP || code == SDLK_DOWN || code == SDLK_LEFT || code == SDLK_RIGHT ||
		code == SDLK_PAGEUP || code == SDLK_PAGEDOWN;
	if (arrow && !control)
	{
		if (shift && !selecting)
		{
			selecting = true;
			anchorRow = cursorRow;
			anchorColumn = cursorColumn;
		}
		else if (!shift)
			selecting = false;
	}

	const int rowsPerBar = beatsPerBar * rowsPerBeat;
	switch (code)
	{
	case SDLK_UP:
	case SDLK_DOWN:
	{
		const int direction = code == SDLK_UP ? -1 : 1;
		if (!control)
		{
			moveRow(transport, cursorRow + direction);
			break;
		}
		// The previous or next key of the track.
		const std::vector<SyncKey>& keys = columns[cursorColumn].keys;
		int to = cursorRow;
		for (const SyncKey& k : keys)
			if (direction < 0 ? k.row < cursorRow : k.row > cursorRow)
			{
				to = k.row;
				if (direction > 0)
					break;
			}
		moveRow(transport, to);
		break;
	}
	case SDLK_PAGEUP: moveRow(transport, cursorRow - rowsPerBar); break;
	case SDLK_PAGEDOWN: moveRow(transport, cursorRow + rowsPerBar); break;
	case SDLK_LEFT: moveColumn(-1); break;
	case SDLK_RIGHT: moveColumn(1); break;
	case SDLK_RETURN:
	case SDLK_KP_ENTER:
	{
		float value = valueAt(cursorColumn, cursorRow);
		std::string reason;
		if (!typed.empty() && !parseValue(typed, value, reason))
		{
			error = reason;
			typed.clear();
			break;
		}
		typed.clear();
		setKey(value);
		break;
	}
	case SDLK_DELETE: removeSelected(); break;
	case SDLK_i: cycleType(); break;
	case SDLK_LEFTBRACKET:
	case SDLK_RIGHTBRACKET:
	{
		const float size = control && shift ? 10.0f : control ? 0.01f : shift ? 1.0f : 0.1f;
		nudge(code == SDLK_LEFTBRACKET ? -size : size);
		break;
	}
	case SDLK_c:
		if (!control)
			return false;
		copy();
		break;
	case SDLK_x:
		if (!control)
			return false;
		copy();
		removeSelected();
		break;
	case SDLK_v:
		if (!control)
			return false;
		paste();
		break;
	case SDLK_z:
		if (!control)
			return false;
		if (shift ? editor.redo(error) : editor.undo(error))
		{
			edited = true;
			editTicks = keyTicks;
		}
		refresh();
		break;
	default:
		return false;
	}
	return true;
}

void TracksPanel::draw(double seconds, int part)
{
	if (!visible)
		return;
	// While the music plays the cursor follows it.
	cursorRow = std::clamp((int)std::floor(ShowPosition::rowAt(seconds)), 0, lastRow);

	const ImVec2 display = ImGui::GetIO().DisplaySize;
	ImGui::SetNextWindowPos(ImVec2(8.0f, display.y * 0.42f));
	ImGui::SetNextWindowSize(ImVec2(display.x - 16.0f, display.y * 0.58f - 8.0f));
	ImGui::SetNextWindowBgAlpha(0.7f);
	ImGui::Begin("tracks", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove);
	ImDrawList* draw = ImGui::GetWindowDrawList();
	const ImVec2 origin = ImGui::GetCursorScreenPos();
	const ImVec2 area = ImGui::GetContentRegionAvail();
	const float line = ImGui::GetTextLineHeight();
	char text[64];

	bool foldChanged = false;
	// Columns from firstColumn on, as many as fit, keeping the cursor's in view.
	const int fit = std::max(1, (int)((area.x - rowLabelWidth) / columnWidth) - 1);
	if (cursorColumn < firstColumn)
		firstColumn = cursorColumn;
	if (cursorColumn >= firstColumn + fit)
		firstColumn = cursorColumn - fit + 1;
	firstColumn = std::clamp(firstColumn, 0, std::max(0, (int)columns.size() - 1));

	// Header: the group names (a click folds or opens a group), then the track names. Groups
	// left of the first shown column are left out; a folded one is a narrow bar. Each shown
	// column's left edge is kept for the rows.
	const float right = origin.x + area.x;
	const float headerBottom = origin.y + 2.0f * line + 4.0f;
	std::fill(columnLeft.begin(), columnLeft.end(), -1.0f);
	float x = origin.x + rowLabelWidth;
	int column = 0;
	for (int g = 0; g < (int)groups.size() && x < right; g++)
	{
		const TrackGroup& group = groups[g];
		const bool shownScene = group.sceneIndex >= 0 && group.sceneIndex == part;
		const ImU32 colour = shownScene ? partColour : textColour;
		ImGui::PushID(g);
		if (folded[g])
		{
			if (column >= firstColumn)
			{
				ImGui::SetCursorScreenPos(ImVec2(x, origin.y));
				if (ImGui::InvisibleButton("fold", ImVec2(foldedWidth, 2.0f * line)))
					folded[g] = false, foldChanged = true;
				draw->AddRectFilled(ImVec2(x + 2.0f, origin.y), ImVec2(x + foldedWidth - 2.0f, origin.y + area.y), IM_COL32(80, 80, 90, 160));
				draw->AddText(ImVec2(x + 2.0f, origin.y), colour, "+");
				x += foldedWidth;
			}
			ImGui::PopID();
			continue;
		}
		const float groupX = x;
		for (size_t t = 0; t < group.tracks.size(); t++, column++)
			if (column >= firstColumn && x + columnWidth <= right)
			{
				columnLeft[column] = x;
				x += columnWidth;
			}
		if (x > groupX)
		{
			ImGui::SetCursorScreenPos(ImVec2(groupX, origin.y));
			if (ImGui::InvisibleButton("fold", ImVec2(x - groupX, line)))
				folded[g] = true, foldChanged = true;
			std::snprintf(text, sizeof text, "- %s%s", group.name.c_str(), shownScene ? "  (shown)" : "");
			draw->AddLine(ImVec2(groupX, origin.y), ImVec2(groupX, origin.y + area.y), barColour);
			draw->PushClipRect(ImVec2(groupX, origin.y), ImVec2(x, headerBottom), true);
			draw->AddText(ImVec2(groupX + 3.0f, origin.y), colour, text);
			draw->PopClipRect();
		}
		ImGui::PopID();
	}
	for (int c = 0; c < (int)columns.size(); c++)
		if (columnLeft[c] >= 0.0f)
		{
			const float left = columnLeft[c];
			draw->PushClipRect(ImVec2(left, origin.y), ImVec2(left + columnWidth - 2.0f, headerBottom), true);
			draw->AddText(ImVec2(left + 3.0f, origin.y + line + 2.0f), c == cursorColumn ? partColour : textColour, columns[c].track.c_str() + columns[c].labelStart);
			draw->PopClipRect();
		}
	draw->AddLine(ImVec2(origin.x, headerBottom - 1.0f), ImVec2(origin.x + area.x, headerBottom - 1.0f), barColour);

	// Rows, the cursor's in the middle.
	const int rowCount = std::max(1, (int)((origin.y + area.y - headerBottom) / line));
	const int topRow = cursorRow - rowCount / 2;
	int row0, row1, column0, column1;
	selected(row0, row1, column0, column1);
	for (int r = 0; r < rowCount; r++)
	{
		const int row = topRow + r;
		if (row < 0 || row > lastRow)
			continue;
		const float y = headerBottom + r * line;
		if (row == cursorRow)
			draw->AddRectFilled(ImVec2(origin.x, y), ImVec2(origin.x + area.x, y + line), cursorColour);
		if (row % (beatsPerBar * rowsPerBeat) == 0)
			draw->AddLine(ImVec2(origin.x, y), ImVec2(origin.x + area.x, y), barColour);
		// The row, its bar:beat on beats, and a section's name where it starts.
		const std::string barBeat = row % rowsPerBeat == 0 ? formatBarBeat(row) : "";
		std::snprintf(text, sizeof text, "%4d %s", row, barBeat.c_str());
		draw->AddText(ImVec2(origin.x, y), row % rowsPerBeat == 0 ? textColour : faintColour, text);
		for (const MusicSection& section : sections.sections)
			if ((int)std::ceil(section.from * Show::rowsPerSecond - 1e-6) == row)
				draw->AddText(ImVec2(origin.x + 60.0f, y), sectionColour, section.name.c_str());

		for (int c = 0; c < (int)columns.size(); c++)
		{
			const float left = columnLeft[c];
			if (left < 0.0f)
				continue;
			if (row >= row0 && row <= row1 && c >= column0 && c <= column1 && (selecting || !typed.empty()))
				draw->AddRectFilled(ImVec2(left, y), ImVec2(left + columnWidth - 2.0f, y + line), selectionColour);
			if (row == cursorRow && c == cursorColumn)
				draw->AddRect(ImVec2(left, y), ImVec2(left + columnWidth - 2.0f, y + line), partColour);
			const SyncKey* key = keyAt(c, row);
			if (row == cursorRow && c == cursorColumn && !typed.empty())
				std::snprintf(text, sizeof text, "%s_", typed.c_str());
			else if (key)
				std::snprintf(text, sizeof text, "%.4g %s", key->value, key->type >= Step && key->type <= Ramp ? typeLetters[key->type] : "?");
			else
				std::snprintf(text, sizeof text, "%.4g", valueAt(c, row));
			draw->PushClipRect(ImVec2(left, y), ImVec2(left + columnWidth - 2.0f, y + line), true);
			draw->AddText(ImVec2(left + 3.0f, y), key || (row == cursorRow && c == cursorColumn) ? textColour : faintColour, text);
			draw->PopClipRect();
		}
	}
	if (foldChanged)
		refresh();
	if (!error.empty())
		draw->AddText(ImVec2(origin.x, origin.y + area.y - line), IM_COL32(255, 115, 100, 255), error.c_str());
	ImGui::End();
}

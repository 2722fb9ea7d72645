#include "TracksPanel.h"

#include "MusicSections.h"
#include "PanelKeys.h"
#include "TrackSyntax.h"
#include "Transport.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>  // Required for: floor(), ceil()
#include <cstdio> // Required for: snprintf()

namespace
{
	const float foldedWidth = 14.0f;
	const float gap = 14.0f;
	// A cell is at least this wide: room for most values with their interpolation.
	const char* const widestCell = "-100.125 smth";
	const char* const widestRowLabel = "9999 37:3.5 ";
	const char* const typeLetters[] = { "step", "lin", "smth", "ramp" };

	const ImU32 textColour = IM_COL32(235, 235, 235, 255);
	const ImU32 faintColour = IM_COL32(150, 150, 150, 255);
	const ImU32 barColour = IM_COL32(120, 120, 140, 255);
	const ImU32 cursorColour = IM_COL32(70, 90, 150, 220);
	const ImU32 selectionColour = IM_COL32(150, 110, 50, 170);
	const ImU32 partColour = IM_COL32(255, 205, 90, 255);
	const ImU32 sectionColour = IM_COL32(120, 200, 255, 255);
	const ImU32 errorColour = IM_COL32(255, 120, 105, 255);
	const ImVec4 errorText(1.0f, 0.47f, 0.41f, 1.0f);

	const char* typeLetter(int32_t type)
	{
		return type >= Step && type <= Ramp ? typeLetters[type] : "?";
	}
}

TracksPanel::TracksPanel(TrackEditor& editor, std::vector<TrackGroup> groups, const MusicSections& sections)
	: sheet(editor, std::move(groups)), sections(sections)
{
}

void TracksPanel::seekToCursor(Transport& transport)
{
	transport.seek(Meter::secondsAt(sheet.getRow()));
}

bool TracksPanel::handleKey(const SDL_KeyboardEvent& key, Transport& transport)
{
	sheet.follow((int32_t)std::floor(Meter::rowAt(transport.getPosition())));
	const int32_t row = sheet.getRow();
	sheet.clearMessage();
	if (!runPanelKey(sheet, key.keysym.sym, key.keysym.mod))
		return false;
	if (sheet.getRow() != row)
		seekToCursor(transport);
	if (sheet.takeEdit())
	{
		editTicks = key.timestamp;
		edited = true;
	}
	return true;
}

bool TracksPanel::takeEdit()
{
	const bool was = edited;
	edited = false;
	return was;
}

void TracksPanel::draw(Transport& transport, int part)
{
	if (!sheet.isOpen())
		return;
	// While the music plays the cursor follows it.
	sheet.follow((int32_t)std::floor(Meter::rowAt(transport.getPosition())));

	const ImVec2 display = ImGui::GetIO().DisplaySize;
	ImGui::SetNextWindowPos(ImVec2(8.0f, display.y * 0.42f));
	ImGui::SetNextWindowSize(ImVec2(display.x - 16.0f, display.y * 0.58f - 8.0f));
	ImGui::SetNextWindowBgAlpha(0.92f); // opaque enough to read over the brightest picture
	ImGui::Begin("tracks", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove);
	const ImVec2 origin = ImGui::GetCursorScreenPos();
	const ImVec2 area = ImGui::GetContentRegionAvail();
	lineHeight = ImGui::GetTextLineHeight();

	// The status lines take what they need at the bottom; the sheet takes the rest.
	const float wrap = area.x;
	float statusHeight = 2.0f * lineHeight + 4.0f;
	for (const std::string* text : { &sheet.getMessage(), &sheet.getBroken() })
		if (!text->empty())
			statusHeight += ImGui::CalcTextSize(text->c_str(), nullptr, false, wrap).y;
	const float sheetBottom = std::max(origin.y + 3.0f * lineHeight, origin.y + area.y - statusHeight);
	const float right = origin.x + area.x;

	// The row labels make room for the longest section name.
	rowLabelWidth = ImGui::CalcTextSize(widestRowLabel).x;
	float longestSection = 0.0f;
	for (const MusicSection& section : sections.sections)
		longestSection = std::max(longestSection, ImGui::CalcTextSize(section.name.c_str()).x);
	rowLabelWidth += longestSection + gap;

	const float headerBottom = origin.y + 2.0f * lineHeight + 4.0f;
	drawHeader(origin.x, origin.y, right, sheetBottom, part);
	drawRows(headerBottom, sheetBottom, right);
	handleMouse(transport, headerBottom, sheetBottom);
	drawStatus(origin.x, sheetBottom + 4.0f);
	ImGui::End();
}

void TracksPanel::drawHeader(float left, float top, float right, float bottom, int part)
{
	const std::vector<TrackSheet::Column>& columns = sheet.getColumns();
	ImDrawList* draw = ImGui::GetWindowDrawList();
	const float minimum = ImGui::CalcTextSize(widestCell).x + gap;
	columnWidth.resize(columns.size());
	columnLeft.assign(columns.size(), -1.0f);
	for (size_t c = 0; c < columns.size(); c++)
		columnWidth[c] = std::max(minimum, ImGui::CalcTextSize(columns[c].track.c_str() + columns[c].labelStart).x + gap);

	// Columns from firstColumn on, as many as fit, keeping the cursor's in view.
	const int cursor = sheet.getColumn();
	firstColumn = std::min(firstColumn, cursor);
	for (;;)
	{
		float used = left + rowLabelWidth;
		for (int c = firstColumn; c <= cursor && c < (int)columns.size(); c++)
			used += columnWidth[c];
		if (used <= right || firstColumn >= cursor)
			break;
		firstColumn++;
	}

	// Group names (a click folds or opens a group) over their columns; a folded group is a
	// narrow bar. Groups left of the first shown column are left out.
	const float headerBottom = top + 2.0f * lineHeight + 4.0f;
	const std::vector<TrackGroup>& groups = sheet.getGroups();
	float x = left + rowLabelWidth;
	int column = 0;
	char text[96];
	for (int g = 0; g < (int)groups.size() && x < right; g++)
	{
		const TrackGroup& group = groups[g];
		const ImU32 colour = group.sceneIndex >= 0 && group.sceneIndex == part ? partColour : textColour;
		ImGui::PushID(g);
		if (sheet.getFolded()[g])
		{
			if (column >= firstColumn)
			{
				ImGui::SetCursorScreenPos(ImVec2(x, top));
				if (ImGui::InvisibleButton("fold", ImVec2(foldedWidth, 2.0f * lineHeight)))
					sheet.toggleFold(g);
				draw->AddRectFilled(ImVec2(x + 2.0f, top), ImVec2(x + foldedWidth - 2.0f, bottom), IM_COL32(80, 80, 90, 200));
				draw->AddText(ImVec2(x + 2.0f, top), colour, "+");
				x += foldedWidth;
			}
			ImGui::PopID();
			continue;
		}
		const float groupX = x;
		for (size_t t = 0; t < group.tracks.size() && column < (int)columns.size(); t++, column++)
			if (column >= firstColumn && x + columnWidth[column] <= right)
			{
				columnLeft[column] = x;
				x += columnWidth[column];
			}
		if (x > groupX)
		{
			ImGui::SetCursorScreenPos(ImVec2(groupX, top));
			if (ImGui::InvisibleButton("fold", ImVec2(x - groupX, lineHeight)))
				sheet.toggleFold(g);
			std::snprintf(text, sizeof text, "- %s%s", group.name.c_str(), colour == partColour ? "  (shown)" : "");
			draw->AddLine(ImVec2(groupX, top), ImVec2(groupX, bottom), barColour);
			draw->PushClipRect(ImVec2(groupX, top), ImVec2(x, headerBottom), true);
			draw->AddText(ImVec2(groupX + 3.0f, top), colour, text);
			draw->PopClipRect();
		}
		ImGui::PopID();
	}
	// Folding changed the columns: they are laid out again next frame.
	if (columnLeft.size() != sheet.getColumns().size())
		return;
	for (int c = 0; c < (int)columns.size(); c++)
		if (columnLeft[c] >= 0.0f)
		{
			const ImU32 colour = columns[c].broken ? errorColour : c == cursor ? partColour : textColour;
			std::snprintf(text, sizeof text, "%s%s", columns[c].broken ? "! " : "", columns[c].track.c_str() + columns[c].labelStart);
			draw->AddText(ImVec2(columnLeft[c] + 3.0f, top + lineHeight + 2.0f), colour, text);
		}
	draw->AddLine(ImVec2(left, headerBottom - 1.0f), ImVec2(right, headerBottom - 1.0f), barColour);
}

void TracksPanel::drawRows(float top, float bottom, float right)
{
	const std::vector<TrackSheet::Column>& columns = sheet.getColumns();
	if (columnLeft.size() != columns.size())
		return;
	ImDrawList* draw = ImGui::GetWindowDrawList();
	const float left = right - ImGui::GetContentRegionAvail().x;
	const float sectionX = left + ImGui::CalcTextSize(widestRowLabel).x;
	const int rowCount = std::max(1, (int)((bottom - top) / lineHeight));
	const int32_t cursorRow = sheet.getRow();
	topRow = cursorRow - rowCount / 2;
	const TrackSheet::Block block = sheet.getBlock();
	const bool marked = sheet.isSelecting() || !sheet.getTyped().empty();
	char text[96];
	ValueText value;
	for (int r = 0; r < rowCount; r++)
	{
		const int32_t row = topRow + r;
		if (row < 0 || row > Meter::lastRow)
			continue;
		const float y = top + r * lineHeight;
		if (row == cursorRow)
			draw->AddRectFilled(ImVec2(left, y), ImVec2(right, y + lineHeight), cursorColour);
		if (row % Show::rowsPerBar == 0)
			draw->AddLine(ImVec2(left, y), ImVec2(right, y), barColour);
		// The row, its bar:beat on beats, and a section's name where it starts.
		const bool onBeat = row % Show::rowsPerBeat == 0;
		std::snprintf(text, sizeof text, "%4d %s", row, onBeat ? Meter::formatBarBeat(row).c_str() : "");
		draw->AddText(ImVec2(left, y), onBeat ? textColour : faintColour, text);
		for (const MusicSection& section : sections.sections)
			if ((int32_t)std::ceil(Meter::rowAt(section.from) - 1e-6) == row)
				draw->AddText(ImVec2(sectionX, y), sectionColour, section.name.c_str());

		for (int c = 0; c < (int)columns.size(); c++)
		{
			const float cellLeft = columnLeft[c];
			if (cellLeft < 0.0f)
				continue;
			const ImVec2 cellMin(cellLeft, y);
			const ImVec2 cellMax(cellLeft + columnWidth[c] - 2.0f, y + lineHeight);
			const bool atCursor = row == cursorRow && c == sheet.getColumn();
			if (marked && row >= block.row0 && row <= block.row1 && c >= block.column0 && c <= block.column1)
				draw->AddRectFilled(cellMin, cellMax, selectionColour);
			if (atCursor)
				draw->AddRect(cellMin, cellMax, partColour);
			const SyncKey* key = sheet.keyAt(c, row);
			const char* shown = text;
			if (atCursor && !sheet.getTyped().empty())
			{
				// A number longer than the cell scrolls: its end and the caret stay in view.
				std::snprintf(text, sizeof text, "%s_", sheet.getTyped().c_str());
				while (shown[1] && ImGui::CalcTextSize(shown).x > cellMax.x - cellMin.x - 4.0f)
					shown++;
			}
			else if (key)
				std::snprintf(text, sizeof text, "%s %s", formatValue(key->value, value), typeLetter(key->type));
			else
				std::snprintf(text, sizeof text, "%s", formatValue(sheet.valueAt(c, row), value));
			draw->PushClipRect(cellMin, cellMax, true);
			draw->AddText(ImVec2(cellLeft + 3.0f, y), key || atCursor ? (columns[c].broken ? errorColour : textColour) : faintColour, shown);
			draw->PopClipRect();
		}
	}
}

void TracksPanel::handleMouse(Transport& transport, float top, float bottom)
{
	if (!ImGui::IsWindowHovered())
		return;
	const ImGuiIO& io = ImGui::GetIO();
	const int32_t row = sheet.getRow();
	if (io.MouseWheel != 0.0f)
		sheet.moveRows((int32_t)(-io.MouseWheel * Show::rowsPerBeat), sheet.isSelecting());
	if (ImGui::IsMouseClicked(0) && io.MousePos.y >= top && io.MousePos.y < bottom)
	{
		int column = sheet.getColumn();
		for (int c = 0; c < (int)columnLeft.size(); c++)
			if (columnLeft[c] >= 0.0f && io.MousePos.x >= columnLeft[c] && io.MousePos.x < columnLeft[c] + columnWidth[c])
				column = c;
		sheet.place(topRow + (int32_t)((io.MousePos.y - top) / lineHeight), column);
	}
	if (sheet.getRow() != row)
		seekToCursor(transport);
}

void TracksPanel::drawStatus(float left, float top)
{
	const std::vector<TrackSheet::Column>& columns = sheet.getColumns();
	ImGui::SetCursorScreenPos(ImVec2(left, top));
	ImGui::PushTextWrapPos(0.0f); // at the panel's right edge
	const int32_t row = sheet.getRow();
	if (!columns.empty())
	{
		const TrackSheet::Column& column = columns[sheet.getColumn()];
		ValueText value;
		const SyncKey* key = sheet.keyAt(sheet.getColumn(), row);
		const std::string barBeat = Meter::formatBarBeat(row);
		if (key)
			ImGui::Text("%s  (%s)   row %d, %s: key %s %s", column.track.c_str(), column.file.c_str(), row, barBeat.c_str(),
				formatValue(key->value, value), keyTypeName(key->type) ? keyTypeName(key->type) : "?");
		else
			ImGui::Text("%s  (%s)   row %d, %s: no key, %s between keys", column.track.c_str(), column.file.c_str(), row, barBeat.c_str(),
				formatValue(sheet.valueAt(sheet.getColumn(), row), value));
	}
	ImGui::Text("%s%s%s", sheet.getSaved().c_str(), sheet.getSaved().empty() ? "" : "   ", sheet.undoState().c_str());
	for (const std::string* text : { &sheet.getMessage(), &sheet.getBroken() })
		if (!text->empty())
			ImGui::TextColored(errorText, "%s", text->c_str());
	ImGui::PopTextWrapPos();
}

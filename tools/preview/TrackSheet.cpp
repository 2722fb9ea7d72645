#include "TrackSheet.h"

#include "TrackSyntax.h"

#include <SyncTrack.h>

#include <algorithm>
#include <cstdlib> // Required for: strtod()
#include <cstring> // Required for: memcmp()

namespace
{
	std::string countOf(size_t count, const char* thing)
	{
		return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
	}

	std::string keysWord(size_t count)
	{
		return countOf(count, "key");
	}
}

TrackSheet::TrackSheet(TrackEditor& editor, std::vector<TrackGroup> groups)
	: editor(editor), groups(std::move(groups)), folded(this->groups.size(), false)
{
	refresh();
}

void TrackSheet::refresh()
{
	editor.refresh();
	broken.clear();
	for (const auto& [file, why] : editor.getBroken())
		broken += (broken.empty() ? "" : "\n") + why;
	const std::string next = editor.nextUndo();
	undoText = next.empty() ? "nothing to undo" : "undo: " + next;
	rebuildColumns();
}

void TrackSheet::rebuildColumns()
{
	const std::string cursorTrack = column < (int)columns.size() ? columns[column].track : "";
	columns.clear();
	for (int g = 0; g < (int)groups.size(); g++)
		if (!folded[g])
			for (const std::string& track : groups[g].tracks)
			{
				const std::string prefix = groups[g].name + " ";
				const size_t labelStart = track.size() > prefix.size() && track.compare(0, prefix.size(), prefix) == 0 ? prefix.size() : 0;
				const std::string file = editor.fileOf(track).empty() ? groups[g].file : editor.fileOf(track);
				columns.push_back(Column{ g, track, file, editor.getKeys(track), labelStart, editor.getBroken().count(file) > 0 });
			}
	const int last = std::max(0, (int)columns.size() - 1);
	column = std::min(column, last);
	for (int c = 0; c < (int)columns.size(); c++)
		if (columns[c].track == cursorTrack)
			column = c;
	anchorColumn = std::min(anchorColumn, last);
}

bool TrackSheet::takeEdit()
{
	const bool was = edited;
	edited = false;
	return was;
}

TrackSheet::Block TrackSheet::getBlock() const
{
	if (!selecting)
		return Block{ row, row, column, column };
	return Block{ std::min(anchorRow, row), std::max(anchorRow, row), std::min(anchorColumn, column), std::max(anchorColumn, column) };
}

const SyncKey* TrackSheet::keyAt(int at, int32_t onRow) const
{
	for (const SyncKey& key : columns[at].keys)
		if (key.row == onRow)
			return &key;
	return nullptr;
}

float TrackSheet::valueAt(int at, double onRow) const
{
	// The player's own evaluation over the keys as the text has them.
	const std::vector<SyncKey>& keys = columns[at].keys;
	SyncTrack track{ nullptr, const_cast<SyncKey*>(keys.data()), (int32_t)keys.size() };
	return track.valueAt(onRow);
}

std::string TrackSheet::cellName(int at, int32_t onRow) const
{
	return columns[at].track + " at " + Meter::formatBarBeat(onRow);
}

std::string TrackSheet::savedFiles() const
{
	std::string files;
	for (const std::string& file : editor.getLastSaved())
		files += (files.empty() ? "saved " : ", ") + file;
	return files;
}

KeyEdit TrackSheet::editOf(int at, int32_t onRow) const
{
	return KeyEdit{ columns[at].track, onRow, std::nullopt, groups[columns[at].group].file };
}

bool TrackSheet::apply(const std::vector<KeyEdit>& edits, const std::string& what)
{
	if (edits.empty())
		return true;
	std::string error;
	const bool done = editor.edit(edits, what, error);
	if (done)
	{
		edited = true;
		saved = savedFiles();
	}
	else
		message = "not saved: " + error;
	refresh();
	return done;
}

void TrackSheet::follow(int32_t to)
{
	row = std::clamp(to, 0, Meter::lastRow);
}

void TrackSheet::select(bool extend)
{
	if (extend && !selecting)
	{
		selecting = true;
		anchorRow = row;
		anchorColumn = column;
	}
	else if (!extend)
		selecting = false;
}

void TrackSheet::moveRows(int32_t by, bool extend)
{
	select(extend);
	follow(row + by);
}

void TrackSheet::moveColumns(int by, bool extend)
{
	select(extend);
	column = std::clamp(column + by, 0, std::max(0, (int)columns.size() - 1));
}

void TrackSheet::moveToKey(int direction)
{
	if (columns.empty())
		return;
	int32_t to = row;
	for (const SyncKey& key : columns[column].keys)
		if (direction < 0 ? key.row < row && key.row >= 0 : key.row > row && key.row <= Meter::lastRow)
		{
			to = key.row;
			if (direction > 0)
				break;
		}
	row = to;
}

void TrackSheet::place(int32_t onRow, int at)
{
	selecting = false;
	follow(onRow);
	column = std::clamp(at, 0, std::max(0, (int)columns.size() - 1));
}

void TrackSheet::toggleFold(int group)
{
	folded[group] = !folded[group];
	rebuildColumns();
}

void TrackSheet::type(char character)
{
	if (typed.size() >= longestTyped)
	{
		message = "a value has at most " + std::to_string(longestTyped) + " characters";
		return;
	}
	typed += character;
}

void TrackSheet::eraseTyped()
{
	if (!typed.empty())
		typed.pop_back();
}

bool TrackSheet::escape()
{
	if (!typed.empty())
		typed.clear();
	else if (selecting)
		selecting = false;
	else
		return false;
	message.clear();
	return true;
}

void TrackSheet::enter()
{
	if (columns.empty())
		return;
	message.clear();
	const SyncKey* existing = keyAt(column, row);
	float value = valueAt(column, row);
	if (typed.empty() && existing)
		return; // Enter alone on a key: nothing to change.
	std::string reason;
	if (!typed.empty() && !parseValue(typed, value, reason))
	{
		message = reason + "; correct it, or Escape to drop it";
		return;
	}
	// A new key goes on in the interpolation of the segment it splits.
	int32_t type = existing ? existing->type : Step;
	if (!existing)
		for (const SyncKey& key : columns[column].keys)
			if (key.row < row)
				type = key.type;
	if (existing && std::memcmp(&existing->value, &value, sizeof value) == 0)
	{
		typed.clear(); // the key already says this: the file stays as it is
		return;
	}
	KeyEdit edit = editOf(column, row);
	edit.key = SyncKey{ row, value, type };
	// Refused, the typed number stays for another try.
	if (apply({ edit }, "set " + cellName(column, row)))
		typed.clear();
}

std::vector<std::pair<int, SyncKey>> TrackSheet::keysIn(const Block& block) const
{
	std::vector<std::pair<int, SyncKey>> found;
	for (int c = block.column0; c <= block.column1 && c < (int)columns.size(); c++)
		for (const SyncKey& key : columns[c].keys)
			if (key.row >= block.row0 && key.row <= block.row1)
				found.emplace_back(c, key);
	return found;
}

void TrackSheet::removeSelected()
{
	message.clear();
	std::vector<KeyEdit> edits;
	for (const auto& [at, key] : keysIn(getBlock()))
		edits.push_back(editOf(at, key.row));
	apply(edits, "delete " + keysWord(edits.size()));
}

void TrackSheet::cycleInterpolation()
{
	message.clear();
	std::vector<KeyEdit> edits;
	for (const auto& [at, key] : keysIn(getBlock()))
	{
		edits.push_back(editOf(at, key.row));
		edits.back().key = SyncKey{ key.row, key.value, (key.type + 1) % (Ramp + 1) };
	}
	apply(edits, "interpolation of " + keysWord(edits.size()));
}

void TrackSheet::nudge(double step)
{
	message.clear();
	std::vector<KeyEdit> edits;
	for (const auto& [at, key] : keysIn(getBlock()))
	{
		// The step is added to the value as written (0.12 + 0.1 is 0.22), in double so that
		// the float nearest the decimal sum comes out.
		const double written = std::strtod(formatValue(key.value).c_str(), nullptr);
		edits.push_back(editOf(at, key.row));
		edits.back().key = SyncKey{ key.row, (float)(written + step), key.type };
	}
	apply(edits, "nudge " + keysWord(edits.size()) + " by " + (step > 0.0 ? "+" : "") + formatValue((float)step));
}

void TrackSheet::copy()
{
	message.clear();
	const Block block = getBlock();
	clip = Clip{ block.row1 - block.row0 + 1, block.column1 - block.column0 + 1, {} };
	for (const auto& [at, key] : keysIn(block))
		clip.keys.emplace_back(at - block.column0, SyncKey{ key.row - block.row0, key.value, key.type });
	message = "copied " + keysWord(clip.keys.size());
}

void TrackSheet::cut()
{
	copy();
	removeSelected();
}

void TrackSheet::paste()
{
	message.clear();
	if (columns.empty() || clip.rows == 0)
		return;
	// The block lands from the cursor right and down, cut at the show's last row and last track.
	const Block under{ row, std::min(row + clip.rows - 1, Meter::lastRow), column,
		std::min(column + clip.columns - 1, (int)columns.size() - 1) };
	std::vector<KeyEdit> edits;
	std::vector<std::pair<int, int32_t>> landing; // column, row of each key that lands
	size_t keysLeftOut = 0;
	for (const auto& [offset, key] : clip.keys)
	{
		const int to = column + offset;
		const int32_t onRow = row + key.row;
		if (to > under.column1 || onRow > under.row1)
			keysLeftOut++;
		else
		{
			KeyEdit edit = editOf(to, onRow);
			edit.key = SyncKey{ onRow, key.value, key.type };
			edits.push_back(edit);
			landing.emplace_back(to, onRow);
		}
	}
	// Keys under the block go, unless a pasted key lands on them: that one is re-typed and
	// keeps its line's comment.
	for (const auto& [at, key] : keysIn(under))
		if (std::find(landing.begin(), landing.end(), std::make_pair(at, key.row)) == landing.end())
			edits.push_back(editOf(at, key.row));
	if (!apply(edits, "paste at " + cellName(column, row)))
		return;
	const int32_t rowsLeftOut = row + clip.rows - 1 - under.row1;
	const int tracksLeftOut = clip.columns - (under.column1 - under.column0 + 1);
	if (rowsLeftOut > 0 || tracksLeftOut > 0)
	{
		message = "pasted " + keysWord(landing.size()) + "; left out " + keysWord(keysLeftOut) + " in";
		if (rowsLeftOut > 0)
			message += " " + countOf((size_t)rowsLeftOut, "row") + " past the show's last row (" + Meter::formatBarBeat(Meter::lastRow) + ")";
		if (tracksLeftOut > 0)
			message += std::string(rowsLeftOut > 0 ? " and" : "") + " " + countOf((size_t)tracksLeftOut, "track") + " past the last track";
	}
}

void TrackSheet::undo()
{
	replay(&TrackEditor::undo, &TrackEditor::nextUndo, "undid", "nothing to undo");
}

void TrackSheet::redo()
{
	replay(&TrackEditor::redo, &TrackEditor::nextRedo, "redid", "nothing to redo");
}

void TrackSheet::replay(bool (TrackEditor::*step)(std::string&), std::string (TrackEditor::*next)() const,
	const char* done, const char* nothing)
{
	message.clear();
	std::string error;
	const std::string what = (editor.*next)();
	if ((editor.*step)(error))
	{
		edited = true;
		saved = savedFiles() + " (" + done + " " + what + ")";
	}
	else
		message = error.empty() ? nothing : error;
	refresh();
}

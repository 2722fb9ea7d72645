// The show's track sources as the preview edits them: every edit is written at once into the
// show/*.tracks file that defines the track, atomically, after reading again any file another
// editor saved meanwhile; every edit can be undone and redone, and an undo gives the file back
// byte for byte.
#pragma once

#include "TrackDocument.h"

#include <cstdint> // Required for: int32_t
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

// One key of one track set (key) or removed (no key) on a row.
struct KeyEdit
{
	std::string track;
	int32_t row = 0;
	std::optional<SyncKey> key;
	// The file (in the show folder) a track no file defines yet goes into.
	std::string homeFile;
};

class TrackEditor
{
public:
	// Reads every *.tracks file of showFolder; throws Tarn::Exception when one cannot be read.
	explicit TrackEditor(const std::string& showFolder);

	// The keys of a track as its file has them (a file with an error: as it last read well);
	// empty for a track no file defines.
	std::vector<SyncKey> getKeys(const std::string& track) const;
	// The file name ("main.tracks") that defines a track, or empty.
	std::string fileOf(const std::string& track) const;

	// Applies the edits as one undo step named what ("set Fog at 4:0") and saves the files they
	// touch. False, with the reason, when one of those files cannot be read, parsed or written;
	// nothing is changed then. A broken file the edits do not touch does not stop them.
	bool edit(const std::vector<KeyEdit>& edits, const std::string& what, std::string& error);
	// False with an empty error when there is nothing to undo or redo.
	bool undo(std::string& error);
	bool redo(std::string& error);

	// What the next undo or redo would do, as edit() named it; empty when there is none.
	std::string nextUndo() const { return undoSteps.empty() ? "" : undoSteps.back().what; }
	std::string nextRedo() const { return redoSteps.empty() ? "" : redoSteps.back().what; }
	// The files the last edit, undo or redo wrote.
	const std::vector<std::string>& getLastSaved() const { return lastSaved; }

	// Reads again the files that changed on disk; the edits call it first.
	void refresh();
	// The files that do not read or parse now, each with its "file:line: what is wrong".
	const std::map<std::string, std::string>& getBroken() const { return unreadable; }

	static const size_t undoDepth = 1000;

private:
	// The change of one file by one step, and the key edits that made it, each with the key that
	// was there before, so that a file someone else changed meanwhile can still be undone key
	// by key instead of being overwritten.
	struct KeyChange
	{
		std::string track;
		int32_t row;
		std::optional<SyncKey> before;
		std::optional<SyncKey> after;
	};
	struct FileChange
	{
		std::string file;
		std::string textBefore;
		std::string textAfter;
		std::vector<KeyChange> changes;
	};
	struct Step
	{
		std::string what;
		std::vector<FileChange> files;
	};

	// False with the error of the first of files that is broken now.
	bool checkReadable(const std::vector<std::string>& files, std::string& error) const;
	bool replay(Step& step, bool forward, std::string& error);
	bool commit(const std::map<std::string, TrackDocument>& changed, std::string& error);
	std::string pathOf(const std::string& file) const;

	std::string showFolder;
	std::map<std::string, TrackDocument> documents; // by file name, as last read well or written
	std::map<std::string, std::string> unreadable;  // file name -> why it could not be parsed
	std::vector<std::string> lastSaved;
	std::deque<Step> undoSteps;
	std::vector<Step> redoSteps;
};

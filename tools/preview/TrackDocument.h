// One show/*.tracks file as text that can be edited key by key: a key line is inserted,
// re-typed or deleted and every other byte of the file stays as it was, so a diff of the
// file shows exactly the edit.
#pragma once

#include "AuthoredTrack.h"

#include <SyncKey.h>

#include <cstdint> // Required for: int32_t
#include <string>
#include <vector>

class TrackDocument
{
public:
	// Reads text; throws Tarn::Exception "file:line: what is wrong" as the compiler does.
	TrackDocument(const std::string& path, const std::string& text);

	const std::string& getPath() const { return path; }
	const std::string& getText() const { return text; }
	const std::vector<AuthoredTrack>& getTracks() const { return tracks; }
	const AuthoredTrack* findTrack(const std::string& name) const;

	// Inserts a key line at its row, or rewrites the line of the key already on that row keeping
	// its position text and comment. A track the file lacks is appended to the file.
	void setKey(const std::string& track, const SyncKey& key);
	// Deletes the line of the key on row; false when there is none.
	bool removeKey(const std::string& track, int32_t row);

private:
	void setLines(const std::vector<std::string>& lines);
	std::vector<std::string> getLines() const;

	std::string path;
	std::string text;
	std::vector<AuthoredTrack> tracks;
};

// Reads show/*.tracks text into authored tracks, rejecting anything malformed with file:line.
#pragma once

#include "AuthoredTrack.h"

#include <string>
#include <vector>

class TrackParser
{
public:
	// Parses one file's text; tracks accumulate across calls, and a name may appear only once
	// across all of them. Throws Tarn::Exception "file:line: what is wrong".
	void parse(const std::string& fileName, const std::string& text);

	// Reads and parses every *.tracks file of a directory, in name order.
	void parseDirectory(const std::string& directory);

	const std::vector<AuthoredTrack>& getTracks() const
	{
		return tracks;
	}

private:
	void startTrack(const std::string& name, const SourcePlace& place);
	void addKey(const std::vector<std::string>& fields, const SourcePlace& place);

	std::vector<AuthoredTrack> tracks;
	bool inTrack = false; // the current file has started a track, so key lines have a home
};

// Compares the track names the program asks for, Sync::getValue("NAME") in its sources, with
// the authored ones, so a misspelt name cannot silently become a track that is 0 everywhere.
#pragma once

#include "AuthoredTrack.h"

#include <string>
#include <vector>

struct TrackRequest
{
	std::string name;
	SourcePlace place;
	bool literal = true; // false where the name is computed and cannot be checked
};

// Every Sync::getValue call in one C++ source, comments and other literals skipped. A source that
// also calls it with a computed name asks, besides, for every name in its brace-initialised
// tables (literals without '/' or '.', which are file names and messages).
std::vector<TrackRequest> findTrackRequests(const std::string& fileName, const std::string& source);

// One line per mismatch, both ways, ordered by name; empty when everything matches.
std::vector<std::string> compareTracks(const std::vector<TrackRequest>& requests, const std::vector<AuthoredTrack>& tracks);

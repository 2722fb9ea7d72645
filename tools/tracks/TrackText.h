// The text form of a binary track, for dumps that compile back to the same bytes.
#pragma once

#include <SyncTrack.h>

#include <string>

// The track name a file "…/_NAME.track" holds.
std::string trackNameOfFile(const std::string& path);

// Loads a track file through the player; throws when it cannot be opened or is malformed.
// The caller frees the returned track's keys.
SyncTrack loadTrackFile(const std::string& path);

// "track NAME" and one "ROW VALUE TYPE" line per key, each with its bar:beat as a comment.
std::string formatTrack(const std::string& name, const SyncTrack& track);

// Writes authored tracks as the binary files the player reads: "_" + name + ".track".
#pragma once

#include "AuthoredTrack.h"

#include <string>
#include <vector>

// "_NAME.track".
std::string trackFileName(const std::string& name);

// The file bytes: int32 key count, then per key int32 row, float32 value, int8 type, all
// little-endian, exactly 4 + 9N bytes.
std::string encodeTrack(const AuthoredTrack& track);

// Writes every track into directory and removes the "_*.track" files no track owns any more,
// so the run directory holds exactly the authored show.
void writeTrackFiles(const std::vector<AuthoredTrack>& tracks, const std::string& directory);

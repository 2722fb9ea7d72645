// Compares the track names the show declares (each scene and pass beside its code, gathered in the
// Demo's table) with the authored ones, so a misspelt name on either side cannot silently become a
// track that is 0 everywhere.
#pragma once

#include "AuthoredTrack.h"

#include <string>
#include <vector>

struct DeclaredTrack
{
	std::string name;
	std::string owner; // the declaration that lists it: "Frame", "Ombrix", ...
};

// One line per mismatch, both ways, ordered by name; empty when everything matches.
std::vector<std::string> compareTracks(const std::vector<DeclaredTrack>& declared, const std::vector<AuthoredTrack>& tracks);

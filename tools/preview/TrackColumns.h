// The tracks panel's columns: the show's tracks grouped by what uses them, the frame's own
// tracks first, then each scene or pass in the show's order.
#pragma once

#include <string>
#include <vector>

struct TrackGroup
{
	std::string name;
	int sceneIndex; // the "Part" value that draws it, or -1 for the frame and the passes
	std::string file; // the show/ file its new tracks go into
	std::vector<std::string> tracks;
};

class TrackEditor;

// The files come from the editor, which has read them (a file with an error as it last read well).
std::vector<TrackGroup> trackColumns(const TrackEditor& editor, const std::string& showFolder);

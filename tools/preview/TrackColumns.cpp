#include "TrackColumns.h"

#include "Demo.h"
#include "TrackEditor.h"

#include <cctype> // Required for: tolower()
#include <filesystem>
#include <map>

// The columns are the show's table: each part of the show with the tracks it declares, in the
// order it reads them. A group's new tracks go into the show/ file that already holds most of
// its tracks, else the file named after it, else main.tracks.
namespace
{
	std::string fileOf(const TrackGroup& group, const TrackEditor& editor, const std::string& showFolder)
	{
		std::map<std::string, int> votes;
		for (const std::string& track : group.tracks)
			if (!editor.fileOf(track).empty())
				votes[editor.fileOf(track)]++;
		std::string best;
		for (const auto& [file, count] : votes)
			if (best.empty() || count > votes[best])
				best = file;
		if (!best.empty())
			return best;
		std::string named = group.name + ".tracks";
		for (char& c : named)
			c = (char)std::tolower((unsigned char)c);
		return std::filesystem::is_regular_file(showFolder + "/" + named) ? named : "main.tracks";
	}
}

std::vector<TrackGroup> trackColumns(const TrackEditor& editor, const std::string& showFolder)
{
	std::vector<TrackGroup> groups;
	for (const ShowEntry& entry : Demo::showTable())
	{
		TrackGroup group{ entry.declaration->name, entry.sceneIndex, "", {} };
		group.tracks.assign(entry.declaration->tracks.begin(), entry.declaration->tracks.end());
		if (group.tracks.empty())
			continue;
		group.file = fileOf(group, editor, showFolder);
		groups.push_back(group);
	}
	return groups;
}

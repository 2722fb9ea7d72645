#include "TrackText.h"

#include "TrackError.h"
#include "TrackSyntax.h"

#include <Meter.h>

#include <cstdio> // Required for: snprintf()
#include <filesystem>

std::string trackNameOfFile(const std::string& path)
{
	std::string name = std::filesystem::path(path).filename().string();
	const std::string suffix = ".track";
	if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
		name.erase(name.size() - suffix.size());
	if (!name.empty() && name[0] == '_')
		name.erase(0, 1);
	return name;
}

SyncTrack loadTrackFile(const std::string& path)
{
	SyncTrack track{};
	switch (track.load(path.c_str()))
	{
	case SyncTrack::Loaded:
		return track;
	case SyncTrack::NotOpened:
		failTracks("Could not open the track file \"" + path + "\"");
	default:
		failTracks("\"" + path + "\" is not a well-formed track file (its size, key count or row order is wrong)");
	}
}

std::string formatTrack(const std::string& name, const SyncTrack& track)
{
	std::string text = "track " + name + "\n";
	for (int k = 0; k < track.keyCount; k++)
	{
		const SyncKey& key = track.keys[k];
		const char* typeName = keyTypeName(key.type);
		const std::string type = typeName ? typeName : std::to_string(key.type); // compile rejects it
		char line[160];
		std::snprintf(line, sizeof line, "    %-11d %-15s %-7s # %s\n", key.row, formatValue(key.value).c_str(), type.c_str(),
			Meter::formatBarBeat(key.row).c_str());
		text += line;
	}
	return text;
}

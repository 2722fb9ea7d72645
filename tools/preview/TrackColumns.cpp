#include "TrackColumns.h"

#include "TrackParser.h"

#include <tarn/Exception.h>

#include <algorithm> // Required for: sort()
#include <cctype>    // Required for: toupper()
#include <filesystem>

// Until the scenes and passes list their tracks themselves, the columns are what show/ holds:
// one group per file, main.tracks (the frame's tracks) first, each scene's file at its place
// in the effect list that "Part" indexes.
namespace
{
	const char* const sceneFiles[] = { "sphurrs.tracks", "ombrix.tracks", "colon.tracks", "architecture.tracks", "garbitch.tracks" };
	const int sceneCount = sizeof sceneFiles / sizeof sceneFiles[0];

	int sceneOf(const std::string& file)
	{
		for (int i = 0; i < sceneCount; i++)
			if (file == sceneFiles[i])
				return i;
		return -1;
	}

	// main.tracks, then the scenes in "Part" order, then any other file by name.
	int orderOf(const std::string& file)
	{
		return file == "main.tracks" ? -1 : sceneOf(file) >= 0 ? sceneOf(file) : sceneCount;
	}
}

std::vector<TrackGroup> trackColumns(const std::string& showFolder)
{
	std::vector<TrackGroup> groups;
	std::error_code error;
	std::vector<std::filesystem::path> files;
	for (const auto& entry : std::filesystem::directory_iterator(showFolder, error))
		if (entry.path().extension() == ".tracks")
			files.push_back(entry.path());
	std::sort(files.begin(), files.end(), [](const std::filesystem::path& a, const std::filesystem::path& b) {
		const std::string nameA = a.filename().string(), nameB = b.filename().string();
		return orderOf(nameA) != orderOf(nameB) ? orderOf(nameA) < orderOf(nameB) : nameA < nameB;
	});
	// The whole show at once, so each name is read from the one file that defines it.
	TrackParser parser;
	try
	{
		parser.parseDirectory(showFolder);
	}
	catch (const Tarn::Exception&)
	{
		// A file with an error shows no columns until it is mended; the overlay names it.
		parser = TrackParser();
	}
	for (const std::filesystem::path& path : files)
	{
		const std::string file = path.filename().string();
		std::string name = file == "main.tracks" ? "Frame" : path.stem().string();
		name[0] = (char)std::toupper((unsigned char)name[0]);
		TrackGroup group{ name, sceneOf(file), file, {} };
		for (const AuthoredTrack& track : parser.getTracks())
			if (std::filesystem::path(track.place.file).filename() == file)
				group.tracks.push_back(track.name);
		groups.push_back(group);
	}
	return groups;
}

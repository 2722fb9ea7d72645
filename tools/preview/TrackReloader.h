// Compiles the show's text tracks in-process, with the track compiler's own code, into the run
// directory's track files, then has the sync device read again every track it already holds.
// A file with an error keeps its last good text; the other files' changes still come through.
#pragma once

#include <map>
#include <string>

struct SyncDevice;

class TrackReloader
{
public:
	// showFolder: the sources' show/; dataFolder: where the device reads its track files.
	TrackReloader(const std::string& showFolder, const std::string& dataFolder, SyncDevice& device);

	// True when every file compiled and the tracks were reloaded; otherwise false, with the
	// compiler's "file:line: what is wrong" of each broken file in error (the others are
	// reloaded all the same).
	bool reload(std::string& error);

private:
	std::string showFolder;
	std::string dataFolder;
	SyncDevice& device;
	std::map<std::string, std::string> lastGood; // file path -> its last text that compiled
};

// Compiles the show's text tracks in-process, with the track compiler's own code, into the run
// directory's track files, then has the sync device read again every track it already holds.
// A file with an error changes nothing: the last good track files and values stay.
#pragma once

#include <string>

struct SyncDevice;

class TrackReloader
{
public:
	// showFolder: the sources' show/; dataFolder: where the device reads its track files.
	TrackReloader(const std::string& showFolder, const std::string& dataFolder, SyncDevice& device);

	// True when every file compiled and the tracks were reloaded; otherwise false, with the
	// compiler's "file:line: what is wrong" in error.
	bool reload(std::string& error);

private:
	std::string showFolder;
	std::string dataFolder;
	SyncDevice& device;
};

// Notices saved files by polling modification times: the files of one folder whose names end
// in one of the given extensions. New files count as changed; removed ones are forgotten.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class FileWatcher
{
public:
	// Takes the folder's present state as the starting point: nothing is reported for it.
	FileWatcher(const std::string& folder, const std::vector<std::string>& extensions);

	// The files added, removed, or changed in time or size since the last call.
	std::vector<std::string> poll();

private:
	struct Stamp
	{
		std::filesystem::file_time_type time;
		std::uintmax_t size;
		bool operator!=(const Stamp& other) const { return time != other.time || size != other.size; }
	};

	std::map<std::string, Stamp> scan() const;

	std::string folder;
	std::vector<std::string> extensions;
	std::map<std::string, Stamp> stamps; // by file name
};

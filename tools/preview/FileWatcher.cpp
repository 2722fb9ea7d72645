#include "FileWatcher.h"

FileWatcher::FileWatcher(const std::string& folder, const std::vector<std::string>& extensions)
	: folder(folder), extensions(extensions), stamps(scan())
{
}

std::map<std::string, FileWatcher::Stamp> FileWatcher::scan() const
{
	std::map<std::string, Stamp> found;
	std::error_code error;
	for (const auto& entry : std::filesystem::directory_iterator(folder, error))
	{
		const std::string extension = entry.path().extension().string();
		bool wanted = false;
		for (const std::string& candidate : extensions)
			wanted = wanted || extension == candidate;
		if (!wanted || !entry.is_regular_file(error))
			continue;
		Stamp stamp{ entry.last_write_time(error), entry.file_size(error) };
		if (!error)
			found[entry.path().filename().string()] = stamp;
	}
	return found;
}

std::vector<std::string> FileWatcher::poll()
{
	std::map<std::string, Stamp> now = scan();
	std::vector<std::string> changed;
	for (const auto& [name, stamp] : now)
	{
		const auto before = stamps.find(name);
		if (before == stamps.end() || before->second != stamp)
			changed.push_back(name);
	}
	for (const auto& [name, stamp] : stamps)
		if (now.find(name) == now.end())
			changed.push_back(name);
	stamps.swap(now);
	return changed;
}

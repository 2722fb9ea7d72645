#include "TrackReloader.h"

#include "SyncDevice.h"
#include "TrackFileWriter.h"
#include "TrackParser.h"

#include <tarn/Exception.h>

#include <algorithm> // Required for: sort()
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
	std::string messageOf(const Tarn::Exception& exception)
	{
		return exception.getMessage().getText() ? exception.getMessage().getText() : "the tracks could not be compiled";
	}
}

TrackReloader::TrackReloader(const std::string& showFolder, const std::string& dataFolder, SyncDevice& device)
	: showFolder(showFolder), dataFolder(dataFolder), device(device)
{
}

bool TrackReloader::reload(std::string& error)
{
	error.clear();
	try
	{
		std::vector<std::filesystem::path> files;
		for (const auto& entry : std::filesystem::directory_iterator(showFolder))
			if (entry.path().extension() == ".tracks" && entry.is_regular_file())
				files.push_back(entry.path());
		std::sort(files.begin(), files.end());

		// Each file on its own first: a broken one gives its last good text to the show, so it
		// blocks none of the others.
		TrackParser whole;
		for (const std::filesystem::path& file : files)
		{
			std::ifstream stream(file, std::ios::binary);
			std::stringstream text;
			text << stream.rdbuf();
			try
			{
				TrackParser alone;
				alone.parse(file.string(), text.str());
				lastGood[file.string()] = text.str();
			}
			catch (const Tarn::Exception& exception)
			{
				error += (error.empty() ? "" : "\n") + messageOf(exception);
			}
			const auto good = lastGood.find(file.string());
			if (good != lastGood.end())
				whole.parse(file.string(), good->second);
		}
		// Everything is parsed before anything is written, so a clash between files leaves the
		// old track files.
		writeTrackFiles(whole.getTracks(), dataFolder);
	}
	catch (const Tarn::Exception& exception)
	{
		error = messageOf(exception);
		return false;
	}
	catch (const std::filesystem::filesystem_error& exception)
	{
		error = "Could not read the show folder \"" + showFolder + "\": " + exception.code().message();
		return false;
	}
	device.reloadTracks();
	return error.empty();
}

#include "TrackReloader.h"

#include "SyncDevice.h"
#include "TrackFileWriter.h"
#include "TrackParser.h"

#include <tarn/Exception.h>

TrackReloader::TrackReloader(const std::string& showFolder, const std::string& dataFolder, SyncDevice& device)
	: showFolder(showFolder), dataFolder(dataFolder), device(device)
{
}

bool TrackReloader::reload(std::string& error)
{
	try
	{
		// Everything is parsed before anything is written, so a bad file leaves the old files.
		TrackParser parser;
		parser.parseDirectory(showFolder);
		writeTrackFiles(parser.getTracks(), dataFolder);
	}
	catch (const Tarn::Exception& exception)
	{
		error = exception.getMessage().getText() ? exception.getMessage().getText() : "the tracks could not be compiled";
		return false;
	}
	device.reloadTracks();
	error.clear();
	return true;
}

#include "TrackFileWriter.h"

#include "TrackError.h"

#include <cstring> // Required for: memcpy()
#include <filesystem>
#include <fstream>
#include <set>

namespace
{
	void appendLittleEndian(std::string& bytes, uint32_t word)
	{
		for (int shift = 0; shift < 32; shift += 8)
			bytes += (char)((word >> shift) & 0xFF);
	}

	bool isTrackFileName(const std::string& fileName)
	{
		const std::string suffix = ".track";
		return fileName.size() > suffix.size() + 1 && fileName[0] == '_' &&
			fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) == 0;
	}
}

std::string trackFileName(const std::string& name)
{
	return "_" + name + ".track";
}

std::string encodeTrack(const AuthoredTrack& track)
{
	std::string bytes;
	appendLittleEndian(bytes, (uint32_t)track.keys.size());
	for (const AuthoredKey& authored : track.keys)
	{
		uint32_t valueBits;
		std::memcpy(&valueBits, &authored.key.value, sizeof valueBits);
		appendLittleEndian(bytes, (uint32_t)authored.key.row);
		appendLittleEndian(bytes, valueBits);
		bytes += (char)(int8_t)authored.key.type;
	}
	return bytes;
}

void writeTrackFiles(const std::vector<AuthoredTrack>& tracks, const std::string& directory)
{
	namespace fs = std::filesystem;
	std::error_code error;
	fs::create_directories(directory, error);
	if (error)
		failTracks("Could not create the track directory \"" + directory + "\": " + error.message());

	std::set<std::string> written;
	for (const AuthoredTrack& track : tracks)
	{
		const std::string fileName = trackFileName(track.name);
		const fs::path path = fs::path(directory) / fileName;
		const std::string bytes = encodeTrack(track);
		std::ofstream stream(path, std::ios::binary | std::ios::trunc);
		stream.write(bytes.data(), (std::streamsize)bytes.size());
		stream.close();
		if (!stream)
			failTracks("Could not write the track file \"" + path.string() + "\"");
		written.insert(fileName);
	}

	for (const auto& entry : fs::directory_iterator(directory, error))
	{
		const std::string fileName = entry.path().filename().string();
		if (isTrackFileName(fileName) && !written.count(fileName) && entry.is_regular_file())
			fs::remove(entry.path(), error);
	}
}

#include "TrackParser.h"

#include "TrackError.h"
#include "TrackSyntax.h"

#include <algorithm>
#include <cctype> // Required for: tolower()
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
	bool isSpace(char c)
	{
		return c == ' ' || c == '\t' || c == '\r';
	}

	std::string trim(const std::string& text)
	{
		size_t start = 0;
		size_t end = text.size();
		while (start < end && isSpace(text[start]))
			start++;
		while (end > start && isSpace(text[end - 1]))
			end--;
		return text.substr(start, end - start);
	}

	std::vector<std::string> splitFields(const std::string& text)
	{
		std::vector<std::string> fields;
		size_t at = 0;
		while (at < text.size())
		{
			while (at < text.size() && isSpace(text[at]))
				at++;
			const size_t start = at;
			while (at < text.size() && !isSpace(text[at]))
				at++;
			if (at > start)
				fields.push_back(text.substr(start, at - start));
		}
		return fields;
	}

	std::string lowerCase(std::string text)
	{
		for (char& c : text)
			c = (char)std::tolower((unsigned char)c);
		return text;
	}

	[[noreturn]] void fail(const SourcePlace& place, const std::string& message)
	{
		failTracks(place.describe() + ": " + message);
	}
}

void TrackParser::parseDirectory(const std::string& directory)
{
	std::vector<std::filesystem::path> files;
	std::error_code error;
	for (const auto& entry : std::filesystem::directory_iterator(directory, error))
		if (entry.path().extension() == ".tracks" && entry.is_regular_file())
			files.push_back(entry.path());
	if (error)
		failTracks("Could not read the show directory \"" + directory + "\": " + error.message());
	std::sort(files.begin(), files.end());

	for (const std::filesystem::path& file : files)
	{
		std::ifstream stream(file, std::ios::binary);
		std::stringstream text;
		text << stream.rdbuf();
		if (!stream)
			failTracks("Could not read \"" + file.string() + "\"");
		parse(file.string(), text.str());
	}
}

void TrackParser::parse(const std::string& fileName, const std::string& text)
{
	inTrack = false;
	std::istringstream lines(text);
	std::string line;
	SourcePlace place{ fileName, 0 };
	while (std::getline(lines, line))
	{
		place.line++;
		const std::string content = trim(line.substr(0, line.find('#')));
		if (content.empty())
			continue;

		const std::vector<std::string> fields = splitFields(content);
		if (fields[0] == "track")
			startTrack(trim(content.substr(5)), place);
		else
			addKey(fields, place);
	}
}

void TrackParser::startTrack(const std::string& name, const SourcePlace& place)
{
	std::string reason;
	if (!checkTrackName(name, reason))
		fail(place, reason);
	for (const AuthoredTrack& track : tracks)
	{
		if (track.name == name)
			fail(place, "track \"" + name + "\" is already defined at " + track.place.describe());
		// The player tells them apart, but their files collide where file names ignore case.
		if (lowerCase(track.name) == lowerCase(name))
			fail(place, "track \"" + name + "\" differs only in case from \"" + track.name + "\" at " + track.place.describe());
	}
	tracks.push_back(AuthoredTrack{ name, place, {} });
	inTrack = true;
}

void TrackParser::addKey(const std::vector<std::string>& fields, const SourcePlace& place)
{
	if (!inTrack)
		fail(place, "key outside a track (a \"track NAME\" line must come first)");
	if (fields.size() != 3)
		fail(place, "expected a key \"POSITION VALUE TYPE\" but found " + std::to_string(fields.size()) + " field" + (fields.size() == 1 ? "" : "s"));

	AuthoredKey key{ {}, place };
	std::string reason;
	if (!parsePosition(fields[0], key.key.row, reason) || !parseValue(fields[1], key.key.value, reason))
		fail(place, reason);
	SyncKeyType type;
	if (!parseKeyType(fields[2], type))
		fail(place, "unknown interpolation type \"" + fields[2] + "\" (expected step, linear, smooth or ramp)");
	key.key.type = type;

	AuthoredTrack& track = tracks.back();
	if (!track.keys.empty() && key.key.row <= track.keys.back().key.row)
	{
		const AuthoredKey& previous = track.keys.back();
		fail(place, "row " + std::to_string(key.key.row) + " of track \"" + track.name + "\" does not come after row " +
			std::to_string(previous.key.row) + " at " + previous.place.describe() + " (keys must be in strictly increasing row order)");
	}
	track.keys.push_back(key);
}

#include "TrackCheck.h"

#include <map>

std::vector<std::string> compareTracks(const std::vector<DeclaredTrack>& declared, const std::vector<AuthoredTrack>& tracks)
{
	std::map<std::string, const DeclaredTrack*> byName;
	for (const DeclaredTrack& track : declared)
		byName.emplace(track.name, &track);
	std::map<std::string, const AuthoredTrack*> authored;
	for (const AuthoredTrack& track : tracks)
		authored[track.name] = &track;

	std::vector<std::string> mismatches;
	for (const auto& [name, track] : byName)
		if (!authored.count(name))
			mismatches.push_back(track->owner + ": track \"" + name + "\" is declared but not authored");
	for (const auto& [name, track] : authored)
		if (!byName.count(name))
			mismatches.push_back(track->place.describe() + ": track \"" + name + "\" is authored but no part of the show declares it");
	return mismatches;
}

// A sync track as written in a show/*.tracks file, with where each piece came from.
#pragma once

#include <SyncKey.h>

#include <string>
#include <vector>

// "file:line", the prefix of every message about authored text.
struct SourcePlace
{
	std::string file;
	int line = 0;

	std::string describe() const
	{
		return file + ":" + std::to_string(line);
	}
};

struct AuthoredKey
{
	SyncKey key;
	SourcePlace place;
};

struct AuthoredTrack
{
	std::string name;
	SourcePlace place;
	std::vector<AuthoredKey> keys;
};

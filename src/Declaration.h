// What a part of the show (the frame, a post pass, a scene) declares beside its code: its name
// and the sync tracks it reads, in the order it reads them. The code reads its tracks through
// the names it declares, so each name is written once; the show's table (Demo.h) gathers the
// declarations for the tools, the track check and the tests.
#pragma once

#include <initializer_list>

struct Declaration
{
	const char* name;
	std::initializer_list<const char*> tracks;
};

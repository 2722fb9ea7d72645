#include "TrackGuard.h"

#include "Demo.h"
#include "Sync.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
	TrackGuard* active = nullptr;

	bool lists(const Declaration& declaration, const char* name)
	{
		for (const char* track : declaration.tracks)
			if (std::strcmp(track, name) == 0)
				return true;
		return false;
	}

	bool declaredAnywhere(const char* name)
	{
		for (const ShowEntry& entry : Demo::showTable())
			if (lists(*entry.declaration, name))
				return true;
		return false;
	}
}

TrackGuard::TrackGuard()
{
	active = this;
	Sync::get().watch = watch;
}

TrackGuard::~TrackGuard()
{
	Sync::get().watch = nullptr;
	active = nullptr;
}

void TrackGuard::expect(const std::string& who, const Declaration* declaration)
{
	asker = who;
	own = declaration;
}

void TrackGuard::watch(const char* name)
{
	TrackGuard& guard = *active;
	const bool declared = guard.own ? lists(*guard.own, name) : declaredAnywhere(name);
	if (declared || !guard.reported.insert(name).second)
		return;
	if (guard.own)
		ADD_FAILURE() << guard.asker << " reads the track \"" << name << "\", which " << guard.own->name << " does not declare";
	else
		ADD_FAILURE() << guard.asker << " reads the track \"" << name << "\", which no part of the show declares";
}

// Watches every name Sync::getValue is asked for while it lives, and fails the running test with
// the name and who asked for it when no declaration of the show lists it (or, for a scene under
// test, when its own declaration does not).
#pragma once

#include "Declaration.h"

#include <set>
#include <string>

class TrackGuard
{
public:
	TrackGuard();
	~TrackGuard();

	TrackGuard(const TrackGuard&) = delete;
	TrackGuard& operator=(const TrackGuard&) = delete;

	// Who asks from now on, for the message; with a declaration, the names must be among its own.
	void expect(const std::string& asker, const Declaration* own = nullptr);

private:
	static void watch(const char* name);

	std::string asker = "the test";
	const Declaration* own = nullptr;
	std::set<std::string> reported; // each name fails once, not once a frame
};

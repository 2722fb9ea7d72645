// Every failure of the track tool is one Tarn::Exception whose message says what and where.
#pragma once

#include <tarn/Exception.h>

#include <string>

[[noreturn]] inline void failTracks(const std::string& message)
{
	throw Tarn::Exception(message.c_str(), "tools\\tracks", 0);
}

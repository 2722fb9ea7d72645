// The track compiler's text parser on any text: it either accepts it or throws one
// Tarn::Exception naming file and line; what it accepts must be tracks the player can read.
#include "TrackParser.h"
#include "TrackSyntax.h"

#include <Meter.h>

#include <tarn/Exception.h>

#include <cstdint> // Required for: uint8_t
#include <cstdlib> // Required for: abort()
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	TrackParser parser;
	try
	{
		parser.parse("fuzz.tracks", text);
	}
	catch (const Tarn::Exception& exception)
	{
		const char* message = exception.getMessage().getText();
		if (!message || std::string(message).rfind("fuzz.tracks:", 0) != 0)
			std::abort(); // every rejection says where
		return 0;
	}
	for (const AuthoredTrack& track : parser.getTracks())
	{
		std::string reason;
		if (!checkTrackName(track.name, reason))
			std::abort();
		for (size_t k = 0; k < track.keys.size(); k++)
		{
			const SyncKey& key = track.keys[k].key;
			if ((k > 0 && key.row <= track.keys[k - 1].key.row) || !keyTypeName(key.type))
				std::abort(); // the player would reject or misread it
			formatValue(key.value);
			Meter::formatBarBeat(key.row);
		}
	}
	return 0;
}

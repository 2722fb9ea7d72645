// The music tool's score parser on any text: it either gives a score or throws one
// Tarn::Exception; it never reads out of bounds, overflows or hangs.
#include "ScoreParser.h"

#include <tarn/Exception.h>

#include <cstdint> // Required for: uint8_t
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	try
	{
		Music::parseScore(text, "fuzz.score");
	}
	catch (const Tarn::Exception&)
	{
	}
	return 0;
}

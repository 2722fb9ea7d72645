#include "File.h"

#include <tarn/Exception.h>

#include <filesystem> // Required for: std::filesystem::is_directory()
#include <fstream>    // Required for: std::ifstream
#include <string>     // Required for: std::string

Tarn::String readTextFile(const Tarn::String& path)
{
	// A directory opens on Linux but reads as nothing; it is not a file that could be read.
	const char* name = path.getText() ? path.getText() : "";
	std::error_code error;
	// Binary: line ends are handled below, the same on every system (a text-mode stream on Windows
	// would also stop at the first Ctrl-Z).
	std::ifstream stream(std::filesystem::u8path(name), std::ios::binary);
	if (!stream.good() || std::filesystem::is_directory(std::filesystem::u8path(name), error))
		throw Tarn::Exception(Tarn::String("Could not open input file: \"") + path + "\"", "src\\File", 11);

	// Line ends are read as on the platform the data was written for: a CR LF pair becomes LF.
	std::string text;
	char character = 0;
	bool pendingCarriageReturn = false;
	while (stream.get(character))
	{
		if (pendingCarriageReturn && character != '\n')
			text += '\r';
		pendingCarriageReturn = character == '\r';
		if (!pendingCarriageReturn)
			text += character;
	}
	if (pendingCarriageReturn)
		text += '\r';
	return Tarn::String(text.c_str());
}

#include "File.h"

#include <tarn/Exception.h>

#include <fstream> // Required for: std::ifstream
#include <string>  // Required for: std::string

Tarn::String readTextFile(const Tarn::String& path)
{
	std::ifstream stream(path.getText() ? path.getText() : "");
	if (!stream.good())
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

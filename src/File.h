// Reading a whole text file into a String (shader sources).
#pragma once

#include <tarn/String.h>

// Returns the file's text with every CR LF pair read as LF, ending at the first zero byte.
// Throws "Could not open input file: \"path\"" when the file cannot be opened.
Tarn::String readTextFile(const Tarn::String& path);

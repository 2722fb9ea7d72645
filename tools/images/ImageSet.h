// Every picture the program reads from Data/, painted and written in one go.
#pragma once

#include <string> // Required for: std::string
#include <vector> // Required for: std::vector

struct CreditFonts
{
	std::string names;    // the large light type
	std::string captions; // the small spaced captions
};

// Writes every image into directory (which must exist) and returns the file names written,
// in the order written. Throws Tarn::Exception on a missing font or an unwritable file.
std::vector<std::string> writeImageSet(const std::string& directory, const CreditFonts& fonts);

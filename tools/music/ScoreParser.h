// Reads a score from its text form. Every malformed line is reported as one Tarn::Exception
// naming the file, the line and what is wrong with it.
#pragma once

#include "Score.h"

#include <string> // Required for: std::string

namespace Music
{
	Score parseScore(const std::string& text, const std::string& fileName);
	Score readScoreFile(const std::string& path);
}

// The score's sections and cues as a table of bars, seconds and rows, for whoever choreographs to it.
#pragma once

#include "Score.h"

#include <string> // Required for: std::string

namespace Music
{
	std::string sectionTable(const Score& score, const std::string& scoreName);
}

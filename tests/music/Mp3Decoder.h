// Decodes an MP3 file to stereo floats with libmpg123, gaplessly, as the production's sound
// layer does.
#pragma once

#include "StereoBuffer.h"

#include <string> // Required for: std::string

struct DecodedMp3
{
	Music::StereoBuffer audio;
	long rate = 0;
	int channels = 0;
	bool ok = false;
};

DecodedMp3 decodeMp3File(const std::string& path);

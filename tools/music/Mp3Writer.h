// Encodes stereo floats to MP3 with libmp3lame: constant bit rate, high-quality mode, and an
// Info tag in the first frame that tells decoders the encoder delay and padding (gapless).
#pragma once

#include "StereoBuffer.h"

#include <string> // Required for: std::string
#include <vector> // Required for: std::vector

namespace Music
{
	std::vector<unsigned char> encodeMp3(const StereoBuffer& audio, int kilobitsPerSecond);
	void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);
}

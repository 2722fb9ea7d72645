// Two channels of float samples at the synthesiser's sample rate.
#pragma once

#include <cstddef> // Required for: size_t
#include <vector>  // Required for: std::vector

namespace Music
{
	struct StereoBuffer
	{
		std::vector<float> left;
		std::vector<float> right;

		explicit StereoBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}

		size_t frames() const { return left.size(); }
	};
}

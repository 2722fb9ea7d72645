// Frame times of the show, grouped by the scene the "Part" track chose for each frame.
#pragma once

#include "PassTimer.h"

#include <vector>

class Benchmark
{
public:
	explicit Benchmark(int expectedFrames);

	// part: the scene the frame drew (Demo::currentScene()).
	void add(int part, double wallMs, double cpuMs);
	// The passes of the frame added last.
	void addPasses(const std::vector<PassTimer::Pass>& passes);

	// One line per scene: frames, median and 95th-percentile wall ms, mean render-thread CPU ms.
	// With a pass timer, then each scene's passes: median ms a frame (0 in frames without the
	// pass) and the program's name.
	void print(int width, int height, const PassTimer* passTimer) const;

private:
	struct Sample
	{
		int part;
		double wallMs;
		double cpuMs;
	};

	struct PassSample
	{
		size_t frame; // index into samples
		PassTimer::Pass pass;
	};

	void printPasses(const PassTimer& passTimer) const;

	std::vector<Sample> samples;
	std::vector<PassSample> passSamples;
};

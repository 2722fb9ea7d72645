// Frame times of the show, grouped by the scene the "Part" track chose for each frame.
#pragma once

#include <vector>

class Benchmark
{
public:
	explicit Benchmark(int expectedFrames);

	// part: the scene the frame drew (Demo::currentScene()).
	void add(int part, double wallMs, double cpuMs);

	// One line per scene: frames, median and 95th-percentile wall ms, mean render-thread CPU ms.
	void print(int width, int height) const;

private:
	struct Sample
	{
		int part;
		double wallMs;
		double cpuMs;
	};

	std::vector<Sample> samples;
};

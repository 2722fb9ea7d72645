// Frame times of the show, grouped by the scene the "Part" track chose for each frame.
#include "Benchmark.h"

#include "Demo.h"

#include <algorithm>
#include <cstdio>

Benchmark::Benchmark(int expectedFrames)
{
	samples.reserve(expectedFrames);
}

void Benchmark::add(int part, double wallMs, double cpuMs)
{
	samples.push_back({ part, wallMs, cpuMs });
}

static double percentile(std::vector<double>& values, double fraction)
{
	std::sort(values.begin(), values.end());
	const size_t index = (size_t)(fraction * (double)(values.size() - 1) + 0.5);
	return values[index];
}

void Benchmark::print(int width, int height) const
{
	std::printf("%dx%d, %zu frames\n", width, height, samples.size());
	std::printf("%-13s %7s %10s %10s %10s\n", "scene", "frames", "median ms", "p95 ms", "cpu ms");
	for (int part = 0; part < Demo::sceneCount(); part++)
	{
		std::vector<double> wall;
		double cpuTotal = 0.0;
		for (const Sample& sample : samples)
		{
			if (sample.part != part)
				continue;
			wall.push_back(sample.wallMs);
			cpuTotal += sample.cpuMs;
		}
		if (wall.empty())
			continue;
		const size_t frames = wall.size();
		const double median = percentile(wall, 0.5);
		const double p95 = percentile(wall, 0.95);
		std::printf("%-13s %7zu %10.1f %10.1f %10.1f\n", Demo::sceneName(part), frames, median, p95, cpuTotal / (double)frames);
	}
	std::vector<double> all;
	double cpuTotal = 0.0;
	for (const Sample& sample : samples)
	{
		all.push_back(sample.wallMs);
		cpuTotal += sample.cpuMs;
	}
	if (!all.empty())
	{
		const double median = percentile(all, 0.5);
		const double p95 = percentile(all, 0.95);
		std::printf("%-13s %7zu %10.1f %10.1f %10.1f\n", "whole show", all.size(), median, p95, cpuTotal / (double)all.size());
	}
}

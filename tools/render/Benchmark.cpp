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

void Benchmark::addPasses(const std::vector<PassTimer::Pass>& passes)
{
	if (passSamples.capacity() == 0) // room for a dozen passes a frame
		passSamples.reserve(samples.capacity() * 16);
	for (const PassTimer::Pass& pass : passes)
		passSamples.push_back({ samples.size() - 1, pass });
}

static double percentile(std::vector<double>& values, double fraction)
{
	std::sort(values.begin(), values.end());
	const size_t index = (size_t)(fraction * (double)(values.size() - 1) + 0.5);
	return values[index];
}

void Benchmark::print(int width, int height, const PassTimer* passTimer) const
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
	if (passTimer)
		printPasses(*passTimer);
}

void Benchmark::printPasses(const PassTimer& passTimer) const
{
	std::printf("\n%-13s %10s  %s\n", "scene", "median ms", "pass: the fragment shader of its program");
	for (int part = 0; part < Demo::sceneCount(); part++)
	{
		std::vector<size_t> frames; // in order, as samples are
		for (size_t frame = 0; frame < samples.size(); frame++)
			if (samples[frame].part == part)
				frames.push_back(frame);
		std::vector<GLuint> programs; // in the order they first drew
		for (const PassSample& sample : passSamples)
			if (samples[sample.frame].part == part
				&& std::find(programs.begin(), programs.end(), sample.pass.program) == programs.end())
				programs.push_back(sample.pass.program);
		for (GLuint program : programs)
		{
			std::vector<double> ms(frames.size(), 0.0);
			for (const PassSample& sample : passSamples)
				if (sample.pass.program == program && samples[sample.frame].part == part)
					ms[(size_t)(std::lower_bound(frames.begin(), frames.end(), sample.frame) - frames.begin())] += sample.pass.ms;
			std::printf("%-13s %10.1f  %s\n", Demo::sceneName(part), percentile(ms, 0.5), passTimer.nameOf(program).c_str());
		}
	}
}

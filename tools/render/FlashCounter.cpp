#include "FlashCounter.h"

#include <algorithm>
#include <cmath>

namespace
{
	// WCAG's thresholds.
	constexpr double fieldWidthAt1024x768 = 341.0;
	constexpr double fieldHeightAt1024x768 = 256.0;
	constexpr double fieldShare = 0.25;
	constexpr float luminanceChange = 0.1f;
	constexpr float darkerBelow = 0.8f;
	constexpr float saturatedRedShare = 0.8f;   // R / (R + G + B), linear
	constexpr float chromaticityChange = 0.2f;  // in CIE 1976 u'v'
	constexpr float redValueChange = 20.0f;     // of (R - G - B) * 320, negatives as 0
	// Ours: a run of rising (or falling) luminance ends once the pixel has turned back this far,
	// so the dither's one-level wobble never splits a fade into pieces too small to count.
	constexpr float reversalTolerance = 0.02f;
	constexpr double netHalfLifeSeconds = 0.25;

	struct LinearTable
	{
		float value[256];
		LinearTable()
		{
			for (int i = 0; i < 256; i++)
			{
				const double c = i / 255.0;
				value[i] = (float)(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
			}
		}
	};
	const LinearTable linear;

	float relativeLuminance(const unsigned char* rgb)
	{
		return 0.2126f * linear.value[rgb[0]] + 0.7152f * linear.value[rgb[1]] + 0.0722f * linear.value[rgb[2]];
	}

	bool isSaturatedRed(const unsigned char* rgb)
	{
		const float r = linear.value[rgb[0]];
		const float sum = r + linear.value[rgb[1]] + linear.value[rgb[2]];
		return sum > 0.0f && r >= saturatedRedShare * sum;
	}

	float redValue(const unsigned char* rgb)
	{
		return std::max(0.0f, linear.value[rgb[0]] - linear.value[rgb[1]] - linear.value[rgb[2]]) * 320.0f;
	}

	// u'v' of sRGB; black has no chromaticity and stands at the white point.
	void chromaticity(const unsigned char* rgb, float& u, float& v)
	{
		const float r = linear.value[rgb[0]], g = linear.value[rgb[1]], b = linear.value[rgb[2]];
		const float x = 0.4124f * r + 0.3576f * g + 0.1805f * b;
		const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
		const float z = 0.0193f * r + 0.1192f * g + 0.9505f * b;
		const float denominator = x + 15.0f * y + 3.0f * z;
		if (denominator < 1e-6f)
		{
			u = 0.1978f;
			v = 0.4683f;
			return;
		}
		u = 4.0f * x / denominator;
		v = 9.0f * y / denominator;
	}

	// A change to or from saturated red that counts: far enough in colour and in red.
	bool isRedChange(const unsigned char* from, const unsigned char* to)
	{
		if (std::fabs(redValue(from) - redValue(to)) <= redValueChange)
			return false;
		float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f;
		chromaticity(from, u0, v0);
		chromaticity(to, u1, v1);
		return std::hypot(u1 - u0, v1 - v0) > chromaticityChange;
	}
}

void FlashCounter::Windows::reset(int cellCount, int windowCount, int size)
{
	towardsCells.assign(cellCount, 0);
	awayCells.assign(cellCount, 0);
	cellNet.assign(cellCount, 0);
	net.assign(windowCount, 0.0);
	state.assign(windowCount, 0);
	ringSize = size;
	ring.assign((size_t)windowCount * size, -1000000);
	ringNext.assign(windowCount, 0);
	inLastSecond = 0;
}

FlashCounter::FlashCounter(int width, int height, double fps) : width(width), height(height), fps(fps)
{
	const double scale = std::min(width / 1024.0, height / 768.0);
	fieldWidth = std::max(2, (int)std::lround(fieldWidthAt1024x768 * scale));
	fieldHeight = std::max(2, (int)std::lround(fieldHeightAt1024x768 * scale));
	transitionArea = std::max(1, (int)std::lround(fieldShare * fieldWidth * fieldHeight));
	decay = std::pow(0.5, 1.0 / (netHalfLifeSeconds * fps));

	const int cellWidth = (fieldWidth + 1) / 2;
	const int cellHeight = (fieldHeight + 1) / 2;
	cellColumns = (width + cellWidth - 1) / cellWidth;
	cellRows = (height + cellHeight - 1) / cellHeight;
	windowColumns = std::max(1, cellColumns - 1);
	windowRows = std::max(1, cellRows - 1);
	cellOfColumn.resize(width);
	for (int x = 0; x < width; x++)
		cellOfColumn[x] = x / cellWidth;
	cellOfRow.resize(height);
	for (int y = 0; y < height; y++)
		cellOfRow[y] = y / cellHeight;

	const size_t pixels = (size_t)width * height;
	runStart.assign(pixels, 0.0f);
	runExtreme.assign(pixels, 0.0f);
	lastChange.assign(pixels, 0);
	inRed.assign(pixels, 0);
	redAnchor.assign(pixels * 3, 0);
	// At most one transition a frame, so a second holds at most fps + 1 of them.
	const int ringSize = (int)std::ceil(fps) + 1;
	general.reset(cellColumns * cellRows, windowColumns * windowRows, ringSize);
	red.reset(cellColumns * cellRows, windowColumns * windowRows, ringSize);
}

void FlashCounter::addGeneral(size_t pixel, float luminance, int cell)
{
	float& start = runStart[pixel];
	float& extreme = runExtreme[pixel];
	if (extreme >= start) // rising (or still)
	{
		if (luminance >= extreme)
			extreme = luminance;
		else if (luminance < extreme - reversalTolerance)
		{
			start = extreme;
			extreme = luminance;
		}
	}
	else if (luminance <= extreme)
		extreme = luminance;
	else if (luminance > extreme + reversalTolerance)
	{
		start = extreme;
		extreme = luminance;
	}
	if (std::fabs(extreme - start) < luminanceChange || std::min(start, extreme) >= darkerBelow)
		return;
	const int8_t way = extreme > start ? 1 : -1;
	if (way == lastChange[pixel])
		return;
	lastChange[pixel] = way;
	(way > 0 ? general.towardsCells : general.awayCells)[cell]++;
}

void FlashCounter::addRed(size_t pixel, const unsigned char* rgb, int cell)
{
	unsigned char* anchor = &redAnchor[pixel * 3];
	const bool saturated = isSaturatedRed(rgb);
	if (inRed[pixel])
	{
		if (saturated || !isRedChange(anchor, rgb))
			return;
		inRed[pixel] = 0;
		red.awayCells[cell]++;
	}
	else if (saturated)
	{
		if (!isRedChange(anchor, rgb))
			return;
		inRed[pixel] = 1;
		red.towardsCells[cell]++;
	}
	anchor[0] = rgb[0];
	anchor[1] = rgb[1];
	anchor[2] = rgb[2];
}

void FlashCounter::addFrame(const unsigned char* rgba)
{
	frame++;
	if (frame == 0)
	{
		// The first picture is where every pixel starts; nothing has changed yet.
		for (size_t pixel = 0; pixel < runStart.size(); pixel++)
		{
			const unsigned char* rgb = rgba + pixel * 4;
			runStart[pixel] = runExtreme[pixel] = relativeLuminance(rgb);
			inRed[pixel] = isSaturatedRed(rgb);
			redAnchor[pixel * 3] = rgb[0];
			redAnchor[pixel * 3 + 1] = rgb[1];
			redAnchor[pixel * 3 + 2] = rgb[2];
		}
		return;
	}
	for (Windows* windows : { &general, &red })
	{
		std::fill(windows->towardsCells.begin(), windows->towardsCells.end(), 0);
		std::fill(windows->awayCells.begin(), windows->awayCells.end(), 0);
	}
	for (int y = 0; y < height; y++)
	{
		const int rowCell = cellOfRow[y] * cellColumns;
		for (int x = 0; x < width; x++)
		{
			const size_t pixel = (size_t)y * width + x;
			const unsigned char* rgb = rgba + pixel * 4;
			const int cell = rowCell + cellOfColumn[x];
			addGeneral(pixel, relativeLuminance(rgb), cell);
			addRed(pixel, rgb, cell);
		}
	}
	for (Windows* windows : { &general, &red })
		windows->update(cellColumns, cellRows, windowColumns, windowRows, transitionArea, decay, frame, fps);
}

void FlashCounter::Windows::update(int cellColumns, int cellRows, int windowColumns, int windowRows,
	double area, double decayPerFrame, long frame, double fps)
{
	for (size_t cell = 0; cell < cellNet.size(); cell++)
		cellNet[cell] = towardsCells[cell] - awayCells[cell];
	inLastSecond = 0;
	for (int wy = 0; wy < windowRows; wy++)
		for (int wx = 0; wx < windowColumns; wx++)
		{
			const int window = wy * windowColumns + wx;
			int change = 0;
			for (int cy = wy; cy < std::min(wy + 2, cellRows); cy++)
				for (int cx = wx; cx < std::min(wx + 2, cellColumns); cx++)
					change += cellNet[cy * cellColumns + cx];
			double& recent = net[window];
			recent = recent * decayPerFrame + change;
			int8_t way = 0;
			if (recent >= area)
				way = 1;
			else if (recent <= -area)
				way = -1;
			if (way != 0)
			{
				recent = 0.0;
				if (way != state[window])
				{
					state[window] = way;
					ring[(size_t)window * ringSize + ringNext[window]] = frame;
					ringNext[window] = (ringNext[window] + 1) % ringSize;
				}
			}
			int count = 0;
			for (int i = 0; i < ringSize; i++)
				if ((double)(frame - ring[(size_t)window * ringSize + i]) < fps)
					count++;
			inLastSecond = std::max(inLastSecond, count);
		}
}

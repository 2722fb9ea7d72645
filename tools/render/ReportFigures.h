// What the show report measures: per frame, then summed up per beat and per section.
#pragma once

#include <string>
#include <vector>

namespace Report
{
	// A beat is loud but dark when its music is above this level and its picture below this mean.
	constexpr double loudAboveDbfs = -16.0;
	constexpr double darkBelowMean = 25.0;
	// A pixel is dark below this luma.
	constexpr float darkPixelBelow = 10.0f;
	// The frame change is measured on blocks this many to the picture's width.
	constexpr int changeBlocksAcross = 160;
	// WCAG 2.3.1: more flashes than this in any one second fail.
	constexpr double wcagFlashesPerSecond = 3.0;
}

// Luma is 0.2126 R + 0.7152 G + 0.0722 B of the picture's bytes, 0 to 255.
struct FrameFigures
{
	float lumaMean = 0.0f;
	// Mean absolute luma change from the frame before (-1 for the first) over blocks of about
	// 1/160 of the width, where the film grain averages out and what moves stays; and the same
	// pixel by pixel, grain and all.
	float change = -1.0f;
	float pixelChange = -1.0f;
	float darkShare = 0.0f; // of pixels below Report::darkPixelBelow
	float colour[3] = {};   // mean R, G, B bytes
	int generalTransitions = 0; // in the last second, in the window with the most
	int redTransitions = 0;
};

// A stretch of frames summed up: a beat, a section.
struct StretchFigures
{
	std::string name; // the beat's bar:beat, or the section's name
	double from = 0.0;
	double to = 0.0;
	std::string section;
	int frameCount = 0;
	double musicDbfs = 0.0;
	double pictureMean = 0.0;
	double medianChange = 0.0; // of the frames' block changes
	double medianPixelChange = 0.0;
	double darkShare = 0.0;
	float colour[3] = {};
	double generalFlashes = 0.0; // the most in any second that ends in the stretch
	double redFlashes = 0.0;
	bool loudButDark() const { return musicDbfs > Report::loudAboveDbfs && pictureMean < Report::darkBelowMean; }
};

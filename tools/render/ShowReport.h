// The show report: the rendered picture measured frame by frame against the music, summed up per
// beat and per section, with the flashes after WCAG 2.3.1; written as text, a CSV and a chart.
#pragma once

#include "FlashCounter.h"
#include "MusicLevels.h"
#include "MusicSections.h"
#include "ReportFigures.h"

#include <string>
#include <vector>

class ShowReport
{
public:
	// Frames firstFrame to endFrame - 1 (frame k drawn at k / fps) are to come, in order.
	ShowReport(int width, int height, double fps, long firstFrame, long endFrame, MusicSections sections,
		const std::string& musicPath);

	// The next frame's width x height upright RGBA bytes. Allocates nothing.
	void addFrame(const unsigned char* rgba);

	// Writes report.txt, beats.csv and chart.png into folder (which must exist) and prints the
	// report's text. Throws Tarn::Exception naming a file it cannot write.
	void write(const std::string& folder) const;

	// The most flashes in any one second.
	double worstGeneralFlashes() const;
	double worstRedFlashes() const;

private:
	std::vector<StretchFigures> beatFigures() const;
	std::vector<StretchFigures> sectionFigures() const;
	StretchFigures summarise(double from, double to) const;
	std::string text(const std::vector<StretchFigures>& beats, const std::vector<StretchFigures>& sections) const;
	// The time at the end of the worst second, and its count of transitions.
	void worstSecond(bool red, double& endSeconds, int& transitions) const;

	int width;
	int height;
	double fps;
	long firstFrame;
	MusicSections sections;
	MusicLevels music;
	FlashCounter flashes;
	std::vector<float> previousLuma;
	std::vector<FrameFigures> frames; // room for every frame, reserved at the start
};

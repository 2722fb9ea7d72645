// The show report's chart: the music against the picture, beat by beat, with the sections marked,
// the loud but dark beats picked out and the flashes per second beneath. Made to be looked at.
#pragma once

#include "ReportFigures.h"

#include <string>
#include <vector>

struct ChartData
{
	const std::vector<StretchFigures>& beats;
	const std::vector<StretchFigures>& sections;
	const std::vector<FrameFigures>& frames;
	long firstFrame;
	double fps;
	int width; // of the rendered picture
	int height;
};

// Writes the chart as PNG; throws Tarn::Exception naming the file when it cannot. Without the
// label font (Debian's fonts-lato; on Windows the release's DejaVu) it is drawn unlabelled, with
// a warning on stderr.
void drawReportChart(const std::string& path, const ChartData& data);

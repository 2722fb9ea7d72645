#include "ShowReport.h"

#include "ReportChart.h"
#include "Show.h"

#include <tarn/Exception.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{
	double median(std::vector<float>& values)
	{
		if (values.empty())
			return 0.0;
		const size_t middle = values.size() / 2;
		std::nth_element(values.begin(), values.begin() + middle, values.end());
		return values[middle];
	}

	std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0, double d = 0.0)
	{
		char line[256];
		std::snprintf(line, sizeof line, pattern, a, b, c, d);
		return line;
	}

	void writeFile(const std::string& path, const std::string& contents)
	{
		std::ofstream file(path, std::ios::binary);
		file << contents;
		file.close();
		if (!file)
			throw Tarn::Exception(("Could not write \"" + path + "\"").c_str(), "ShowReport", __LINE__);
	}
}

ShowReport::ShowReport(int width, int height, double fps, long firstFrame, long endFrame, MusicSections sections,
	const std::string& musicPath)
	: width(width), height(height), fps(fps), firstFrame(firstFrame), sections(std::move(sections)),
	  music(musicPath), flashes(width, height, fps), previousLuma((size_t)width * height, 0.0f),
	  blockSize(std::max(1, (int)std::lround((double)width / Report::changeBlocksAcross))),
	  blockColumns(std::max(1, width / blockSize)), blockRows(std::max(1, height / blockSize)),
	  blockSums((size_t)blockColumns * blockRows, 0.0), previousBlockMeans(blockSums.size(), 0.0f)
{
	frames.reserve((size_t)std::max(0L, endFrame - firstFrame));
}

void ShowReport::addFrame(const unsigned char* rgba)
{
	FrameFigures figures;
	const size_t pixels = (size_t)width * height;
	const bool first = frames.empty();
	double lumaSum = 0.0;
	double changeSum = 0.0;
	double colourSum[3] = {};
	size_t dark = 0;
	std::fill(blockSums.begin(), blockSums.end(), 0.0);
	for (int y = 0; y < height; y++)
	{
		const int blockRow = std::min(y / blockSize, blockRows - 1) * blockColumns;
		for (int x = 0; x < width; x++)
		{
			const size_t pixel = (size_t)y * width + x;
			const unsigned char* rgb = rgba + pixel * 4;
			const float luma = 0.2126f * rgb[0] + 0.7152f * rgb[1] + 0.0722f * rgb[2];
			lumaSum += luma;
			changeSum += std::fabs(luma - previousLuma[pixel]);
			previousLuma[pixel] = luma;
			dark += luma < Report::darkPixelBelow;
			for (int channel = 0; channel < 3; channel++)
				colourSum[channel] += rgb[channel];
			// The edge blocks take in the few columns and rows left over.
			blockSums[blockRow + std::min(x / blockSize, blockColumns - 1)] += luma;
		}
	}
	double blockChangeSum = 0.0;
	for (int by = 0; by < blockRows; by++)
		for (int bx = 0; bx < blockColumns; bx++)
		{
			const int blockWidth = bx == blockColumns - 1 ? width - bx * blockSize : blockSize;
			const int blockHeight = by == blockRows - 1 ? height - by * blockSize : blockSize;
			const size_t block = (size_t)by * blockColumns + bx;
			const float mean = (float)(blockSums[block] / (double)(blockWidth * blockHeight));
			blockChangeSum += std::fabs(mean - previousBlockMeans[block]);
			previousBlockMeans[block] = mean;
		}
	figures.lumaMean = (float)(lumaSum / (double)pixels);
	figures.change = first ? -1.0f : (float)(blockChangeSum / (double)blockSums.size());
	figures.pixelChange = first ? -1.0f : (float)(changeSum / (double)pixels);
	figures.darkShare = (float)((double)dark / (double)pixels);
	for (int channel = 0; channel < 3; channel++)
		figures.colour[channel] = (float)(colourSum[channel] / (double)pixels);
	flashes.addFrame(rgba);
	figures.generalTransitions = flashes.generalTransitionsInLastSecond();
	figures.redTransitions = flashes.redTransitionsInLastSecond();
	if (frames.size() < frames.capacity())
		frames.push_back(figures);
}

StretchFigures ShowReport::summarise(double from, double to) const
{
	StretchFigures figures;
	figures.from = from;
	figures.to = to;
	figures.musicDbfs = music.rmsDbfs(from, to);
	const long begin = std::max(0L, (long)std::ceil(from * fps - 1e-9) - firstFrame);
	const long end = std::min((long)frames.size(), (long)std::ceil(to * fps - 1e-9) - firstFrame);
	std::vector<float> changes, pixelChanges;
	double luma = 0.0, dark = 0.0, colour[3] = {};
	int general = 0, red = 0;
	for (long k = begin; k < end; k++)
	{
		const FrameFigures& frame = frames[(size_t)k];
		luma += frame.lumaMean;
		dark += frame.darkShare;
		for (int channel = 0; channel < 3; channel++)
			colour[channel] += frame.colour[channel];
		if (frame.change >= 0.0f)
		{
			changes.push_back(frame.change);
			pixelChanges.push_back(frame.pixelChange);
		}
		general = std::max(general, frame.generalTransitions);
		red = std::max(red, frame.redTransitions);
	}
	figures.frameCount = (int)std::max(0L, end - begin);
	const double count = (double)std::max(1L, end - begin);
	figures.pictureMean = luma / count;
	figures.darkShare = dark / count;
	for (int channel = 0; channel < 3; channel++)
		figures.colour[channel] = (float)(colour[channel] / count);
	figures.medianChange = median(changes);
	figures.medianPixelChange = median(pixelChanges);
	figures.generalFlashes = (double)general / FlashCounter::transitionsPerFlash;
	figures.redFlashes = (double)red / FlashCounter::transitionsPerFlash;
	return figures;
}

std::vector<StretchFigures> ShowReport::beatFigures() const
{
	std::vector<StretchFigures> beats;
	const double start = (double)firstFrame / fps;
	const double end = (double)(firstFrame + (long)frames.size()) / fps;
	for (long beat = (long)std::floor(start / Show::secondsPerBeat + 1e-9); beat * Show::secondsPerBeat < end - 1e-9; beat++)
	{
		StretchFigures figures = summarise(std::max(start, beat * Show::secondsPerBeat),
			std::min(end, (beat + 1) * Show::secondsPerBeat));
		const int section = sections.sectionAt(beat * Show::secondsPerBeat + 1e-6);
		figures.section = section >= 0 ? sections.sections[section].name : "";
		figures.name = std::to_string(beat);
		if (figures.frameCount > 0)
			beats.push_back(figures);
	}
	return beats;
}

std::vector<StretchFigures> ShowReport::sectionFigures() const
{
	std::vector<StretchFigures> result;
	const double start = (double)firstFrame / fps;
	const double end = (double)(firstFrame + (long)frames.size()) / fps;
	for (const MusicSection& section : sections.sections)
	{
		if (section.to <= start || section.from >= end)
			continue;
		StretchFigures figures = summarise(std::max(start, section.from), std::min(end, section.to));
		figures.name = figures.section = section.name;
		if (figures.frameCount > 0)
			result.push_back(figures);
	}
	return result;
}

void ShowReport::worstSecond(bool red, double& endSeconds, int& transitions) const
{
	transitions = 0;
	endSeconds = (double)firstFrame / fps;
	for (size_t k = 0; k < frames.size(); k++)
	{
		const int count = red ? frames[k].redTransitions : frames[k].generalTransitions;
		if (count > transitions)
		{
			transitions = count;
			endSeconds = (double)(firstFrame + (long)k) / fps;
		}
	}
}

double ShowReport::worstGeneralFlashes() const
{
	double end = 0.0;
	int transitions = 0;
	worstSecond(false, end, transitions);
	return (double)transitions / FlashCounter::transitionsPerFlash;
}

double ShowReport::worstRedFlashes() const
{
	double end = 0.0;
	int transitions = 0;
	worstSecond(true, end, transitions);
	return (double)transitions / FlashCounter::transitionsPerFlash;
}

std::string ShowReport::text(const std::vector<StretchFigures>& beats, const std::vector<StretchFigures>& sectionList) const
{
	std::ostringstream out;
	const double start = (double)firstFrame / fps;
	const double end = (double)(firstFrame + (long)frames.size()) / fps;
	out << "Show report: " << width << "x" << height << format(" at %g fps, %.3f to %.3f s, ", fps, start, end)
		<< frames.size() << " frames\n";
	out << "music: RMS of " << Show::musicPath << " in dBFS; picture: luma 0.2126 R + 0.7152 G + 0.0722 B (0-255);\n"
		<< "change: median over the frames of the mean absolute luma change from the frame before, over blocks of "
		<< blockSize << "x" << blockSize << " pixels\n(the grain averages out); px change: the same pixel by pixel;\n"
		<< format("dark: share of pixels below luma %g; flashes: the most in any second (WCAG 2.3.1 allows %g)\n\n",
			   Report::darkPixelBelow, Report::wcagFlashesPerSecond);
	out << "section     from s   to s     music dBFS  picture  change  px change  dark %  flashes  red flashes\n";
	for (const StretchFigures& section : sectionList)
	{
		char line[256];
		std::snprintf(line, sizeof line, "%-10s %7.3f %7.3f %10.1f %8.1f %7.1f %10.1f %7.1f %8.1f %12.1f\n",
			section.name.c_str(), section.from, section.to, section.musicDbfs, section.pictureMean,
			section.medianChange, section.medianPixelChange, 100.0 * section.darkShare, section.generalFlashes,
			section.redFlashes);
		out << line;
	}

	out << "\nFlashes after WCAG 2.3.1: the field is " << flashes.getFieldWidth() << "x" << flashes.getFieldHeight()
		<< " pixels; a transition is " << flashes.getTransitionArea()
		<< " pixels more changing one way than the other in one field.\n";
	for (bool red : { false, true })
	{
		double endSeconds = 0.0;
		int transitions = 0;
		worstSecond(red, endSeconds, transitions);
		out << (red ? "  red:     " : "  general: ")
			<< format("at most %.1f a second (the worst second ends at %.3f s)\n",
				   (double)transitions / FlashCounter::transitionsPerFlash, endSeconds);
	}

	int loudButDark = 0;
	for (const StretchFigures& beat : beats)
		loudButDark += beat.loudButDark();
	out << "\nLoud but dark (music above " << Report::loudAboveDbfs << " dBFS, picture below " << Report::darkBelowMean
		<< "): " << loudButDark << " beats\n";
	for (const StretchFigures& beat : beats)
		if (beat.loudButDark())
		{
			char line[256];
			std::snprintf(line, sizeof line, "  beat %-4s %7.3f-%7.3f s  %-8s music %6.1f dBFS  picture %5.1f\n",
				beat.name.c_str(), beat.from, beat.to, beat.section.c_str(), beat.musicDbfs, beat.pictureMean);
			out << line;
		}
	return out.str();
}

void ShowReport::write(const std::string& folder) const
{
	const std::vector<StretchFigures> beats = beatFigures();
	const std::vector<StretchFigures> sectionList = sectionFigures();

	std::ostringstream csv;
	csv << "beat,from_s,to_s,section,music_dbfs,picture_mean,median_change,median_pixel_change,dark_share,"
		   "general_flashes,red_flashes,loud_but_dark\n";
	for (const StretchFigures& beat : beats)
	{
		char line[256];
		std::snprintf(line, sizeof line, "%s,%.5f,%.5f,%s,%.2f,%.2f,%.3f,%.3f,%.4f,%.1f,%.1f,%d\n", beat.name.c_str(),
			beat.from, beat.to, beat.section.c_str(), std::max(-200.0, beat.musicDbfs), beat.pictureMean,
			beat.medianChange, beat.medianPixelChange, beat.darkShare, beat.generalFlashes, beat.redFlashes,
			beat.loudButDark() ? 1 : 0);
		csv << line;
	}
	writeFile(folder + "/beats.csv", csv.str());

	std::ostringstream frameCsv;
	frameCsv << "frame,time_s,picture_mean,change,pixel_change,dark_share,general_flashes,red_flashes\n";
	for (size_t k = 0; k < frames.size(); k++)
	{
		const FrameFigures& frame = frames[k];
		char line[160];
		std::snprintf(line, sizeof line, "%ld,%.4f,%.2f,%.3f,%.3f,%.4f,%.1f,%.1f\n", firstFrame + (long)k,
			(double)(firstFrame + (long)k) / fps, frame.lumaMean, frame.change, frame.pixelChange, frame.darkShare,
			(double)frame.generalTransitions / FlashCounter::transitionsPerFlash,
			(double)frame.redTransitions / FlashCounter::transitionsPerFlash);
		frameCsv << line;
	}
	writeFile(folder + "/frames.csv", frameCsv.str());

	const std::string report = text(beats, sectionList);
	writeFile(folder + "/report.txt", report);
	std::fputs(report.c_str(), stdout);

	ChartData chart { beats, sectionList, frames, firstFrame, fps, width, height };
	drawReportChart(folder + "/chart.png", chart);
	std::printf("\nwrote %s/report.txt, beats.csv, frames.csv and chart.png\n", folder.c_str());
}

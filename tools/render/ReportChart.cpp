#include "ReportChart.h"

#include "Canvas.h"
#include "Font.h"
#include "ImageWriter.h"
#include "Show.h"

#include <tarn/Exception.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace
{
	// [SECTION] Layout: one column per beat across panels stacked from top to bottom.
	constexpr int chartWidth = 1800;
	constexpr int chartHeight = 820;
	constexpr int left = 78;
	constexpr int right = chartWidth - 58;
	constexpr int sectionTop = 52, sectionBottom = 80;
	constexpr int musicTop = 92, musicBottom = 322;
	constexpr int pictureTop = 340, pictureBottom = 570;
	constexpr int stripTop = 582, stripBottom = 606;
	constexpr int flashTop = 630, flashBottom = 720;
	constexpr int axisBaseline = 742;
	constexpr int legendBaseline = 795;
	constexpr double quietestDbfs = -42.0;

	const Vec3 background(0.055f, 0.062f, 0.078f);
	const Vec3 ink(0.86f, 0.87f, 0.90f);
	const Vec3 faintInk(0.52f, 0.54f, 0.60f);
	const Vec3 grid(0.30f, 0.32f, 0.38f);
	const Vec3 amber(1.0f, 0.66f, 0.22f);
	const Vec3 cyan(0.35f, 0.85f, 1.0f);
	const Vec3 alarm(1.0f, 0.22f, 0.25f);
	const Vec3 sectionColours[] = { { 0.35f, 0.55f, 0.95f }, { 0.45f, 0.80f, 0.65f }, { 0.85f, 0.75f, 0.35f },
		{ 0.95f, 0.55f, 0.30f }, { 0.95f, 0.35f, 0.55f }, { 0.65f, 0.50f, 0.95f }, { 0.95f, 0.80f, 0.55f },
		{ 0.45f, 0.65f, 0.95f } };

	// [SECTION] Drawing
	void blend(Canvas& canvas, int x, int y, Vec3 colour, float alpha)
	{
		if (x < 0 || y < 0 || x >= canvas.getWidth() || y >= canvas.getHeight() || alpha <= 0.0f)
			return;
		canvas.setColour(x, y, mix(canvas.getColour(x, y), colour, std::min(alpha, 1.0f)));
	}

	// Covers fractions of the pixels at its left and right edges, so narrow columns keep their widths.
	void fillRect(Canvas& canvas, double x0, double y0, double x1, double y1, Vec3 colour, float alpha = 1.0f)
	{
		const int top = (int)std::lround(std::min(y0, y1)), bottom = (int)std::lround(std::max(y0, y1));
		for (int x = (int)std::floor(x0); x < (int)std::ceil(x1); x++)
		{
			const float coverage = (float)(std::min(x1, x + 1.0) - std::max(x0, (double)x));
			for (int y = top; y < bottom; y++)
				blend(canvas, x, y, colour, alpha * coverage);
		}
	}

	// An antialiased line of some width; dashed when dash > 0 (its length in pixels).
	void drawLine(Canvas& canvas, double x0, double y0, double x1, double y1, Vec3 colour, double width,
		float alpha = 1.0f, double dash = 0.0)
	{
		const double dx = x1 - x0, dy = y1 - y0, length = std::max(1e-9, std::hypot(dx, dy));
		const double reach = width / 2 + 1;
		for (int y = (int)std::floor(std::min(y0, y1) - reach); y <= (int)std::ceil(std::max(y0, y1) + reach); y++)
			for (int x = (int)std::floor(std::min(x0, x1) - reach); x <= (int)std::ceil(std::max(x0, x1) + reach); x++)
			{
				const double along = std::clamp(((x + 0.5 - x0) * dx + (y + 0.5 - y0) * dy) / (length * length), 0.0, 1.0);
				if (dash > 0.0 && std::fmod(along * length, 2 * dash) > dash)
					continue;
				const double distance = std::hypot(x + 0.5 - (x0 + along * dx), y + 0.5 - (y0 + along * dy));
				blend(canvas, x, y, colour, alpha * (float)std::clamp(width / 2 + 0.5 - distance, 0.0, 1.0));
			}
	}

	enum class Align { Left, Centre, Right };

	class Labels
	{
	public:
		Labels()
		{
			try
			{
				font.reset(new Font(HALVORINE_LABEL_FONT));
			}
			catch (const Tarn::Exception& exception)
			{
				std::fprintf(stderr, "halvorine-render: the chart goes without labels: %s\n", exception.getMessage().getText());
			}
		}

		void draw(Canvas& canvas, const std::string& text, double x, double baseline, float size, Vec3 colour,
			Align align = Align::Left) const
		{
			if (!font)
				return;
			const float width = font->measure(text, size, 0.0f);
			const int boxWidth = (int)std::ceil(width) + 4, boxHeight = (int)std::ceil(size * 1.4f);
			Canvas coverage(boxWidth, boxHeight);
			const float ascent = size * 1.0f;
			font->draw(coverage, text, 1.0f, ascent, size, 0.0f);
			const double originX = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
			const int ox = (int)std::lround(originX) - 1, oy = (int)std::lround(baseline - ascent);
			for (int y = 0; y < boxHeight; y++)
				for (int cx = 0; cx < boxWidth; cx++)
					blend(canvas, ox + cx, oy + y, colour, coverage.pixel(cx, y)[3]);
		}

		float measure(const std::string& text, float size) const { return font ? font->measure(text, size, 0.0f) : 0.0f; }

	private:
		std::unique_ptr<Font> font;
	};

	std::string number(const char* pattern, double value)
	{
		char text[64];
		std::snprintf(text, sizeof text, pattern, value);
		return text;
	}

	// The beat's own hue, lifted so even a dark beat's column shows it; its height tells the level.
	Vec3 visibleHue(const float* colour)
	{
		const Vec3 c(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f);
		const float brightest = std::max({ c.x, c.y, c.z });
		if (brightest < 0.02f)
			return Vec3(0.45f, 0.45f, 0.48f);
		return mix(c * (0.92f / brightest), Vec3(0.8f, 0.8f, 0.82f), 0.15f);
	}
}

void drawReportChart(const std::string& path, const ChartData& data)
{
	Canvas canvas(chartWidth, chartHeight);
	fillRect(canvas, 0, 0, chartWidth, chartHeight, background);
	const Labels labels;
	if (data.beats.empty())
	{
		writePng(path, canvas, 3);
		return;
	}
	const double start = data.beats.front().from, end = data.beats.back().to;
	auto xAt = [&](double seconds) { return left + (seconds - start) / (end - start) * (right - left); };

	// Title
	labels.draw(canvas, "Music against picture, beat by beat", left, 34, 24.0f, ink);
	labels.draw(canvas, std::to_string(data.width) + "x" + std::to_string(data.height) + number(" at %g fps, ", data.fps)
		+ number("%.2f", start) + number(" to %.2f s", end), right, 34, 16.0f, faintInk, Align::Right);

	// Sections: a tinted band each, named above the panels, their borders through every panel.
	for (size_t i = 0; i < data.sections.size(); i++)
	{
		const StretchFigures& section = data.sections[i];
		const Vec3 colour = sectionColours[i % (sizeof sectionColours / sizeof sectionColours[0])];
		const double x0 = xAt(section.from), x1 = xAt(section.to);
		fillRect(canvas, x0, musicTop, x1, flashBottom, colour, i % 2 ? 0.05f : 0.025f);
		fillRect(canvas, x0 + 1, sectionTop, x1 - 1, sectionBottom, colour, 0.30f);
		fillRect(canvas, x0 + 1, sectionBottom - 3, x1 - 1, sectionBottom, colour, 0.9f);
		const float size = labels.measure(section.name, 16.0f) < x1 - x0 - 6 ? 16.0f : 11.0f;
		labels.draw(canvas, section.name, (x0 + x1) / 2, sectionBottom - 9, size, ink, Align::Centre);
	}

	// Grids and scales
	const double columnWidth = (right - left) * Show::secondsPerBeat / (end - start);
	double brightest = 128.0, biggestChange = 4.0;
	int mostFlashes = 4;
	for (const StretchFigures& beat : data.beats)
	{
		brightest = std::max(brightest, beat.pictureMean);
		biggestChange = std::max(biggestChange, beat.medianChange);
		mostFlashes = std::max(mostFlashes, (int)std::ceil(std::max(beat.generalFlashes, beat.redFlashes)) + 1);
	}
	brightest = std::min(255.0, std::ceil(brightest / 32.0) * 32.0);
	biggestChange = std::ceil(biggestChange * 1.15);
	auto musicY = [&](double dbfs) {
		return musicBottom - std::clamp((dbfs - quietestDbfs) / -quietestDbfs, 0.0, 1.0) * (musicBottom - musicTop);
	};
	auto pictureY = [&](double mean) { return pictureBottom - std::min(mean / brightest, 1.0) * (pictureBottom - pictureTop); };
	auto changeY = [&](double change) { return pictureBottom - std::min(change / biggestChange, 1.0) * (pictureBottom - pictureTop); };
	auto flashY = [&](double flashes) { return flashBottom - std::min(flashes / mostFlashes, 1.0) * (flashBottom - flashTop); };

	for (double dbfs = -36.0; dbfs <= 0.0; dbfs += 6.0)
	{
		drawLine(canvas, left, musicY(dbfs), right, musicY(dbfs), grid, 1.0, 0.5f);
		labels.draw(canvas, number("%.0f", dbfs), left - 8, musicY(dbfs) + 5, 13.0f, faintInk, Align::Right);
	}
	labels.draw(canvas, "music dBFS", left - 8, musicTop + 2, 13.0f, amber, Align::Right);
	for (double mean = 32.0; mean <= brightest; mean += 32.0)
	{
		drawLine(canvas, left, pictureY(mean), right, pictureY(mean), grid, 1.0, 0.5f);
		labels.draw(canvas, number("%.0f", mean), left - 8, pictureY(mean) + 5, 13.0f, faintInk, Align::Right);
	}
	labels.draw(canvas, "picture", left - 8, pictureTop + 2, 13.0f, ink, Align::Right);
	for (double change = 0.0; change <= biggestChange; change += std::max(1.0, std::round(biggestChange / 4)))
		labels.draw(canvas, number("%.0f", change), right + 8, changeY(change) + 5, 13.0f, cyan);
	labels.draw(canvas, "change", right + 6, pictureTop - 4, 13.0f, cyan);

	// Loud but dark beats, picked out behind everything else.
	for (const StretchFigures& beat : data.beats)
		if (beat.loudButDark())
		{
			fillRect(canvas, xAt(beat.from), musicTop, xAt(beat.to), pictureBottom, alarm, 0.22f);
			const double centre = (xAt(beat.from) + xAt(beat.to)) / 2;
			drawLine(canvas, centre, stripTop - 6, centre, stripTop - 6, alarm, 5.0);
		}

	// The columns: music rising in amber, the picture in its own hue, the true mean colour below.
	const double gap = columnWidth > 6 ? 1.5 : 0.0;
	for (const StretchFigures& beat : data.beats)
	{
		const double x0 = xAt(beat.from) + gap / 2, x1 = xAt(beat.to) - gap / 2;
		if (std::isfinite(beat.musicDbfs))
		{
			fillRect(canvas, x0, musicY(beat.musicDbfs), x1, musicBottom, amber, 0.85f);
			fillRect(canvas, x0, musicY(beat.musicDbfs), x1, musicY(beat.musicDbfs) + 2, Vec3(1.0f, 0.85f, 0.6f));
		}
		const Vec3 hue = visibleHue(beat.colour);
		fillRect(canvas, x0, pictureY(beat.pictureMean), x1, pictureBottom, hue, 0.8f);
		fillRect(canvas, x0, pictureY(beat.pictureMean), x1, pictureY(beat.pictureMean) + 2, Vec3(1.0f, 1.0f, 1.0f), 0.9f);
		fillRect(canvas, xAt(beat.from), stripTop, xAt(beat.to), stripBottom,
			Vec3(beat.colour[0] / 255.0f, beat.colour[1] / 255.0f, beat.colour[2] / 255.0f));
		if (beat.generalFlashes > 0.0)
			fillRect(canvas, x0, flashY(beat.generalFlashes), (x0 + x1) / 2 + 0.5, flashBottom, ink, 0.85f);
		if (beat.redFlashes > 0.0)
			fillRect(canvas, (x0 + x1) / 2 - 0.5, flashY(beat.redFlashes), x1, flashBottom, alarm, 0.9f);
	}
	drawLine(canvas, left, musicY(Report::loudAboveDbfs), right, musicY(Report::loudAboveDbfs), amber, 1.5, 0.9f, 6.0);
	labels.draw(canvas, "loud", right + 8, musicY(Report::loudAboveDbfs) + 5, 13.0f, amber);
	drawLine(canvas, left, pictureY(Report::darkBelowMean), right, pictureY(Report::darkBelowMean), alarm, 1.5, 0.9f, 6.0);
	labels.draw(canvas, "dark", left - 8, pictureY(Report::darkBelowMean) + 5, 13.0f, alarm, Align::Right);

	// The frame change as a line over the picture's columns.
	for (size_t i = 1; i < data.beats.size(); i++)
	{
		const StretchFigures& a = data.beats[i - 1];
		const StretchFigures& b = data.beats[i];
		drawLine(canvas, (xAt(a.from) + xAt(a.to)) / 2, changeY(a.medianChange), (xAt(b.from) + xAt(b.to)) / 2,
			changeY(b.medianChange), cyan, 2.0, 0.95f);
	}

	// Flashes: the limit and the margin under it.
	drawLine(canvas, left, flashY(Report::wcagFlashesPerSecond), right, flashY(Report::wcagFlashesPerSecond), alarm, 1.5, 0.9f, 6.0);
	labels.draw(canvas, "WCAG limit", right + 6, flashY(Report::wcagFlashesPerSecond) + 5, 12.0f, alarm);
	for (int flashes = 0; flashes <= mostFlashes; flashes++)
		labels.draw(canvas, std::to_string(flashes), left - 8, flashY(flashes) + 5, 12.0f, faintInk, Align::Right);
	labels.draw(canvas, "flashes/s", left - 8, flashTop - 6, 13.0f, ink, Align::Right);
	drawLine(canvas, left, flashBottom, right, flashBottom, grid, 1.0);

	// Time axis: section borders labelled, a tick every bar.
	for (double bar = std::ceil(start / Show::secondsPerBar - 1e-9) * Show::secondsPerBar; bar <= end + 1e-9; bar += Show::secondsPerBar)
		drawLine(canvas, xAt(bar), flashBottom, xAt(bar), flashBottom + 5, faintInk, 1.0);
	for (const StretchFigures& section : data.sections)
	{
		drawLine(canvas, xAt(section.from), sectionTop, xAt(section.from), flashBottom + 8, grid, 1.0, 0.9f);
		labels.draw(canvas, number("%.2f", section.from), xAt(section.from), axisBaseline, 13.0f, faintInk, Align::Centre);
	}
	labels.draw(canvas, number("%.2f s", end), xAt(end), axisBaseline, 13.0f, faintInk, Align::Right);

	// Legend
	double x = left;
	auto legend = [&](Vec3 colour, const std::string& text) {
		fillRect(canvas, x, legendBaseline - 11, x + 18, legendBaseline + 1, colour, 0.9f);
		labels.draw(canvas, text, x + 26, legendBaseline, 15.0f, ink);
		x += 26 + labels.measure(text, 15.0f) + 34;
	};
	legend(amber, "music: RMS per beat");
	legend(Vec3(0.8f, 0.8f, 0.82f), "picture: mean luma per beat, in its hue");
	legend(cyan, "frame change (median per beat)");
	legend(alarm, "loud but dark beat / red flashes");
	legend(ink, "flashes in the worst second");
	writePng(path, canvas, 3);
}

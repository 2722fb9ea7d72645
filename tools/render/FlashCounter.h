// Flashes after WCAG 2.3.1, counted frame by frame over a rendered picture.
//
// A general flash is a pair of opposing changes of relative luminance of at least 0.1 where the
// darker state is below 0.8; a red flash a pair of opposing changes to or from a saturated red.
// Either only counts over at least a quarter of a 10-degree field: 341x256 pixels of a 1024x768
// screen, scaled uniformly to the picture by the smaller of the two ratios (so a wide picture gets
// the smaller field, which counts more).
//
// How it is read here, erring towards counting: each pixel follows its own runs of rising and
// falling luminance (a fade over many frames is one change; a wobble under a small tolerance is
// none) and reports when it completes a change opposite to its last one. A transition is counted
// in a field-sized window (windows step by half a field) when the pixels that changed one way,
// less those that changed the other way, reach a quarter of the field; so a whole screen
// flashing counts, a bright object moving across a dark one (as much turning bright as dark)
// does not. Recent counts fade with a half-life of a quarter second, shorter than any flash
// that matters at three a second. Flashes are transitions / 2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FlashCounter
{
public:
	FlashCounter(int width, int height, double fps);

	// The next frame: width x height upright RGBA bytes.
	void addFrame(const unsigned char* rgba);

	// Transitions over the last second (this frame and the frames within 1 s before it) in the
	// window that holds the most; a flash is two of them.
	int generalTransitionsInLastSecond() const { return general.inLastSecond; }
	int redTransitionsInLastSecond() const { return red.inLastSecond; }

	int getFieldWidth() const { return fieldWidth; }
	int getFieldHeight() const { return fieldHeight; }
	// Pixels that must change the same way in one field for a transition.
	int getTransitionArea() const { return transitionArea; }

	static constexpr int transitionsPerFlash = 2;

private:
	// Transitions of one kind, counted per field-sized window over a grid of half-field cells.
	struct Windows
	{
		void reset(int cellCount, int windowCount, int ringSize);
		// Adds this frame's cells to each window, counts a transition where a window's recent
		// changes reach the area the other way from its last one, and counts its last second.
		void update(int cellColumns, int cellRows, int windowColumns, int windowRows, double area,
			double decayPerFrame, long frame, double fps);

		std::vector<int> towardsCells; // pixels turning bright (or red) this frame, per cell
		std::vector<int> awayCells;    // pixels turning dark (or away from red)
		std::vector<double> net;       // per window: recent changes one way less the other, fading
		std::vector<int8_t> state;     // per window: the way of its last transition, 0 before any
		std::vector<long> ring;        // per window: the frames of its latest transitions
		std::vector<int> ringNext;
		std::vector<int> cellNet;      // per cell, this frame
		int ringSize = 0;
		int inLastSecond = 0;
	};

	void addGeneral(size_t pixel, float luminance, int cell);
	void addRed(size_t pixel, const unsigned char* rgb, int cell);

	int width;
	int height;
	double fps;
	int fieldWidth;
	int fieldHeight;
	int transitionArea;
	double decay; // of a window's recent changes, per frame
	int cellColumns;
	int cellRows;
	int windowColumns;
	int windowRows;
	std::vector<int> cellOfColumn;
	std::vector<int> cellOfRow;
	long frame = -1;

	// Per pixel: the luminance where its current run began and the furthest it has gone since,
	// and the way of its last change of 0.1 or more (+1 brighter, -1 darker, 0 none yet).
	std::vector<float> runStart;
	std::vector<float> runExtreme;
	std::vector<int8_t> lastChange;
	// Per pixel: whether it is in a saturated-red state, and the colour it was in when it
	// last changed state (or last stood outside red), to measure the next change against.
	std::vector<int8_t> inRed;
	std::vector<unsigned char> redAnchor;

	Windows general;
	Windows red;
};

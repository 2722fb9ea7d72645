// The architecture scene's point layer: a 40 x 40 x 40 grid of glowing points that bulges away
// from six moving attractors and lights up orange near them, drawn additively as discs.
#pragma once

#include "ArchitectureLayouts.h"

#include <memory>

class BallField
{
public:
	// Draws the thresholds once; the per-frame arrays are allocated here, never in a frame.
	BallField();

	BallField(const BallField&) = delete;
	BallField& operator=(const BallField&) = delete;

	// Reads how far the attractors roam, the brightness and the flicker (added to each point's
	// threshold; a point shows while the sum is above 0), in that order. Leaves blending off, the
	// blend function (ONE, ONE) and the point size 8.
	void draw(double t);

	static constexpr const char* motionTrack = "Arch Ball Motion";
	static constexpr const char* brightnessTrack = "Arch Balls";
	static constexpr const char* flickerTrack = "Arch Balls Flicker";

private:
	std::unique_ptr<float[]> thresholds;
	std::unique_ptr<ArchitectureLayouts::BallPoints> points;

	struct ShownPoint
	{
		float position[3];
		float colour[3];
	};
	std::unique_ptr<ShownPoint[]> shownPoints; // room for every point; a frame fills the shown ones
};

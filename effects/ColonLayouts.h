// The column scene's layouts, drawn once at construction from one seeded generator: the ring
// segments with their layers' speeds and heights, the tube's bands and the floating sprites.
// Also the per-frame arithmetic the scene draws with. Nothing here touches OpenGL or the sync
// tracks, so all of it can be tested on its own.
#pragma once

#include <tarn/Math.h>

#include <vector>

namespace ColonLayouts
{
	constexpr int ringCount = 1500;
	constexpr int layerCount = 100;
	constexpr int bandCount = 100;
	constexpr int floaterCount = 3000;
	constexpr int gatheredCount = 2000; // floaters 0 .. 1999 can be pulled onto the ball

	// A flat segment of an annulus in the horizontal plane of its layer.
	struct Ring
	{
		int layer;         // 0 .. 99
		float innerRadius; // layer + 4
		float outerRadius; // may be smaller than innerRadius
		float startAngle;  // radians
		float endAngle;
		float delay;       // how early the rings' fade switches the ring on
		float color[4];
		int style;         // 0 filled, 1 outlined, 2 slanted spokes, -1 and -2 not drawn
	};

	// One 3-unit piece of the tube, from height y up.
	struct Band
	{
		float y;
		float delay;
	};

	struct Floater
	{
		Tarn::Vector3 position;
		Tarn::Vector3 direction;
		Tarn::Vector3 target; // on the ball; (0, 0, 0) and unused from gatheredCount on
		float phase;
		float twinklePhase;
		float frequency;
		float twinkleFrequency;
	};

	struct Layout
	{
		std::vector<Ring> rings;
		std::vector<float> layerSpeeds;  // turning speed factor per layer, -1 .. 1
		std::vector<float> layerHeights; // height factor per layer, -1 .. 1
		std::vector<Band> bands;         // bottom to top
		std::vector<Floater> floaters;
	};

	// The whole layout from the generator seeded (1, 2); the same on every run.
	Layout build();

	// The switch-on curve of rings and bands: 0 up to 0.7 (and for not-a-number), six blinks up
	// to 0.8, a ramp to 1 at 1, then 1.
	float flickerIn(float q);

	// Where floater index is drawn at doubled time T2 with the floaters' transform w, and how
	// bright (position written to where); at or below 0 it is not drawn.
	float placeFloater(const Floater& floater, int index, float T2, float w, Tarn::Vector3& where);
}

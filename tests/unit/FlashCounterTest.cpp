// Flashes after WCAG 2.3.1 over synthetic pictures: what must count (strobes, fades, red) and
// what must not (small changes, changes among bright states, a wobble, an area under a quarter field).
#include "FlashCounter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
	// 1024x768 scaled by 1/8: the field is 43x32 pixels, a quarter of it 344.
	constexpr int width = 128, height = 96;
	constexpr double fps = 30.0;

	struct Colour
	{
		unsigned char r, g, b;
	};
	constexpr Colour black { 0, 0, 0 }, white { 255, 255, 255 }, red { 255, 0, 0 };
	Colour grey(unsigned char level) { return { level, level, level }; }

	struct FlashCase
	{
		const char* name;
		Colour (*colourAt)(int frame); // of the patch
		int patchSize;                  // a square in the middle; 0: the whole picture
		int generalTransitions;         // expected in the worst second
		int redTransitions;
	};

	const FlashCase cases[] = {
		{ "steady grey", [](int) { return grey(128); }, 0, 0, 0 },
		{ "a white frame every half second", [](int k) { return k % 15 == 7 ? white : black; }, 0, 4, 0 },
		{ "black and white every 4 frames", [](int k) { return k / 4 % 2 ? white : black; }, 0, 8, 0 },
		// Each fade counts where it has come 0.1: 3 frames up, 1 down (luminance is not linear in
		// the bytes), so a second can hold 6 of them.
		{ "a fade up and down over 6 frames each",
			[](int k) { return grey((unsigned char)(40 * std::min(k % 12, 12 - k % 12))); }, 0, 6, 0 },
		{ "changes under 0.1", [](int k) { return grey(k / 2 % 2 ? 110 : 100); }, 0, 0, 0 },
		{ "changes between states above 0.8", [](int k) { return grey(k / 2 % 2 ? 255 : 240); }, 0, 0, 0 },
		{ "a one-level wobble", [](int k) { return grey(k % 2 ? 129 : 128); }, 0, 0, 0 },
		{ "a patch under a quarter field", [](int k) { return k / 4 % 2 ? white : black; }, 18, 0, 0 },
		{ "a patch over a quarter field", [](int k) { return k / 4 % 2 ? white : black; }, 24, 8, 0 },
		{ "red and black every 4 frames", [](int k) { return k / 4 % 2 ? red : black; }, 0, 8, 8 },
	};
}

TEST(FlashCounter, CountsTheWorstSecondsTransitions)
{
	std::vector<unsigned char> rgba((size_t)width * height * 4);
	for (const FlashCase& test : cases)
	{
		FlashCounter counter(width, height, fps);
		ASSERT_EQ(counter.getTransitionArea(), 344);
		int general = 0, redCount = 0;
		for (int frame = 0; frame < 60; frame++)
		{
			const Colour colour = test.colourAt(frame);
			for (int y = 0; y < height; y++)
				for (int x = 0; x < width; x++)
				{
					const bool inPatch = test.patchSize == 0
						|| (std::abs(2 * x - width) < test.patchSize && std::abs(2 * y - height) < test.patchSize);
					unsigned char* pixel = &rgba[((size_t)y * width + x) * 4];
					const Colour shown = inPatch ? colour : black;
					pixel[0] = shown.r;
					pixel[1] = shown.g;
					pixel[2] = shown.b;
					pixel[3] = 255;
				}
			counter.addFrame(rgba.data());
			general = std::max(general, counter.generalTransitionsInLastSecond());
			redCount = std::max(redCount, counter.redTransitionsInLastSecond());
		}
		EXPECT_EQ(general, test.generalTransitions) << test.name;
		EXPECT_EQ(redCount, test.redTransitions) << test.name;
	}
}

// The production tests run the real Demo and post passes in one headless context, from a scratch
// run directory whose Data/ holds the build's shaders and images and track files of the tests' own.
#include "ScratchRunDirectory.h"

#include "Extensions.h"
#include "GLWindow.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
	testing::InitGoogleTest(&argc, argv);
	if (testing::GTEST_FLAG(list_tests))
		return RUN_ALL_TESTS();
	ScratchRunDirectory directory("production-test-run");
	setOutputSizeOverride(320, 180);
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	GLWindow window;
	window.create("production tests", false, 320, 180, 0);
	loadExtensions();
	return RUN_ALL_TESTS();
}

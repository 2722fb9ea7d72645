// The Demo frame on a fixed clock: when the show ends, how "Part" picks the scene, that a frame
// is the same picture every time, that errors surface, that the GL objects go with the Demo, and
// that the whole show reads only the tracks it declares.
#include "TestTracks.h"
#include "TrackGuard.h"

#include "Demo.h"
#include "Extensions.h"
#include "FixedClock.h"
#include "PerkProc.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "Show.h"
#include "Sync.h"

#include <tarn/Exception.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

static std::vector<unsigned char> readWindow()
{
	const OutputSize size = getOutputSize();
	std::vector<unsigned char> pixels((size_t)size.width * size.height * 4);
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glReadPixels(0, 0, size.width, size.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
	return pixels;
}

static std::string messageOf(const std::function<void()>& action)
{
	try
	{
		action();
	}
	catch (const Tarn::Exception& exception)
	{
		return exception.getMessage().getText();
	}
	return "(nothing thrown)";
}

class DemoFrame : public testing::Test
{
protected:
	bool renderAt(double seconds)
	{
		clock.setPosition(seconds);
		return demo.render();
	}

	FixedClock clock;
	Demo demo{ clock };
};

TEST_F(DemoFrame, DrawsUntilJustBefore70_8SecondsAndEndsThere)
{
	EXPECT_TRUE(renderAt(70.79));
	EXPECT_FALSE(renderAt(70.8));
	EXPECT_FALSE(renderAt(71.0));
	EXPECT_EQ(GL_NO_ERROR, glGetError());
}

TEST_F(DemoFrame, PartTruncatesTowardZeroAndIsBoundsChecked)
{
	// -0.5 truncates to scene 0; flooring it would index -1 and throw.
	EXPECT_TRUE(renderAt(timeOfNegativePart));
	// One past the last scene.
	EXPECT_EQ("Index out of bounds", messageOf([&] { renderAt(timeOfPartBeyondList); }));
	for (double time : timesOfPartsNoIntHolds)
		EXPECT_EQ("Index out of bounds", messageOf([&] { renderAt(time); })) << "at " << time << " s";
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	EXPECT_TRUE(renderAt(timeOfOmbrix));
}

TEST_F(DemoFrame, TheSameMomentGivesTheSamePicture)
{
	ASSERT_TRUE(renderAt(timeOfNegativePart + 1.0));
	const std::vector<unsigned char> first = readWindow();
	ASSERT_TRUE(renderAt(timeOfOmbrix));
	const std::vector<unsigned char> between = readWindow();
	ASSERT_TRUE(renderAt(timeOfNegativePart + 1.0));
	const std::vector<unsigned char> again = readWindow();

	EXPECT_NE(first, between) << "two different moments drew the same picture";
	EXPECT_TRUE(first == again) << "the same moment drew two different pictures";
}

TEST_F(DemoFrame, AnErrorLeftPendingEndsTheFrameWithItsText)
{
	glEnable(0x7FFF); // not a capability: GL_INVALID_ENUM waits for the frame's check
	EXPECT_EQ("GL error has occurred: invalid enumerant", messageOf([&] { renderAt(timeOfOmbrix); }));
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	EXPECT_EQ(GL_NO_ERROR, glGetError());
}

// One frame a second of the show's own tracks, at a tiny size.
TEST(TheShow, ReadsOnlyTheTracksItDeclares)
{
	Sync& sync = Sync::get();
	SyncDevice* testTracks = sync.device;
	sync.device = SyncDevice::create("../Data/"); // the build's run directory
	setOutputSizeOverride(32, 18);
	{
		TrackGuard guard;
		FixedClock clock;
		Demo demo(clock);
		for (int second = 0; second < Show::length; second++)
		{
			clock.setPosition(second);
			const char* scene = Demo::sceneName(Demo::currentScene());
			guard.expect("the frame at " + std::to_string(second) + " s, drawing " + (scene ? scene : "no scene"));
			ASSERT_TRUE(demo.render()) << "at " << second << " s";
		}
		EXPECT_EQ(GL_NO_ERROR, glGetError());
	}
	setOutputSizeOverride(320, 180);
	sync.device = testTracks;
}

TEST(DemoLifetime, GraphicsGoWithTheDemoAndComeBackWithTheNext)
{
	FixedClock clock;
	GLuint sceneTexture = 0;
	{
		Demo demo(clock);
		sceneTexture = PerkProc::get().target->textures[0]->id;
		ASSERT_TRUE(glIsTexture(sceneTexture));
	}
	EXPECT_FALSE(glIsTexture(sceneTexture)) << "the scene target outlived the Demo";

	Demo again(clock);
	clock.setPosition(timeOfOmbrix);
	EXPECT_TRUE(again.render());
	EXPECT_EQ(GL_NO_ERROR, glGetError());
}

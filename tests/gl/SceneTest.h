// Fixture for a scene's GL tests: the show's clock stands wherever the test puts it, and the
// scene's tracks come from a folder of the test's own, so they hold exactly what it wants. The
// scene's shaders and images come from the build's Data/.
#pragma once

#include "GLTest.h"

#include "../unit/TrackFileFixture.h" // Required for: trackBytes
#include "FixedClock.h"
#include "Show.h"
#include "Sync.h"

#include <fstream> // Required for: std::ofstream
#include <string>
#include <vector>

class SceneTest : public GLTest
{
protected:
	void SetUp() override
	{
		GLTest::SetUp();
		folder = makeTestFolder() + "/";
		Sync& sync = Sync::get();
		savedDevice = sync.device;
		sync.device = SyncDevice::create(folder.c_str());
		sync.audio = &music;
		sync.rowRate = Show::rowsPerSecond;
	}

	// The scene's GL objects go first, while the test's context still exists.
	void TearDown() override
	{
		releaseScene();
		Sync& sync = Sync::get();
		sync.audio = nullptr;
		sync.device = savedDevice;
		GLTest::TearDown();
	}

	virtual void releaseScene() = 0;

	void writeTrack(const std::string& name, const std::vector<TrackKeyBytes>& keys)
	{
		std::ofstream(folder + "_" + name + ".track", std::ios::binary) << trackBytes(keys);
	}

	// Puts the music where the tracks are at row.
	void setRow(double row)
	{
		music.setPosition(row / Show::rowsPerSecond);
	}

	std::string folder;
	SyncDevice* savedDevice = nullptr;
	FixedClock music;
};

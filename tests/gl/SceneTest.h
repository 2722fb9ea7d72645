// Fixture for a scene's GL tests: the show's clock stands wherever the test puts it, and the
// scene's tracks come from a folder of the test's own, so they hold exactly what it wants; every
// track the scene reads must be one it declares. The scene's shaders and images come from the
// build's Data/. The GL state the Demo sets once for the whole show is set here too.
#pragma once

#include "GLTest.h"
#include "TrackGuard.h"

#include "../unit/TrackFileFixture.h" // Required for: writeTrackFile
#include "FixedClock.h"
#include "Show.h"
#include "Sync.h"

#include <memory>
#include <string>
#include <vector>

class SceneTest : public GLTest
{
protected:
	// The scene under test, or none for a test that walks the show's table and names each itself.
	explicit SceneTest(const Declaration* scene = nullptr, void (*release)() = nullptr)
		: scene(scene), release(release)
	{
	}

	void SetUp() override
	{
		GLTest::SetUp();
		folder = makeTestFolder() + "/";
		Sync& sync = Sync::get();
		savedDevice = sync.device;
		sync.device = SyncDevice::create(folder.c_str());
		sync.audio = &music;
		sync.rowRate = Show::rowsPerSecond;
		guard.reset(new TrackGuard());
		if (scene)
			guard->expect(scene->name, scene);

		glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
		glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
		glEnable(GL_LINE_SMOOTH);
		glEnable(GL_POINT_SMOOTH);
		glDepthFunc(GL_LEQUAL);
	}

	// The scene's GL objects go first, while the test's context still exists.
	void TearDown() override
	{
		if (release)
			release();
		guard.reset();
		Sync& sync = Sync::get();
		sync.audio = nullptr;
		sync.device = savedDevice;
		GLTest::TearDown();
	}

	void writeTrack(const std::string& name, const std::vector<TrackKeyBytes>& keys)
	{
		writeTrackFile(folder, name, trackBytes(keys));
	}

	// Puts the music where the tracks are at row.
	void setRow(double row)
	{
		music.setPosition(row / Show::rowsPerSecond);
	}

	const Declaration* scene;
	void (*release)();
	std::string folder;
	SyncDevice* savedDevice = nullptr;
	FixedClock music;
	std::unique_ptr<TrackGuard> guard;
};

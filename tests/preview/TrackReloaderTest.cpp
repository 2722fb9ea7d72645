// Saved track text reaches the tracks the device already holds, at the same row; a broken file
// keeps the last good files and values and says where it broke.
#include "TrackReloader.h"

#include "SyncDevice.h"

#include "../unit/TrackFileFixture.h"

class TrackReloaderTest : public TrackFileFixture
{
protected:
	void SetUp() override
	{
		TrackFileFixture::SetUp();
		folder = directory;
		std::filesystem::create_directories(folder + "/show");
		std::filesystem::create_directories(folder + "/Data");
		device = SyncDevice::create((folder + "/Data/").c_str());
	}

	void TearDown() override
	{
		SyncDevice::destroy(device);
		TrackFileFixture::TearDown();
	}

	void writeShow(const std::string& text)
	{
		std::ofstream(folder + "/show/test.tracks", std::ios::binary) << text;
	}

	std::string folder;
	SyncDevice* device = nullptr;
};

TEST_F(TrackReloaderTest, ChangedTextReloadsAndBrokenTextKeepsTheLastGood)
{
	TrackReloader reloader(folder + "/show", folder + "/Data", *device);
	std::string error;
	writeShow("track Glow\n    0:0  0  linear\n    1:0  32  step\n");
	ASSERT_TRUE(reloader.reload(error)) << error;
	SyncTrack* glow = device->getTrack("Glow");
	EXPECT_FLOAT_EQ(glow->valueAt(16.0), 16.0f);

	struct Step
	{
		const char* text;
		bool compiles;
		const char* where; // the start of the message, for a broken file
		float valueAtRow16;
	};
	const Step steps[] = {
		{ "track Glow\n    0:0  0  linear\n    1:0  64  step\n", true, "", 32.0f },
		{ "track Glow\n    0:0  0  linear\n    1:0  sixty  step\n", false, "/show/test.tracks:3:", 32.0f },
		{ "track Glow\n    0:0  0  lienar\n", false, "/show/test.tracks:2:", 32.0f },
		{ "track Glow\n    0:0  5  step\n", true, "", 5.0f },
	};
	for (const Step& step : steps)
	{
		writeShow(step.text);
		EXPECT_EQ(reloader.reload(error), step.compiles) << step.text;
		if (step.compiles)
		{
			EXPECT_TRUE(error.empty()) << error;
		}
		else
		{
			EXPECT_EQ(error.rfind(folder + step.where, 0), 0u) << error;
		}
		EXPECT_EQ(device->getTrack("Glow"), glow) << "the track record stays where the show holds it";
		EXPECT_FLOAT_EQ(glow->valueAt(16.0), step.valueAtRow16) << step.text;
	}
}

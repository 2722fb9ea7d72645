// The track player: loading track files, finding the segment of a row and interpolating in it.
#include "TrackFileFixture.h"

#include <SyncDevice.h>

#include <cmath> // Required for: NAN, INFINITY

namespace
{
	class SyncTrackTest : public TrackFileFixture
	{
	protected:
		void SetUp() override
		{
			TrackFileFixture::SetUp();
			device = SyncDevice::create(base.c_str());
			ASSERT_NE(device, nullptr);
		}

		void TearDown() override
		{
			SyncDevice::destroy(device);
			TrackFileFixture::TearDown();
		}

		SyncTrack* trackOf(const std::string& name, const std::vector<TrackKeyBytes>& keys)
		{
			writeTrack(name, trackBytes(keys));
			return device->getTrack(name.c_str());
		}

		SyncDevice* device = nullptr;
	};
}

TEST_F(SyncTrackTest, EachInterpolationBetweenTwoKeysUsesTheFractionalRow)
{
	const struct
	{
		const char* name;
		SyncKeyType type;
		float expected;
	} cases[] = {
		{ "Step", Step, 0.0f },
		{ "Linear", Linear, 0.375f },
		{ "Smooth", Smooth, 0.31640625f },
		{ "Ramp", Ramp, 0.140625f },
	};
	for (const auto& c : cases)
	{
		SyncTrack* track = trackOf(c.name, { { 0, 0.0f, (int8_t)c.type }, { 4, 1.0f, Step } });
		EXPECT_EQ(track->valueAt(1.5), c.expected) << c.name;
		// The segment's start key gives exactly its value, and the next key takes over at its row.
		EXPECT_EQ(track->valueAt(0.0), 0.0f) << c.name;
		EXPECT_EQ(track->valueAt(4.0), 1.0f) << c.name;
	}
}

TEST_F(SyncTrackTest, StepHoldsUntilTheNextKeysRow)
{
	SyncTrack* track = trackOf("Hold", { { 10, 2.0f, Step }, { 20, 5.0f, Linear } });
	EXPECT_EQ(track->valueAt(19.999), 2.0f);
	EXPECT_EQ(track->valueAt(20.0), 5.0f);
}

TEST_F(SyncTrackTest, OutsideTheKeysTheNearestEndKeyHolds)
{
	SyncTrack* single = trackOf("Single", { { 8, 3.5f, Linear } });
	for (double row : { -100.0, 0.0, 7.9, 8.0, 8.5, 1e6 })
		EXPECT_EQ(single->valueAt(row), 3.5f) << row;

	SyncTrack* pair = trackOf("Pair", { { 8, 1.0f, Ramp }, { 16, 9.0f, Smooth } });
	EXPECT_EQ(pair->valueAt(7.99), 1.0f);
	EXPECT_EQ(pair->valueAt(-1e12), 1.0f);
	EXPECT_EQ(pair->valueAt(16.5), 9.0f);
	EXPECT_EQ(pair->valueAt(1e12), 9.0f);
	EXPECT_EQ(pair->valueAt(NAN), 1.0f);
	EXPECT_EQ(pair->valueAt(INFINITY), 9.0f);
}

TEST_F(SyncTrackTest, FloorKeyFindsTheSegmentStart)
{
	SyncTrack* track = trackOf("Search", { { 0, 0, Step }, { 4, 0, Step }, { 9, 0, Step }, { 100, 0, Step }, { 101, 0, Step } });
	const int32_t rows[] = { -1, 0, 3, 4, 5, 9, 99, 100, 101, 5000 };
	const int expected[] = { -1, 0, 0, 1, 1, 2, 2, 3, 4, 4 };
	for (int i = 0; i < 10; i++)
		EXPECT_EQ(track->floorKey(rows[i]), expected[i]) << "row " << rows[i];
}

TEST_F(SyncTrackTest, AKeyTypeOutsideTheKnownOnesReadsZeroInItsSegment)
{
	SyncTrack* track = trackOf("Odd", { { 0, 4.0f, 7 }, { 10, 8.0f, -1 } });
	EXPECT_EQ(track->keys[1].type, -1);
	EXPECT_EQ(track->valueAt(0.0), 0.0f);
	EXPECT_EQ(track->valueAt(5.0), 0.0f);
	EXPECT_EQ(track->valueAt(11.0), 8.0f);
}

TEST_F(SyncTrackTest, AMissingFileIsATrackThatReadsZero)
{
	SyncTrack* track = device->getTrack("Nowhere");
	ASSERT_NE(track, nullptr);
	EXPECT_EQ(track->keyCount, 0);
	EXPECT_EQ(track->keys, nullptr);
	for (double row : { -5.0, 0.0, 12.25, 1e9 })
		EXPECT_EQ(track->valueAt(row), 0.0f);
	EXPECT_EQ(track->load((base + "_Nowhere.track").c_str()), SyncTrack::NotOpened);
}

TEST_F(SyncTrackTest, TracksAreFoundByExactNameAndReadOnce)
{
	writeTrack("Camera FOV", trackBytes({ { 0, 70.0f, Step } }));
	SyncTrack* first = device->getTrack("Camera FOV");
	EXPECT_EQ(first->valueAt(3.0), 70.0f);

	// A second request must not read the file again: the changed file goes unseen.
	writeTrack("Camera FOV", trackBytes({ { 0, 10.0f, Step } }));
	EXPECT_EQ(device->getTrack("Camera FOV"), first);
	EXPECT_EQ(first->valueAt(3.0), 70.0f);

	SyncTrack* otherCase = device->getTrack("camera fov");
	EXPECT_NE(otherCase, first);
	EXPECT_EQ(device->trackCount, 2);
	EXPECT_EQ(device->findTrack("Camera FOV"), 0);
	EXPECT_EQ(device->findTrack("camera fov"), 1);
	EXPECT_EQ(device->findTrack("Camera"), -1);
	EXPECT_STREQ(device->tracks[0]->name, "Camera FOV");
}

TEST_F(SyncTrackTest, MalformedFilesAreRejectedAsEmptyTracks)
{
	const std::string twoKeys = trackBytes({ { 0, 1.0f, Linear }, { 8, 2.0f, Step } });
	const struct
	{
		const char* name;
		std::string bytes;
	} cases[] = {
		{ "Shorter than its header", std::string("\x01\x00", 2) },
		{ "Cut inside the last key", twoKeys.substr(0, twoKeys.size() - 1) },
		{ "Negative count", trackBytes(-1, { { 0, 1.0f, Step } }) },
		{ "Most negative count", trackBytes(INT32_MIN, { { 0, 1.0f, Step } }) },
		{ "Count far beyond the file", trackBytes(0x7FFFFFFF, { { 0, 1.0f, Step } }) },
		{ "Count one beyond the file", trackBytes(3, { { 0, 1.0f, Linear }, { 8, 2.0f, Step } }) },
		{ "Rows falling", trackBytes({ { 8, 1.0f, Linear }, { 0, 2.0f, Step } }) },
		{ "Rows repeated", trackBytes({ { 0, 1.0f, Linear }, { 4, 2.0f, Linear }, { 4, 3.0f, Step } }) },
	};
	for (const auto& c : cases)
	{
		const std::string path = writeTrack(c.name, c.bytes);
		SyncTrack* track = device->getTrack(c.name);
		EXPECT_EQ(track->keyCount, 0) << c.name;
		EXPECT_EQ(track->keys, nullptr) << c.name;
		EXPECT_EQ(track->valueAt(4.0), 0.0f) << c.name;
		SyncTrack probe{};
		EXPECT_EQ(probe.load(path.c_str()), SyncTrack::Malformed) << c.name;
	}
}

TEST_F(SyncTrackTest, WellFormedEdgesOfTheFormatAreRead)
{
	// Zero keys is a valid, empty track; bytes after the last key are not part of it.
	SyncTrack probe{};
	EXPECT_EQ(probe.load(writeTrack("Empty", trackBytes({})).c_str()), SyncTrack::Loaded);
	EXPECT_EQ(probe.keyCount, 0);

	writeTrack("Trailing", trackBytes({ { 0, 1.0f, Linear }, { 8, 2.0f, Step } }) + "junk");
	SyncTrack* trailing = device->getTrack("Trailing");
	EXPECT_EQ(trailing->keyCount, 2);
	EXPECT_EQ(trailing->valueAt(4.0), 1.5f);

	// Rows at both ends of the 32-bit range: the segment length does not overflow.
	SyncTrack* wide = trackOf("Wide", { { INT32_MIN, 0.0f, Linear }, { INT32_MAX, 1.0f, Step } });
	EXPECT_NEAR(wide->valueAt(0.0), 0.5f, 1e-6f);
}

TEST_F(SyncTrackTest, APathThatDoesNotFitTheBufferIsNotRead)
{
	// base + "_" + name + ".track" must fit 260 bytes with its terminator.
	const size_t room = 259 - base.size() - std::string("_.track").size();
	const std::string fits(room, 'f');
	const std::string tooLong(room + 1, 'g');
	writeTrack(fits, trackBytes({ { 0, 6.0f, Step } }));
	EXPECT_EQ(device->getTrack(fits.c_str())->valueAt(0.0), 6.0f);

	// The file system takes names up to 255 bytes; the longer path names a real file.
	ASSERT_LE(tooLong.size() + 7, 255u);
	writeTrack(tooLong, trackBytes({ { 0, 6.0f, Step } }));
	SyncTrack* track = device->getTrack(tooLong.c_str());
	EXPECT_EQ(track->keyCount, 0);
	EXPECT_EQ(track->valueAt(0.0), 0.0f);
	EXPECT_STREQ(track->name, tooLong.c_str());
}

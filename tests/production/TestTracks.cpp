// The tracks the production tests run on, written as binary track files into Data/.
#include "TestTracks.h"

#include "Demo.h"
#include "Show.h"

#include "../unit/TrackFileFixture.h" // Required for: writeTrackFile

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct TestKey
{
	int32_t row;
	float value;
};

// Every key a step: the value holds until the next key.
static void writeTrack(const char* name, std::initializer_list<TestKey> keys)
{
	std::vector<TrackKeyBytes> steps;
	for (const TestKey& key : keys)
		steps.push_back({ key.row, key.value, 0 });
	writeTrackFile("Data/", name, trackBytes(steps));
}

static int32_t rowAt(double seconds)
{
	return (int32_t)(seconds * Show::rowsPerSecond);
}

void writeTestTracks()
{
	writeTrack("Part", { { 0, -0.5f }, { rowAt(10.0), (float)Demo::sceneCount() }, { rowAt(20.0), 1.0f }, { rowAt(40.0), std::nanf("") },
		{ rowAt(45.0), 3e9f }, { rowAt(50.0), -3e9f }, { rowAt(55.0), 1.0f } });
	writeTrack("Camera FOV", { { 0, 90.0f } });
	writeTrack("Camera Z", { { 0, -30.0f } });
	writeTrack("Ombrix Color", { { 0, 1.0f } });
	writeTrack("Bloom Dry", { { 0, 1.0f } });
	writeTrack("Bloom Wet", { { 0, 0.5f } });
}

// Positions in the show: rows and bar:beat from seconds, beat and bar steps on the grid, the
// loop's wrap, and the transport that holds at the show's end instead of ending it.
#include "FixedClock.h"
#include "MusicSections.h"
#include "Meter.h"
#include "ShowPosition.h"
#include "Transport.h"

#include <tarn/Exception.h>

#include <gtest/gtest.h>

using namespace ShowPosition;

TEST(ShowPosition, RowsAndBarBeatFollowTheBeatGrid)
{
	struct Case
	{
		double seconds;
		double row;
		const char* barBeat;
	};
	const Case cases[] = {
		{ 0.0, 0.0, "0:0" },
		{ 1.875, 32.0, "1:0" },
		{ 26.25, 448.0, "14:0" },
		{ 26.25 + 2 * 0.46875, 464.0, "14:2" },
		{ 1.406, 23.995, "0:3" }, // the clock's whole millisecond just short of beat 3 reads as on it
		{ 1.405, 23.979, "0:2" },
		{ 70.799, 1208.3, "37:3" },
	};
	for (const Case& c : cases)
	{
		EXPECT_NEAR(Meter::rowAt(c.seconds), c.row, 0.01) << c.seconds;
		EXPECT_EQ(formatBarBeat(c.seconds), c.barBeat) << c.seconds;
	}
}

TEST(ShowPosition, StepsLandOnTheNextOrPreviousLine)
{
	struct Case
	{
		double seconds;
		int count;
		double step;
		double expected;
	};
	const Case cases[] = {
		{ 0.0, 1, secondsPerBeat, 0.46875 },
		{ 0.5, 1, secondsPerBeat, 0.9375 },
		{ 0.5, -1, secondsPerBeat, 0.46875 },
		{ 0.46875, -1, secondsPerBeat, 0.0 },
		{ 0.469, 1, secondsPerBeat, 0.9375 },  // a millisecond past a line is on it
		{ 0.468, -1, secondsPerBeat, 0.0 },    // and so is a millisecond before
		{ 27.0, 1, secondsPerBar, 28.125 },
		{ 27.0, -2, secondsPerBar, 24.375 },
		{ 0.2, -1, secondsPerBeat, 0.0 },      // never before the start
		{ 70.5, 1, secondsPerBar, 70.799 },    // nor past the end
	};
	for (const Case& c : cases)
		EXPECT_NEAR(stepOnGrid(c.seconds, c.count, c.step, 70.799), c.expected, 1e-9) << c.seconds << " by " << c.count;
}

TEST(ShowPosition, LoopWrapsOnlyAtOrPastItsEnd)
{
	struct Case
	{
		double seconds;
		double expected;
	};
	const double from = 26.25;
	const double to = 41.25;
	const Case cases[] = { { 30.0, 30.0 }, { 10.0, 10.0 }, { 41.25, 26.25 }, { 41.5, 26.5 }, { 57.0, 27.0 } };
	for (const Case& c : cases)
		EXPECT_NEAR(wrapIntoLoop(c.seconds, from, to), c.expected, 1e-9) << c.seconds;
}

TEST(ShowPosition, ParsesBarsBarBeatsAndSeconds)
{
	struct Case
	{
		const char* text;
		bool valid;
		double seconds;
	};
	const Case cases[] = {
		{ "14", true, 26.25 }, { "14:2", true, 27.1875 }, { "26.25s", true, 26.25 }, { "0", true, 0.0 },
		{ "14:4", false, 0 }, { "-1", false, 0 }, { "abc", false, 0 }, { "", false, 0 }, { "s", false, 0 }, { "3:", false, 0 },
	};
	for (const Case& c : cases)
	{
		double seconds = -1.0;
		EXPECT_EQ(parse(c.text, seconds), c.valid) << c.text;
		if (c.valid)
		{
			EXPECT_NEAR(seconds, c.seconds, 1e-9) << c.text;
		}
	}
}

TEST(Transport, LoopsSeeksAndHoldsAtTheEnd)
{
	FixedClock clock;
	const MusicSections sections = parseMusicSections("sections", "drop 14 22 26.250 41.250 448 704\ncrash 14 26.250 448\n");
	Transport transport(clock, sections);

	transport.seek(1.40625); // beat 3, which the millisecond clock cannot hold: rounded up
	EXPECT_DOUBLE_EQ(clock.getPosition(), 1.407);
	transport.stepBeats(1);
	EXPECT_DOUBLE_EQ(clock.getPosition(), 1.875);

	clock.setPosition(30.0);
	transport.toggleSectionLoop();
	ASSERT_TRUE(transport.isLooping());
	clock.setPosition(41.3);
	transport.update();
	EXPECT_NEAR(clock.getPosition(), 26.3, 1e-9) << "past the loop's end, back by one turn";
	transport.home();
	EXPECT_DOUBLE_EQ(clock.getPosition(), 26.25);

	transport.toggleSectionLoop();
	EXPECT_FALSE(transport.isLooping());
	clock.setPosition(70.85);
	transport.update();
	EXPECT_TRUE(transport.isPaused()) << "without a loop the end pauses";
	EXPECT_LT(clock.getPosition(), Show::length) << "and holds where a frame still draws";
	transport.togglePause();
	EXPECT_FALSE(transport.isPaused());
	EXPECT_DOUBLE_EQ(clock.getPosition(), 0.0) << "playing on from the end starts over";
}

TEST(MusicSections, ReadsSectionsAndCuesAndRejectsOtherLines)
{
	const MusicSections read = parseMusicSections("m.txt", "# c\nintro 0 4 0.000 7.500 0 128\nbuild1 4 8 7.5 15 128 256  # x\n\ndrop-crash 14 26.250 448\n");
	ASSERT_EQ(read.sections.size(), 2u);
	EXPECT_EQ(read.sections[1].name, "build1");
	EXPECT_EQ(read.sectionAt(7.5), 1);
	EXPECT_EQ(read.sectionAt(20.0), -1);
	ASSERT_EQ(read.cues.size(), 1u);
	EXPECT_DOUBLE_EQ(read.cues[0].at, 26.25);

	const char* bad[] = { "a 0 4 0 7.5\n", "intro 0 4 x 7.5 0 128\n", "\nintro 0 4 7.5 0 0 128\n" };
	const char* where[] = { "m.txt:1:", "m.txt:1:", "m.txt:2:" };
	for (int i = 0; i < 3; i++)
	{
		try
		{
			parseMusicSections("m.txt", bad[i]);
			ADD_FAILURE() << "accepted: " << bad[i];
		}
		catch (const Tarn::Exception& exception)
		{
			EXPECT_EQ(std::string(exception.getMessage().getText()).rfind(where[i], 0), 0u) << exception.getMessage().getText();
		}
	}
}

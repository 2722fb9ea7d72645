// Reading scores, sequencing them and rendering them: the same score always gives the same
// audio and the same MP3 bytes, and mistakes in a score are reported with their line.
#include "Mastering.h"
#include "Mixer.h"
#include "Mp3Decoder.h"
#include "Mp3Writer.h"
#include "ScoreParser.h"
#include "Sequencer.h"

#include <tarn/Exception.h>

#include <gtest/gtest.h>

#include <cstdint> // Required for: uint64_t
#include <cstring> // Required for: std::memcpy

namespace
{
	// Two bars that use every instrument type, the echo, the reverb and automation.
	const char* const shortScore = R"(
tempo 128
length 2
fade 1:2
master loudness -14 peak -1.5
chord Am A1 E3 A3 C4 E4
chords 0 Am Am
instrument kick kick
instrument snare snare reverb 0.2
instrument clap clap
instrument hat hat
instrument crash crash
instrument tom tom
instrument bass bass duck 0.7
instrument pad pad reverb 0.4
instrument arp pluck delay 0.4 transpose 12
instrument lead lead delay 0.3
instrument bell bell
instrument riser noise
pattern beat
| X . . . x . . . X . . . x . . o |
pattern line
| r - 1 2 3 4 c - - - A4 C#5! Bb3^ - . . |
play kick beat 0 2
play snare beat 0 2
play clap beat 0 2
play hat beat 0 2
play crash beat 0 1
play tom line 0 2
play bass line 0 2
play pad line 0 2
play arp line 0 2
play lead line 0 2
play bell line 0 2
play riser line 0 2
automate arp cutoff 0 300 2 5000
automate riser level 0 -30 2 0
)";

	uint64_t hashOf(const Music::StereoBuffer& audio)
	{
		uint64_t hash = 1469598103934665603ull; // FNV-1a over the samples' bits
		for (const std::vector<float>* channel : {&audio.left, &audio.right})
			for (float value : *channel)
			{
				uint32_t bits;
				std::memcpy(&bits, &value, sizeof bits);
				hash = (hash ^ bits) * 1099511628211ull;
			}
		return hash;
	}

	Music::StereoBuffer renderShortScore()
	{
		const Music::Score score = Music::parseScore(shortScore, "short.score");
		Music::StereoBuffer mix = Music::mixScore(score);
		Music::masterMix(score, mix);
		return mix;
	}

	std::string errorOf(const std::string& text)
	{
		try
		{
			Music::parseScore(text, "bad.score");
		}
		catch (const Tarn::Exception& exception)
		{
			return exception.getMessage().getText();
		}
		return "";
	}
}

TEST(Render, SameScoreGivesSameSamplesAndSameBytes)
{
	const Music::StereoBuffer first = renderShortScore();
	const Music::StereoBuffer second = renderShortScore();
	ASSERT_EQ(first.frames(), static_cast<size_t>(Music::secondsToFrames(3.75)));
	EXPECT_EQ(hashOf(first), hashOf(second));
	EXPECT_NE(hashOf(first), hashOf(Music::StereoBuffer(first.frames()))) << "the score rendered silence";
	EXPECT_EQ(Music::encodeMp3(first, 256), Music::encodeMp3(second, 256));
}

TEST(Render, EncodedFileDecodesToTheSameLength)
{
	const Music::StereoBuffer audio = renderShortScore();
	const std::string path = "music_test_short.mp3";
	Music::writeFile(path, Music::encodeMp3(audio, 256));
	const DecodedMp3 decoded = decodeMp3File(path);
	std::remove(path.c_str());
	ASSERT_TRUE(decoded.ok);
	EXPECT_EQ(decoded.audio.frames(), audio.frames()) << "encoder delay or padding left in the stream";
}

TEST(Sequencer, ResolvesChordTonesAndHolds)
{
	const Music::Score score = Music::parseScore(R"(
length 1
chord Am A1 E3 A3 C4
chords 0 Am
instrument keys pluck transpose 12
pattern p
| 2 - - . r_ . c - . . . . A4 . C#5! . |
play keys p 0 1
)", "s.score");
	const std::vector<Music::NoteEvent> notes = Music::sequenceInstrument(score, 0);
	ASSERT_EQ(notes.size(), 7u);
	const int64_t step = score.barToFrame(1.0 / 16.0);
	EXPECT_EQ(notes[0].note, 57 + 12); // tone 2 of the voicing, A3, an octave up
	EXPECT_NEAR(static_cast<double>(notes[0].length), 3.0 * step, 1.0);
	EXPECT_EQ(notes[1].note, 33 - 12 + 12); // the root A1 an octave down, then transposed
	EXPECT_EQ(notes[2].note, 52 + 12);      // the whole chord: E3, A3, C4
	EXPECT_EQ(notes[4].note, 60 + 12);
	EXPECT_NEAR(static_cast<double>(notes[4].length), 2.0 * step, 1.0);
	EXPECT_EQ(notes[5].note, 69 + 12);
	EXPECT_EQ(notes[6].note, 73 + 12);
	EXPECT_FLOAT_EQ(notes[6].velocity, 1.0f);
	EXPECT_FLOAT_EQ(notes[5].velocity, 0.8f);
}

TEST(ScoreParser, ReportsMistakesWithTheirLine)
{
	EXPECT_EQ(errorOf("length 2\nfoo 3\n"), "bad.score:2: unknown keyword \"foo\"");
	EXPECT_EQ(errorOf("length 2\npattern p\n| x . x\n"), "bad.score:3: a row of this pattern has 16 steps, not 3");
	EXPECT_EQ(errorOf("length 2\npattern p\n| x . . . Q4 . . . . . . . . . . . |\n"),
		"bad.score:3: \"Q4\" is not a step (. - x X o c r 1-9 or a note such as C#4)");
	EXPECT_EQ(errorOf("tempo fast\n"), "bad.score:1: \"fast\" is not a number");
	EXPECT_EQ(errorOf("tempo 120\n"), "bad.score: the score has no \"length\"");
	EXPECT_EQ(errorOf("length 2\nautomate pad cutoff 4 100 2 300\n"), "bad.score:2: automation points must not go back in time");
	// Numbers that would overflow an int, or are not numbers at all, are refused before they are used.
	EXPECT_EQ(errorOf("chords 1e94 Am\n"), "bad.score:1: \"1e94\" is not a whole number from 0 to 10000");
	EXPECT_EQ(errorOf("pattern p 2.5\n"), "bad.score:1: \"2.5\" is not a whole number from 1 to 64");
	EXPECT_EQ(errorOf("tempo nan\n"), "bad.score:1: \"nan\" is not a number");
	EXPECT_EQ(errorOf("length -3\n"), "bad.score:1: \"-3\" is not a bar or bar:beat position (bars 0 to 10000)");
}

TEST(Mixer, ReportsUnknownInstrumentsAndPatterns)
{
	const Music::Score score = Music::parseScore("length 1\ninstrument a kazoo\npattern p\n| x . . . . . . . . . . . . . . . |\nplay a p 0 1\n", "m.score");
	try
	{
		Music::mixScore(score);
		FAIL() << "an unknown instrument type was accepted";
	}
	catch (const Tarn::Exception& exception)
	{
		EXPECT_STREQ(exception.getMessage().getText(), "m.score:2: \"kazoo\" is not an instrument type");
	}
	const Music::Score missing = Music::parseScore("length 1\ninstrument a kick\nplay a nothing 0 1\n", "m.score");
	EXPECT_THROW(Music::sequenceInstrument(missing, 0), Tarn::Exception);
}

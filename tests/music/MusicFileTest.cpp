// The music file the build synthesised, checked as a listener's player would meet it.
#include "LoudnessMeter.h"
#include "Mp3Decoder.h"
#include "ScoreParser.h"

#include <gtest/gtest.h>

#include <algorithm> // Required for: std::nth_element
#include <cmath>     // Required for: std::fabs, std::log10, std::pow
#include <map>       // Required for: std::map
#include <string>    // Required for: std::string
#include <vector>    // Required for: std::vector

namespace
{
	const char* const musicPath = "Data/wenlo-pirrow_drumlow.mp3";

	const DecodedMp3& music()
	{
		static const DecodedMp3 decoded = decodeMp3File(musicPath);
		return decoded;
	}

	// A section's first beat and its median beat, each the RMS of the mono mix in dBFS.
	std::vector<double> firstAndMedianBeat(const Music::Score& score, const Music::Section& section)
	{
		std::vector<double> levels;
		for (double beat = section.fromBar; beat + 0.25 <= section.toBar + 1e-9; beat += 0.25)
		{
			double sum = 0.0;
			const int64_t from = score.barToFrame(beat), to = score.barToFrame(beat + 0.25);
			for (size_t i = static_cast<size_t>(from); i < static_cast<size_t>(to); i++)
				sum += std::pow(0.5 * (music().audio.left[i] + music().audio.right[i]), 2.0);
			levels.push_back(10.0 * std::log10(sum / static_cast<double>(to - from) + 1e-24));
		}
		const double first = levels.at(0);
		std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
		return {first, levels[levels.size() / 2]};
	}
}

TEST(MusicFile, DecodesGaplesslyToTheShowsLength)
{
	ASSERT_TRUE(music().ok) << musicPath << " did not decode";
	EXPECT_EQ(music().rate, 44100);
	EXPECT_EQ(music().channels, 2);
	// 70.8 s exactly: the decoder drops the encoder's delay and padding from the Info tag.
	EXPECT_EQ(music().audio.frames(), 3122280u);
}

TEST(MusicFile, IsMasteredToTheLoudnessTargetUnderTheCeiling)
{
	ASSERT_TRUE(music().ok);
	EXPECT_NEAR(Music::integratedLoudness(music().audio), -14.0, 0.5);
	EXPECT_LE(Music::truePeakDecibels(music().audio), -1.0);
}

// Each section that should land lands: its first beat against the median beat of the section it
// is weighed with (the outro opens on a crash and a tail, not a cliff after the finale).
TEST(MusicFile, SectionsOpenOnTheirHits)
{
	ASSERT_TRUE(music().ok);
	const Music::Score score = Music::readScoreFile(HALVORINE_SCORE);
	std::map<std::string, std::vector<double>> levels;
	for (const Music::Section& section : score.sections)
		levels[section.name] = firstAndMedianBeat(score, section);
	const struct { const char* section; const char* against; double atLeast; } openings[] = {
		{"drop", "drop", 2.0}, {"finale", "finale", 2.0}, {"outro", "finale", -6.0}};
	for (const auto& opening : openings)
		EXPECT_GE(levels[opening.section].at(0) - levels[opening.against].at(1), opening.atLeast) << opening.section;
}

TEST(MusicFile, EndsInSilenceWithoutOffset)
{
	ASSERT_TRUE(music().ok);
	const Music::StereoBuffer& audio = music().audio;
	const size_t frames = audio.frames();
	ASSERT_GT(frames, 44100u);
	double lastPeak = 0.0, sumLeft = 0.0, sumRight = 0.0;
	for (size_t i = frames - 2205; i < frames; i++)
		lastPeak = std::max(lastPeak, static_cast<double>(std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i]))));
	for (size_t i = 0; i < frames; i++)
		sumLeft += audio.left[i], sumRight += audio.right[i];
	EXPECT_LT(lastPeak, 0.003) << "the last 50 ms should have faded out";
	EXPECT_LT(std::fabs(sumLeft / frames), 1e-3) << "DC offset on the left";
	EXPECT_LT(std::fabs(sumRight / frames), 1e-3) << "DC offset on the right";
}

// halvorine-music: renders the production's music from its score and encodes it to MP3.
//   halvorine-music render SCORE OUTPUT.mp3     synthesise, master and encode
//   halvorine-music sections SCORE [FILE]       print the section table, or check FILE against it
#include "LoudnessMeter.h"
#include "Mastering.h"
#include "Mixer.h"
#include "Mp3Writer.h"
#include "ScoreParser.h"
#include "SectionTable.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <cstdio>  // Required for: std::printf, std::fprintf
#include <fstream> // Required for: std::ifstream
#include <sstream> // Required for: std::ostringstream
#include <string>  // Required for: std::string

namespace
{
	const int bitRate = 256;

	std::string baseName(const std::string& path)
	{
		const size_t slash = path.find_last_of('/');
		return slash == std::string::npos ? path : path.substr(slash + 1);
	}

	int render(const std::string& scorePath, const std::string& outputPath)
	{
		const Music::Score score = Music::readScoreFile(scorePath);
		Music::StereoBuffer mix = Music::mixScore(score);
		const Music::MasteringReport report = Music::masterMix(score, mix);
		const std::vector<unsigned char> bytes = Music::encodeMp3(mix, bitRate);
		Music::writeFile(outputPath, bytes);
		std::printf("%s: %.3f s, %.2f LUFS, %.2f dBTP before encoding (make-up %+.2f dB, limiter down to %.2f dB), %zu bytes\n",
			baseName(outputPath).c_str(), static_cast<double>(mix.frames()) / Music::sampleRate, report.loudness, report.truePeak,
			report.gainDecibels, report.maxReduction, bytes.size());
		for (const Music::Section& section : score.sections)
			std::printf("  %-10s bars %5.2f-%5.2f  %6.2f LUFS\n", section.name.c_str(), section.fromBar, section.toBar,
				Music::integratedLoudness(mix, static_cast<size_t>(score.barToFrame(section.fromBar)),
					static_cast<size_t>(score.barToFrame(section.toBar))));
		return 0;
	}

	int sections(const std::string& scorePath, const std::string& checkPath)
	{
		const Music::Score score = Music::readScoreFile(scorePath);
		const std::string table = Music::sectionTable(score, baseName(scorePath));
		if (checkPath.empty())
		{
			std::fputs(table.c_str(), stdout);
			return 0;
		}
		std::ifstream file(checkPath, std::ios::binary);
		std::ostringstream text;
		text << file.rdbuf();
		if (!file || text.str() != table)
		{
			std::fprintf(stderr, "%s does not match the sections of %s; regenerate it with: halvorine-music sections %s > %s\n",
				checkPath.c_str(), scorePath.c_str(), scorePath.c_str(), checkPath.c_str());
			return 1;
		}
		return 0;
	}
}

int main(int argc, char** argv)
{
	const std::string command = argc > 1 ? argv[1] : "";
	try
	{
		if (command == "render" && argc == 4)
			return render(argv[2], argv[3]);
		if (command == "sections" && (argc == 3 || argc == 4))
			return sections(argv[2], argc == 4 ? argv[3] : "");
	}
	catch (const Tarn::Exception& exception)
	{
		std::fprintf(stderr, "halvorine-music: %s\n", exception.getMessage().getText());
		return 1;
	}
	std::fprintf(stderr, "usage: halvorine-music render SCORE OUTPUT.mp3\n"
		"       halvorine-music sections SCORE [FILE]\n");
	return 2;
}

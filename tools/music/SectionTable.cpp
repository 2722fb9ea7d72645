#include "SectionTable.h"

#include <Meter.h> // Required for: the rows of a beat and a bar

#include <cstdio> // Required for: std::snprintf

namespace Music
{
	std::string sectionTable(const Score& score, const std::string& scoreName)
	{
		std::string text;
		char line[1024];
		std::snprintf(line, sizeof line,
			"# Sections of the music, from %s.\n"
			"# %.0f BPM in %d/4: one beat is %d rows, one bar %d rows and %.3f s; the piece is %.2f bars, %.3f s.\n"
			"# Written by \"halvorine-music sections\"; a test checks that it matches the score.\n"
			"# section    from bar  to bar  from s   to s     from row  to row\n",
			scoreName.c_str(), score.tempo, Show::beatsPerBar, Show::rowsPerBeat, Show::rowsPerBar, score.secondsPerBar(), score.lengthBars, score.barToSeconds(score.lengthBars));
		text += line;
		for (const Section& section : score.sections)
		{
			std::snprintf(line, sizeof line, "%-12s %-9g %-7g %-8.3f %-8.3f %-9g %g\n", section.name.c_str(), section.fromBar, section.toBar,
				score.barToSeconds(section.fromBar), score.barToSeconds(section.toBar), Meter::rowAtBar(section.fromBar), Meter::rowAtBar(section.toBar));
			text += line;
		}
		if (!score.cues.empty())
			text += "# cue        at bar    at s     at row\n";
		for (const Cue& cue : score.cues)
		{
			std::snprintf(line, sizeof line, "%-12s %-9g %-8.3f %g\n", cue.name.c_str(), cue.bar, score.barToSeconds(cue.bar), Meter::rowAtBar(cue.bar));
			text += line;
		}
		return text;
	}
}

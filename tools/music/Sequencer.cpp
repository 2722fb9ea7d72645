#include "Sequencer.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <algorithm> // Required for: std::stable_sort
#include <cmath>     // Required for: std::floor

namespace Music
{
	namespace
	{
		[[noreturn]] void fail(const Score& score, int line, const std::string& what)
		{
			const std::string message = score.fileName + ":" + std::to_string(line) + ": " + what;
			throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
		}

		const Chord& chordAt(const Score& score, const Placement& placement, double bar)
		{
			const auto name = score.chordOfBar.find(static_cast<int>(std::floor(bar + 1e-9)));
			if (name == score.chordOfBar.end())
				fail(score, placement.line, "bar " + std::to_string(static_cast<int>(bar)) + " has no chord for \"" +
					placement.pattern + "\"");
			return score.chords.at(name->second);
		}

		// The MIDI notes one step sounds: one for a note, tone or root, several for a chord.
		std::vector<int> stepNotes(const Score& score, const Placement& placement, const Step& step, double bar)
		{
			switch (step.kind)
			{
			case Step::Kind::Note:
				return {step.note + 12 * step.octave};
			case Step::Kind::Root:
				return {chordAt(score, placement, bar).root + 12 * step.octave};
			case Step::Kind::ChordTone:
			{
				const Chord& chord = chordAt(score, placement, bar);
				if (step.note > static_cast<int>(chord.notes.size()))
					fail(score, placement.line, "chord tone " + std::to_string(step.note) + " is beyond the chord of bar " +
						std::to_string(static_cast<int>(bar)));
				return {chord.notes[static_cast<size_t>(step.note - 1)] + 12 * step.octave};
			}
			case Step::Kind::WholeChord:
			{
				std::vector<int> notes = chordAt(score, placement, bar).notes;
				for (int& note : notes)
					note += 12 * step.octave;
				return notes;
			}
			case Step::Kind::Hit:
				return {0};
			default:
				return {};
			}
		}
	}

	std::vector<NoteEvent> sequenceInstrument(const Score& score, size_t instrumentIndex)
	{
		const InstrumentSpec& instrument = score.instruments.at(instrumentIndex);
		const double transpose = instrument.setting("transpose", 0.0);
		std::vector<NoteEvent> events;
		for (const Placement& placement : score.placements)
		{
			if (placement.instrument != instrument.name)
				continue;
			const auto found = score.patterns.find(placement.pattern);
			if (found == score.patterns.end())
				fail(score, placement.line, "pattern \"" + placement.pattern + "\" is not declared");
			const Pattern& pattern = found->second;
			const int patternSteps = pattern.stepsPerBar * static_cast<int>(pattern.bars.size());
			const double stepBars = 1.0 / pattern.stepsPerBar;
			const int totalSteps = static_cast<int>(std::floor((placement.toBar - placement.fromBar) / stepBars + 1e-6));
			for (int index = 0; index < totalSteps; index++)
			{
				const int within = index % patternSteps;
				const Step& step = pattern.bars[static_cast<size_t>(within / pattern.stepsPerBar)][static_cast<size_t>(within % pattern.stepsPerBar)];
				if (step.kind == Step::Kind::Rest || step.kind == Step::Kind::Hold)
					continue;
				// The note lasts through the holds that follow it, within this repeat and placement.
				int end = index + 1;
				while (end < totalSteps && end % patternSteps != 0)
				{
					const int next = end % patternSteps;
					if (pattern.bars[static_cast<size_t>(next / pattern.stepsPerBar)][static_cast<size_t>(next % pattern.stepsPerBar)].kind != Step::Kind::Hold)
						break;
					end++;
				}
				const double startBar = placement.fromBar + index * stepBars;
				const int64_t start = score.barToFrame(startBar);
				const int64_t length = score.barToFrame(placement.fromBar + end * stepBars) - start;
				const float velocity = static_cast<float>(step.velocity * placement.velocity);
				for (int note : stepNotes(score, placement, step, startBar))
				{
					const double pitch = step.kind == Step::Kind::Hit ? 0.0 : note + transpose;
					events.push_back({start, length, pitch, velocity});
				}
			}
		}
		std::stable_sort(events.begin(), events.end(), [](const NoteEvent& a, const NoteEvent& b) { return a.start < b.start; });
		return events;
	}
}

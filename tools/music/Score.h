// The score as read from its text file: tempo and length, sections, instruments with their
// settings, chords, step patterns, where each pattern plays and how parameters move.
#pragma once

#include "Dsp.h"

#include <Show.h> // Required for: the show's meter

#include <cstdint> // Required for: int64_t
#include <map>     // Required for: std::map
#include <string>  // Required for: std::string
#include <vector>  // Required for: std::vector

namespace Music
{
	struct Section
	{
		std::string name;
		double fromBar;
		double toBar;
	};

	// A moment the picture may want to hit: a crash, a fill, the last chord.
	struct Cue
	{
		std::string name;
		double bar;
	};

	struct InstrumentSpec
	{
		std::string name;
		std::string type; // kick, snare, clap, hat, crash, tom, bass, pad, pluck, lead, bell, noise
		std::map<std::string, double> settings;
		int line = 0;

		double setting(const std::string& key, double fallback) const
		{
			const auto found = settings.find(key);
			return found == settings.end() ? fallback : found->second;
		}
	};

	struct Chord
	{
		int root;               // MIDI note of the bass note
		std::vector<int> notes; // MIDI notes of the voicing, low to high
	};

	// One step of a pattern row.
	struct Step
	{
		enum class Kind { Rest, Hold, Hit, Note, ChordTone, Root, WholeChord };
		Kind kind = Kind::Rest;
		float velocity = 0.8f;
		int note = 0;   // Kind::Note: MIDI note; Kind::ChordTone: 1-based index into the voicing
		int octave = 0; // octave shift of a chord tone, root or chord
	};

	struct Pattern
	{
		int stepsPerBar = 16;
		std::vector<std::vector<Step>> bars;
		int line = 0;
	};

	struct Placement
	{
		std::string instrument;
		std::string pattern;
		double fromBar;
		double toBar;
		double velocity = 1.0;
		int line = 0;
	};

	struct AutomationPoint
	{
		double bar;
		double value;
	};

	struct AutomationLane
	{
		std::string instrument;
		std::string parameter; // level (dB), cutoff (Hz), reverb, delay (send amounts)
		std::vector<AutomationPoint> points;
	};

	struct Score
	{
		std::string fileName;
		double tempo = Show::beatsPerMinute;
		double lengthBars = 0.0;
		double fadeFromBar = 0.0;
		double loudness = -14.0;   // integrated target, LUFS
		double truePeak = -1.5;    // ceiling before encoding, dBTP
		double delayBeats = 0.75;  // the shared echo: time, feedback, damping of its repeats
		double delayFeedback = 0.4;
		double delayDamping = 3500.0;
		double reverbSize = 0.8;   // the shared reverb: size and damping in [0, 1], pre-delay
		double reverbDamping = 0.5;
		double reverbPreDelay = 0.02;
		std::vector<Section> sections;
		std::vector<Cue> cues;
		std::vector<InstrumentSpec> instruments;
		std::map<std::string, Chord> chords;
		std::map<int, std::string> chordOfBar;
		std::map<std::string, Pattern> patterns;
		std::vector<Placement> placements;
		std::vector<AutomationLane> automation;

		double secondsPerBar() const { return Show::beatsPerBar * 60.0 / tempo; }
		double barToSeconds(double bar) const { return bar * secondsPerBar(); }
		int64_t barToFrame(double bar) const { return secondsToFrames(barToSeconds(bar)); }
		int64_t totalFrames() const { return barToFrame(lengthBars); }
	};
}

// Turns the score's patterns and placements into the notes each instrument plays, with chord
// tones resolved against the chord of the bar they fall in.
#pragma once

#include "Score.h"

#include <cstdint> // Required for: int64_t
#include <vector>  // Required for: std::vector

namespace Music
{
	struct NoteEvent
	{
		int64_t start;  // first frame
		int64_t length; // frames until the note is released
		double note;    // MIDI note; 0 for drum hits
		float velocity;
	};

	// Notes of the instrument at the given index of score.instruments, sorted by start.
	std::vector<NoteEvent> sequenceInstrument(const Score& score, size_t instrumentIndex);
}

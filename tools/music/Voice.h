// What every voice renderer receives, and the helpers they share to write one note into the
// instrument's bus without running past its end.
#pragma once

#include "Automation.h"
#include "Envelope.h"
#include "Score.h"
#include "Sequencer.h"
#include "StereoBuffer.h"

#include <algorithm> // Required for: std::min, std::max
#include <cstdint>   // Required for: int64_t

namespace Music
{
	struct VoiceContext
	{
		const InstrumentSpec& spec;
		const Automation& cutoff; // the instrument's filter cutoff over the piece, in hertz
		unsigned seed;            // differs per note, so no two hits share their noise
	};

	// Frames a voice may write from its note's start: what it wants, clipped to the bus.
	inline int64_t voiceFrames(const StereoBuffer& bus, const NoteEvent& note, double seconds)
	{
		const int64_t wanted = secondsToFrames(seconds);
		return std::max<int64_t>(0, std::min<int64_t>(wanted, static_cast<int64_t>(bus.frames()) - note.start));
	}

	// A 3 ms fade at a voice's last frames: whatever a voice still sounds there ends at zero.
	inline float endRamp(int64_t frame, int64_t frames)
	{
		const int64_t ramp = sampleRate * 3 / 1000;
		const int64_t left = frames - frame;
		return left >= ramp ? 1.0f : static_cast<float>(left) / ramp;
	}

	inline Envelope envelopeOf(const InstrumentSpec& spec, double attack, double decay, double sustain, double release)
	{
		Envelope envelope;
		envelope.attack = spec.setting("attack", attack);
		envelope.decay = spec.setting("decay", decay);
		envelope.sustain = spec.setting("sustain", sustain);
		envelope.release = spec.setting("release", release);
		return envelope;
	}

	// Drum voices: one hit each, its length set by the voice, not by the note.
	void renderKick(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderSnare(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderClap(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderHat(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderCrash(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderTom(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);

	// Pitched voices: they sound for the note's length, then release.
	void renderBass(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderPad(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderPluck(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderLead(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderBell(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
	void renderNoise(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus);
}

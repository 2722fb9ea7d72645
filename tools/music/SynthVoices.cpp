// Pitched voices: a filtered saw bass with a sine sub, a wide supersaw pad, a plucked arpeggio,
// a detuned lead with delayed vibrato, an FM bell and a swept noise for risers.
#include "Filters.h"
#include "Oscillators.h"
#include "Voice.h"

#include <tarn/Random.h> // Required for: Tarn::RandomState, Tarn::nextRandom

#include <cmath> // Required for: std::exp, std::tanh, std::pow

namespace Music
{
	namespace
	{
		// Filter coefficients need a tangent; recomputing them every 16 frames is inaudible.
		constexpr int64_t controlInterval = 16;

		double centsToRatio(double cents)
		{
			return std::pow(2.0, cents / 1200.0);
		}

		double startPhase(Tarn::RandomState& random)
		{
			return static_cast<double>(Tarn::nextRandom(random)) * 0.999;
		}
	}

	void renderBass(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.003, 0.25, 0.65, 0.04);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double hertz = noteToHertz(note.note);
		const double resonance = spec.setting("resonance", 1.1);
		const double sweep = spec.setting("envelope", 3.0);
		const double drive = spec.setting("drive", 1.8);
		const double sub = spec.setting("sub", 0.7);
		Tarn::RandomState random{context.seed + 11u, 0x5eedu};
		SawOscillator saw(startPhase(random));
		SawOscillator second(startPhase(random));
		saw.setFrequency(hertz);
		second.setFrequency(hertz * centsToRatio(7.0));
		SineOscillator subOscillator;
		StateVariableFilter filter;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			if (i % controlInterval == 0)
				filter.set(context.cutoff.valueAtFrame(note.start + i) * (1.0 + sweep * std::exp(-t / 0.07)), resonance);
			const float raw = 0.5f * (saw.next() + second.next());
			const double filtered = filter.process(raw).low + sub * subOscillator.next(hertz);
			const double value = std::tanh(drive * filtered) / std::tanh(drive);
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += static_cast<float>(value) * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += static_cast<float>(value) * amplitude;
		}
	}

	void renderPad(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.4, 1.0, 0.85, 0.9);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double hertz = noteToHertz(note.note);
		const int voices = std::max(1, std::min(9, static_cast<int>(spec.setting("voices", 5.0))));
		const double detune = spec.setting("detune", 16.0);
		const double resonance = spec.setting("resonance", 0.7);
		Tarn::RandomState random{context.seed + 3u, 0xbadu};
		SawOscillator saws[9];
		float panLeft[9], panRight[9];
		for (int v = 0; v < voices; v++)
		{
			// Spread the detuned copies evenly in pitch and across the stereo field.
			const double spread = voices == 1 ? 0.0 : 2.0 * v / (voices - 1) - 1.0;
			saws[v] = SawOscillator(startPhase(random));
			saws[v].setFrequency(hertz * centsToRatio(detune * spread));
			panLeft[v] = static_cast<float>(std::sqrt(0.5 * (1.0 - 0.8 * spread)));
			panRight[v] = static_cast<float>(std::sqrt(0.5 * (1.0 + 0.8 * spread)));
		}
		const float normalise = 1.0f / std::sqrt(static_cast<float>(voices));
		StateVariableFilter left, right;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			if (i % controlInterval == 0)
			{
				const double cutoff = context.cutoff.valueAtFrame(note.start + i);
				left.set(cutoff, resonance);
				right.set(cutoff, resonance);
			}
			float sumLeft = 0.0f, sumRight = 0.0f;
			for (int v = 0; v < voices; v++)
			{
				const float sample = saws[v].next();
				sumLeft += sample * panLeft[v];
				sumRight += sample * panRight[v];
			}
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * normalise * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += left.process(sumLeft).low * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += right.process(sumRight).low * amplitude;
		}
	}

	void renderPluck(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.002, 0.18, 0.0, 0.06);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double hertz = noteToHertz(note.note);
		const double resonance = spec.setting("resonance", 2.0);
		const double sweep = spec.setting("envelope", 3.0);
		Tarn::RandomState random{context.seed + 5u, 0xcafeu};
		SawOscillator saw(startPhase(random));
		PulseOscillator pulse(startPhase(random));
		saw.setFrequency(hertz * centsToRatio(-5.0));
		pulse.setFrequency(hertz * centsToRatio(5.0));
		StateVariableFilter filter;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			if (i % controlInterval == 0)
				filter.set(context.cutoff.valueAtFrame(note.start + i) * (1.0 + sweep * std::exp(-t / 0.05)), resonance);
			const float value = filter.process(0.6f * saw.next() + 0.4f * pulse.next()).low;
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += value * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += value * amplitude;
		}
	}

	void renderLead(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.012, 0.35, 0.75, 0.16);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double hertz = noteToHertz(note.note);
		const double detune = spec.setting("detune", 10.0);
		const double vibrato = spec.setting("vibrato", 0.18); // semitones
		const double resonance = spec.setting("resonance", 1.0);
		const double sweep = spec.setting("envelope", 1.5);
		Tarn::RandomState random{context.seed + 9u, 0xfeedu};
		SawOscillator sawLeft(startPhase(random));
		SawOscillator sawRight(startPhase(random));
		PulseOscillator octave(startPhase(random));
		StateVariableFilter left, right;
		const double vibratoRate = 5.4;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			if (i % controlInterval == 0)
			{
				// Vibrato fades in after the note has spoken, as a player's would.
				const double depth = vibrato * std::min(1.0, std::max(0.0, (t - 0.22) / 0.3));
				const double bend = std::pow(2.0, depth * std::sin(2.0 * pi * vibratoRate * t) / 12.0);
				sawLeft.setFrequency(hertz * bend * centsToRatio(-detune));
				sawRight.setFrequency(hertz * bend * centsToRatio(detune));
				octave.setFrequency(hertz * bend * 0.5);
				const double cutoff = context.cutoff.valueAtFrame(note.start + i) * (1.0 + sweep * std::exp(-t / 0.12));
				left.set(cutoff, resonance);
				right.set(cutoff, resonance);
			}
			const float under = 0.35f * octave.next();
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += left.process(sawLeft.next() + under).low * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += right.process(sawRight.next() + under).low * amplitude;
		}
	}

	void renderBell(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.002, 0.9, 0.0, 0.4);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double hertz = noteToHertz(note.note);
		const double ratio = spec.setting("ratio", 3.5);
		const double index = spec.setting("index", 2.2);
		double carrierPhase = 0.0, modulatorPhase = 0.0;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			// The modulation index falls faster than the loudness: a bright strike, a pure hum.
			const double modulation = index * std::exp(-t / 0.25) * std::sin(2.0 * pi * modulatorPhase);
			const double value = std::sin(2.0 * pi * carrierPhase + modulation);
			carrierPhase += hertz / sampleRate;
			modulatorPhase += hertz * ratio / sampleRate;
			carrierPhase -= std::floor(carrierPhase);
			modulatorPhase -= std::floor(modulatorPhase);
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += static_cast<float>(value) * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += static_cast<float>(value) * amplitude;
		}
	}

	void renderNoise(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const InstrumentSpec& spec = context.spec;
		const Envelope envelope = envelopeOf(spec, 0.01, 1.0, 1.0, 0.2);
		const double gate = static_cast<double>(note.length) / sampleRate;
		const int64_t frames = voiceFrames(bus, note, gate + envelope.tail());
		const double resonance = spec.setting("resonance", 2.5);
		NoiseSource noiseLeft(context.seed);
		NoiseSource noiseRight(context.seed + 104729u);
		StateVariableFilter left, right;
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			if (i % controlInterval == 0)
			{
				const double cutoff = context.cutoff.valueAtFrame(note.start + i);
				left.set(cutoff, resonance);
				right.set(cutoff * 1.05, resonance);
			}
			const float amplitude = static_cast<float>(envelope.level(t, gate)) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += left.process(noiseLeft.next()).band * amplitude;
			bus.right[static_cast<size_t>(note.start + i)] += right.process(noiseRight.next()).band * amplitude;
		}
	}
}

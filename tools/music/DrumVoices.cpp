// Drum voices, all synthesised: a sine kick with a falling pitch, noise snares and claps,
// metallic hats and crash from detuned square waves and noise, pitched toms.
#include "Oscillators.h"
#include "Filters.h"
#include "Voice.h"

#include <cmath> // Required for: std::exp, std::tanh, std::sin

namespace Music
{
	namespace
	{
		// The six inharmonic square waves of the classic analogue cymbal, summed.
		class MetallicSource
		{
		public:
			explicit MetallicSource(double scale)
			{
				static const double ratios[6] = {1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637};
				for (int i = 0; i < 6; i++)
				{
					oscillators[i] = PulseOscillator(0.17 * i);
					oscillators[i].setFrequency(scale * ratios[i]);
				}
			}

			float next()
			{
				float sum = 0.0f;
				for (PulseOscillator& oscillator : oscillators)
					sum += oscillator.next();
				return sum / 6.0f;
			}

		private:
			PulseOscillator oscillators[6];
		};

		void addMono(StereoBuffer& bus, int64_t frame, float value)
		{
			bus.left[static_cast<size_t>(frame)] += value;
			bus.right[static_cast<size_t>(frame)] += value;
		}
	}

	void renderKick(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double low = context.spec.setting("pitch", 48.0);
		const double high = context.spec.setting("punch", 190.0);
		const double decay = context.spec.setting("decay", 0.30);
		const double click = context.spec.setting("click", 0.3);
		const double drive = context.spec.setting("drive", 1.6);
		const int64_t frames = voiceFrames(bus, note, decay * 3.0);
		SineOscillator body;
		NoiseSource noise(context.seed);
		StateVariableFilter clickFilter;
		clickFilter.set(3500.0, 0.8);
		const double normalise = 1.0 / std::tanh(drive);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			const double hertz = low + (high - low) * std::exp(-t / 0.03);
			const double amplitude = std::exp(-t / decay) * std::min(1.0, t / 0.0015 + 0.2);
			const double transient = clickFilter.process(noise.next()).band * click * std::exp(-t / 0.004);
			const double value = std::tanh(drive * (body.next(hertz) * amplitude + transient)) * normalise;
			addMono(bus, note.start + i, static_cast<float>(value) * note.velocity * endRamp(i, frames));
		}
	}

	void renderSnare(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double tone = context.spec.setting("tone", 185.0);
		const double decay = context.spec.setting("decay", 0.16);
		const double snap = context.spec.setting("snap", 0.8);
		const int64_t frames = voiceFrames(bus, note, decay * 4.0);
		SineOscillator body;
		SineOscillator overtone(0.25);
		NoiseSource noise(context.seed);
		StateVariableFilter shaper;
		shaper.set(context.spec.setting("cutoff", 5200.0), 0.6);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			const double bend = 1.0 + 0.5 * std::exp(-t / 0.01);
			const double drum = (body.next(tone * bend) + 0.5 * overtone.next(tone * 1.78 * bend)) * std::exp(-t / 0.05);
			const StateVariableFilter::Outputs wires = shaper.process(noise.next());
			const double rattle = (wires.band + 0.6 * wires.high) * snap * std::exp(-t / decay);
			const double attack = std::min(1.0, t / 0.001);
			addMono(bus, note.start + i, static_cast<float>((0.55 * drum + rattle) * attack) * note.velocity * endRamp(i, frames));
		}
	}

	void renderClap(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double decay = context.spec.setting("decay", 0.15);
		const int64_t frames = voiceFrames(bus, note, 0.03 + decay * 4.0);
		NoiseSource noise(context.seed);
		StateVariableFilter band;
		band.set(context.spec.setting("tone", 1200.0), 1.4);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			// Three quick slaps, then the room's longer tail: how many hands sound like one clap.
			double amplitude = 0.0;
			for (int slap = 0; slap < 3; slap++)
			{
				const double since = t - slap * 0.011;
				if (since >= 0.0)
					amplitude = std::max(amplitude, std::exp(-since / 0.0045));
			}
			if (t >= 0.033)
				amplitude = std::max(amplitude, 0.7 * std::exp(-(t - 0.033) / decay));
			const double attack = std::min(1.0, t / 0.0005);
			addMono(bus, note.start + i, static_cast<float>(band.process(noise.next()).band * amplitude * attack * 2.2) * note.velocity * endRamp(i, frames));
		}
	}

	void renderHat(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double decay = context.spec.setting("decay", 0.045);
		const int64_t frames = voiceFrames(bus, note, decay * 5.0);
		MetallicSource metal(context.spec.setting("tone", 420.0));
		NoiseSource noise(context.seed);
		StateVariableFilter highpass;
		highpass.set(7200.0, 0.7);
		StateVariableFilter sheen;
		sheen.set(11000.0, 0.9);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			const float source = 0.6f * metal.next() + 0.5f * noise.next();
			const float bright = highpass.process(source).high;
			const float shaped = bright + 0.5f * sheen.process(bright).band;
			const double amplitude = std::exp(-t / decay) * std::min(1.0, t / 0.0007);
			addMono(bus, note.start + i, static_cast<float>(shaped * amplitude) * note.velocity * endRamp(i, frames));
		}
	}

	void renderCrash(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double decay = context.spec.setting("decay", 1.6);
		const int64_t frames = voiceFrames(bus, note, decay * 4.0);
		MetallicSource metal(context.spec.setting("tone", 560.0));
		NoiseSource noiseLeft(context.seed);
		NoiseSource noiseRight(context.seed + 7919u);
		StateVariableFilter left, right;
		left.set(4800.0, 0.6);
		right.set(5200.0, 0.6);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			const double amplitude = (0.35 * std::exp(-t / 0.05) + 0.65 * std::exp(-t / decay)) * std::min(1.0, t / 0.001);
			const float ring = 0.5f * metal.next();
			const float gain = static_cast<float>(amplitude) * note.velocity * endRamp(i, frames);
			bus.left[static_cast<size_t>(note.start + i)] += left.process(ring + noiseLeft.next()).high * gain;
			bus.right[static_cast<size_t>(note.start + i)] += right.process(ring + noiseRight.next()).high * gain;
		}
	}

	void renderTom(const VoiceContext& context, const NoteEvent& note, StereoBuffer& bus)
	{
		const double pitch = note.note > 0.0 ? noteToHertz(note.note) : context.spec.setting("pitch", 110.0);
		const double decay = context.spec.setting("decay", 0.22);
		const int64_t frames = voiceFrames(bus, note, decay * 4.0);
		SineOscillator body;
		NoiseSource noise(context.seed);
		StateVariableFilter skin;
		skin.set(pitch * 4.0, 1.0);
		for (int64_t i = 0; i < frames; i++)
		{
			const double t = static_cast<double>(i) / sampleRate;
			const double hertz = pitch * (1.0 + 0.6 * std::exp(-t / 0.025));
			const double amplitude = std::exp(-t / decay) * std::min(1.0, t / 0.001);
			const double value = body.next(hertz) * amplitude + skin.process(noise.next()).band * 0.3 * std::exp(-t / 0.02);
			addMono(bus, note.start + i, static_cast<float>(std::tanh(1.3 * value)) * note.velocity * endRamp(i, frames));
		}
	}
}

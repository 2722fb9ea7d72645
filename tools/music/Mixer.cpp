#include "Mixer.h"

#include "Automation.h"
#include "PingPongDelay.h"
#include "Reverb.h"
#include "Sequencer.h"
#include "Voice.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <algorithm> // Required for: std::fill, std::max
#include <cmath>     // Required for: std::exp, std::sqrt
#include <map>       // Required for: std::map

namespace Music
{
	namespace
	{
		using VoiceRenderer = void (*)(const VoiceContext&, const NoteEvent&, StereoBuffer&);

		VoiceRenderer rendererFor(const InstrumentSpec& spec, const std::string& fileName)
		{
			static const std::map<std::string, VoiceRenderer> renderers = {
				{"kick", renderKick}, {"snare", renderSnare}, {"clap", renderClap}, {"hat", renderHat},
				{"crash", renderCrash}, {"tom", renderTom}, {"bass", renderBass}, {"pad", renderPad},
				{"pluck", renderPluck}, {"lead", renderLead}, {"bell", renderBell}, {"noise", renderNoise}};
			const auto found = renderers.find(spec.type);
			if (found == renderers.end())
			{
				const std::string message = fileName + ":" + std::to_string(spec.line) + ": \"" + spec.type + "\" is not an instrument type";
				throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
			}
			return found->second;
		}

		// The lane that automates an instrument's parameter, or its setting held constant.
		Automation automationFor(const Score& score, const InstrumentSpec& spec, const std::string& parameter, double fallback)
		{
			for (const AutomationLane& lane : score.automation)
				if (lane.instrument == spec.name && lane.parameter == parameter)
					return Automation(score, lane);
			return Automation(spec.setting(parameter, fallback));
		}

		// How far the kicks push everything that ducks: 1 just after each kick, fading to 0.
		std::vector<float> kickPressure(const Score& score, size_t frames)
		{
			std::vector<float> pressure(frames, 0.0f);
			const double attack = 0.004, release = 0.11;
			const int64_t reach = secondsToFrames(attack + release * 6.0);
			for (size_t index = 0; index < score.instruments.size(); index++)
			{
				if (score.instruments[index].type != "kick")
					continue;
				for (const NoteEvent& note : sequenceInstrument(score, index))
					for (int64_t i = 0; i < reach && note.start + i < static_cast<int64_t>(frames); i++)
					{
						const double t = static_cast<double>(i) / sampleRate;
						const double value = t < attack ? t / attack : std::exp(-(t - attack) / release);
						float& slot = pressure[static_cast<size_t>(note.start + i)];
						slot = std::max(slot, static_cast<float>(value * std::min(1.0f, note.velocity / 0.75f)));
					}
			}
			return pressure;
		}

		void checkAutomationTargets(const Score& score)
		{
			for (const AutomationLane& lane : score.automation)
			{
				bool found = false;
				for (const InstrumentSpec& spec : score.instruments)
					found = found || spec.name == lane.instrument;
				if (!found)
				{
					const std::string message = score.fileName + ": automation names instrument \"" + lane.instrument + "\", which is not declared";
					throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
				}
			}
			for (const Placement& placement : score.placements)
			{
				bool found = false;
				for (const InstrumentSpec& spec : score.instruments)
					found = found || spec.name == placement.instrument;
				if (!found)
				{
					const std::string message = score.fileName + ":" + std::to_string(placement.line) + ": instrument \"" + placement.instrument + "\" is not declared";
					throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
				}
			}
		}
	}

	StereoBuffer mixScore(const Score& score)
	{
		checkAutomationTargets(score);
		const size_t frames = static_cast<size_t>(score.totalFrames());
		StereoBuffer mix(frames), delaySend(frames), reverbSend(frames), bus(frames);
		const std::vector<float> pressure = kickPressure(score, frames);
		for (size_t index = 0; index < score.instruments.size(); index++)
		{
			const InstrumentSpec& spec = score.instruments[index];
			const VoiceRenderer render = rendererFor(spec, score.fileName);
			const Automation cutoff = automationFor(score, spec, "cutoff", 2000.0);
			std::fill(bus.left.begin(), bus.left.end(), 0.0f);
			std::fill(bus.right.begin(), bus.right.end(), 0.0f);
			const std::vector<NoteEvent> notes = sequenceInstrument(score, index);
			for (size_t n = 0; n < notes.size(); n++)
			{
				const VoiceContext context{spec, cutoff, static_cast<unsigned>(index * 100003u + n * 7u + 1u)};
				render(context, notes[n], bus);
			}
			const Automation level = automationFor(score, spec, "level", 0.0);
			const Automation delay = automationFor(score, spec, "delay", 0.0);
			const Automation reverb = automationFor(score, spec, "reverb", 0.0);
			const double pan = std::clamp(spec.setting("pan", 0.0), -1.0, 1.0);
			const float panLeft = static_cast<float>(std::sqrt(1.0 - pan));
			const float panRight = static_cast<float>(std::sqrt(1.0 + pan));
			const float duck = static_cast<float>(spec.setting("duck", 0.0));
			float gain = 0.0f, delayAmount = 0.0f, reverbAmount = 0.0f;
			for (size_t i = 0; i < frames; i++)
			{
				if (i % 64 == 0)
				{
					gain = static_cast<float>(decibelsToGain(level.valueAtFrame(static_cast<int64_t>(i))));
					delayAmount = static_cast<float>(delay.valueAtFrame(static_cast<int64_t>(i)));
					reverbAmount = static_cast<float>(reverb.valueAtFrame(static_cast<int64_t>(i)));
				}
				const float ducked = gain * (1.0f - duck * pressure[i]);
				const float left = bus.left[i] * ducked * panLeft;
				const float right = bus.right[i] * ducked * panRight;
				mix.left[i] += left;
				mix.right[i] += right;
				delaySend.left[i] += left * delayAmount;
				delaySend.right[i] += right * delayAmount;
				reverbSend.left[i] += left * reverbAmount;
				reverbSend.right[i] += right * reverbAmount;
			}
		}
		PingPongDelay(score.delayBeats * 60.0 / score.tempo, score.delayFeedback, score.delayDamping).process(delaySend);
		for (size_t i = 0; i < frames; i++)
		{
			mix.left[i] += delaySend.left[i];
			mix.right[i] += delaySend.right[i];
			// The echoes sit in the same room as the instruments that made them.
			reverbSend.left[i] += 0.4f * delaySend.left[i];
			reverbSend.right[i] += 0.4f * delaySend.right[i];
		}
		Reverb(score.reverbSize, score.reverbDamping, score.reverbPreDelay).process(reverbSend);
		for (size_t i = 0; i < frames; i++)
		{
			mix.left[i] += reverbSend.left[i];
			mix.right[i] += reverbSend.right[i];
		}
		return mix;
	}
}

// Shared constants and conversions of the music synthesiser: sample rate, decibels, pitch.
#pragma once

#include <cmath>   // Required for: std::pow, std::log10
#include <cstdint> // Required for: int64_t

namespace Music
{
	constexpr int sampleRate = 44100;
	constexpr double pi = 3.14159265358979323846;

	inline double decibelsToGain(double decibels)
	{
		return std::pow(10.0, decibels / 20.0);
	}

	inline double gainToDecibels(double gain)
	{
		return 20.0 * std::log10(gain);
	}

	// MIDI note number (69 = A4 = 440 Hz) to frequency.
	inline double noteToHertz(double note)
	{
		return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
	}

	inline int64_t secondsToFrames(double seconds)
	{
		return static_cast<int64_t>(std::llround(seconds * sampleRate));
	}
}

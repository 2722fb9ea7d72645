// Attack-decay-sustain-release envelope, evaluated from the time since the note began, so a
// voice needs no state for it. Attack and release never drop below a few milliseconds: a
// note that starts or stops in one sample clicks.
#pragma once

#include <algorithm> // Required for: std::max
#include <cmath>     // Required for: std::exp

namespace Music
{
	struct Envelope
	{
		double attack = 0.005;  // seconds, linear rise
		double decay = 0.2;     // seconds, time constant of the fall to the sustain level
		double sustain = 1.0;   // level held while the note lasts
		double release = 0.05;  // seconds from note end to silence

		double held(double time) const
		{
			const double rise = std::max(attack, 0.002);
			if (time < rise)
				return time / rise;
			return sustain + (1.0 - sustain) * std::exp(-(time - rise) / std::max(decay, 0.001));
		}

		// time: seconds since the note began; gate: the note's length in seconds.
		double level(double time, double gate) const
		{
			if (time < gate)
				return held(time);
			const double fall = std::max(release, 0.005);
			const double remaining = 1.0 - (time - gate) / fall;
			if (remaining <= 0.0)
				return 0.0;
			return held(gate) * remaining * remaining;
		}

		double tail() const { return std::max(release, 0.005); }
	};
}

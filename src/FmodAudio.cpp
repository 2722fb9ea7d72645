#include "FmodAudio.h"

#include <cmath>   // Required for: std::fabs()
#include <cstdint> // Required for: int64_t, uint32_t, INT64_MIN

FmodAudio::FmodAudio()
	: channel(nullptr), sound(nullptr), playing(false)
{
	system.init();
}

FmodAudio::~FmodAudio()
{
	system.release();
}

void FmodAudio::play(const Tarn::String& path)
{
	sound = system.createStream(path.getText());
	channel = system.playSound(sound);
	playing = true;
}

void FmodAudio::update()
{
	system.update();
}

void FmodAudio::pause()
{
	if (!channel)
		return;
	channel->setPaused(true);
	playing = false;
}

void FmodAudio::resume()
{
	if (!channel)
		return;
	channel->setPaused(false);
	playing = true;
}

void FmodAudio::stop()
{
	if (channel)
		channel->stop();
}

bool FmodAudio::isStarted()
{
	return channel != nullptr;
}

bool FmodAudio::isPlaying()
{
	return playing;
}

double FmodAudio::getPosition()
{
	if (!channel)
		return 0.0;
	const uint32_t ms = channel->getPositionMs();
	return ms / 1000.0;
}

void FmodAudio::setPosition(double seconds)
{
	if (!channel)
		return;
	// Truncated toward zero, and only the low 32 bits reach the channel, as with any millisecond
	// count the channel takes.
	const double scaled = seconds * 1000.0;
	// Out of the 64-bit range (or NaN) the conversion yields the integer indefinite value, as
	// the processor's own truncation does, instead of undefined behaviour.
	const int64_t ms = std::fabs(scaled) < 9.2e18 ? static_cast<int64_t>(scaled) : INT64_MIN;
	channel->setPositionMs(static_cast<uint32_t>(ms));
}

#include "AudioSystem.h"

#include <SDL.h> // Required for: SDL_InitSubSystem(), SDL_SetHintWithPriority()

#include <cstring> // Required for: std::strcmp()

AudioSystem::AudioSystem()
	: started(false), dummyForced(false), stream(nullptr), channel(nullptr)
{
}

AudioSystem::~AudioSystem()
{
	release();
}

bool AudioSystem::startSubsystem()
{
	started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
	return started;
}

bool AudioSystem::switchToDummyDriver()
{
	// Override, so that an SDL_AUDIODRIVER naming a driver that just failed does not win again.
	SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
	dummyForced = true;
	// With the subsystem already running (its driver started but opens no device), replace the
	// driver in place: quitting the subsystem would not restart it while another part of the
	// program holds it too.
	if (started)
		return SDL_AudioInit("dummy") == 0;
	return startSubsystem();
}

void AudioSystem::init()
{
	if (started)
		return;
	if (!startSubsystem())
		switchToDummyDriver();
}

Mp3Stream* AudioSystem::createStream(const char* path)
{
	releaseChannel();
	delete stream;
	stream = path ? Mp3Stream::open(path) : nullptr;
	return stream;
}

AudioChannel* AudioSystem::playSound(Mp3Stream* sound)
{
	releaseChannel();
	if (!sound || sound != stream || !started)
		return nullptr;
	channel = AudioChannel::open(*sound);
	if (!channel && !isUsingDummyDriver() && switchToDummyDriver())
		channel = AudioChannel::open(*sound);
	return channel;
}

void AudioSystem::update()
{
}

void AudioSystem::releaseChannel()
{
	delete channel;
	channel = nullptr;
}

void AudioSystem::release()
{
	releaseChannel();
	delete stream;
	stream = nullptr;
	if (started)
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
	started = false;
	if (dummyForced)
		SDL_ResetHint(SDL_HINT_AUDIODRIVER);
	dummyForced = false;
}

bool AudioSystem::isUsingDummyDriver() const
{
	const char* driver = started ? SDL_GetCurrentAudioDriver() : nullptr;
	return driver && std::strcmp(driver, "dummy") == 0;
}

#include "AudioChannel.h"

#include <cmath>   // Required for: std::floor()
#include <cstring> // Required for: std::memset(), std::strcmp()

// About 23 ms at 44.1 kHz: short enough for the picture to follow the beat closely, long enough
// for the audio thread to decode a buffer without running dry on a busy machine.
static const int requestedBufferFrames = 1024;

// SDL's dummy and disk drivers pace themselves with whole-millisecond sleeps, so they take
// samples a few per cent faster or slower than real time depending on the buffer size.
static bool driverIsSilent()
{
	const char* driver = SDL_GetCurrentAudioDriver();
	return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0);
}

AudioChannel* AudioChannel::open(Mp3Stream& stream)
{
	SDL_AudioSpec wanted;
	SDL_zero(wanted);
	wanted.freq = stream.getSampleRate();
	wanted.format = AUDIO_S16SYS;
	wanted.channels = static_cast<Uint8>(stream.getChannelCount());
	wanted.samples = requestedBufferFrames;
	wanted.callback = fillBuffer;

	// The channel must exist before the device can call back into it; the device starts paused.
	AudioChannel* channel = new AudioChannel(stream, requestedBufferFrames, driverIsSilent());
	wanted.userdata = channel;
	SDL_AudioSpec obtained;
	channel->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
	if (channel->device == 0)
	{
		delete channel;
		return nullptr;
	}
	SDL_PauseAudioDevice(channel->device, 0);
	return channel;
}

AudioChannel::AudioChannel(Mp3Stream& stream, int deviceBufferFrames, bool pacedByWallClock)
	: stream(stream), device(0), paused(false), clock(stream.getSampleRate(), deviceBufferFrames, pacedByWallClock, stream.getLengthFrames())
{
}

AudioChannel::~AudioChannel()
{
	if (device != 0)
		SDL_CloseAudioDevice(device);
}

double AudioChannel::now()
{
	return static_cast<double>(SDL_GetPerformanceCounter()) / static_cast<double>(SDL_GetPerformanceFrequency());
}

// Runs on SDL's audio thread with the device locked: no allocation, no waiting beyond the decode.
void SDLCALL AudioChannel::fillBuffer(void* userdata, Uint8* buffer, int length)
{
	AudioChannel& channel = *static_cast<AudioChannel*>(userdata);
	const int frameBytes = static_cast<int>(sizeof(int16_t)) * channel.stream.getChannelCount();
	const int decoded = channel.stream.read(reinterpret_cast<int16_t*>(buffer), length / frameBytes);
	std::memset(buffer + decoded * frameBytes, 0, length - decoded * frameBytes);

	std::lock_guard<std::mutex> lock(channel.clockLock);
	channel.clock.onBufferHanded(decoded, now());
}

void AudioChannel::setPaused(bool pause)
{
	if (device == 0 || pause == paused)
		return;
	paused = pause;
	// Once SDL_PauseAudioDevice returns no callback is running or will run until resumed.
	SDL_PauseAudioDevice(device, pause ? 1 : 0);
	std::lock_guard<std::mutex> lock(clockLock);
	if (pause)
		clock.pause(now());
	else
		clock.resume(now());
}

void AudioChannel::stop()
{
	if (device == 0)
		return;
	{
		std::lock_guard<std::mutex> lock(clockLock);
		clock.pause(now());
	}
	SDL_CloseAudioDevice(device);
	device = 0;
}

uint32_t AudioChannel::getPositionMs()
{
	std::lock_guard<std::mutex> lock(clockLock);
	return static_cast<uint32_t>(std::floor(clock.getPositionMs(now())));
}

void AudioChannel::setPositionMs(uint32_t ms)
{
	if (device == 0)
		return;
	// Rounded up to a whole frame, so that the position read back is the millisecond asked for
	// (at 44.1 kHz 1 ms is 44.1 frames; rounding down would read back 0 ms for 1 ms).
	const int64_t frame = (static_cast<int64_t>(ms) * stream.getSampleRate() + 999) / 1000;
	SDL_LockAudioDevice(device);
	const int64_t reached = stream.seek(frame);
	{
		std::lock_guard<std::mutex> lock(clockLock);
		clock.seek(reached);
	}
	SDL_UnlockAudioDevice(device);
}

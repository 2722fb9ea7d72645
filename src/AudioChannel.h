// AudioChannel: one Mp3Stream playing through an SDL audio device, and its position.
// SDL's audio thread decodes straight into the device's buffer; the render thread only reads
// the position and, rarely, pauses or seeks under the device's lock.
#pragma once

#include "Mp3Stream.h"
#include "PlaybackClock.h"

#include <SDL.h> // Required for: SDL_AudioDeviceID, Uint8

#include <cstdint> // Required for: uint32_t
#include <mutex>   // Required for: std::mutex

class AudioChannel
{
public:
	// Opens the default output device in the stream's format (SDL converts where the device
	// differs) and starts playing at once. Returns null when no device opens.
	static AudioChannel* open(Mp3Stream& stream);
	~AudioChannel();

	AudioChannel(const AudioChannel&) = delete;
	AudioChannel& operator=(const AudioChannel&) = delete;

	void setPaused(bool paused);
	// Ends playback for good: the device is closed and the position stays where it stopped.
	void stop();

	uint32_t getPositionMs();
	void setPositionMs(uint32_t ms);

private:
	AudioChannel(Mp3Stream& stream, int deviceBufferFrames, bool pacedByWallClock);

	static void SDLCALL fillBuffer(void* channel, Uint8* buffer, int length);
	static double now();

	Mp3Stream& stream;
	SDL_AudioDeviceID device;
	bool paused;
	std::mutex clockLock; // the clock is read on the render thread and advanced on the audio thread
	PlaybackClock clock;
};

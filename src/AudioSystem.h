// AudioSystem: SDL's audio subsystem with the one music stream and the one channel playing it.
// When no real output device can be used it switches to SDL's silent dummy driver, so the music
// clock still runs on a machine without sound.
#pragma once

#include "AudioChannel.h"
#include "Mp3Stream.h"

class AudioSystem
{
public:
	AudioSystem();
	~AudioSystem();

	AudioSystem(const AudioSystem&) = delete;
	AudioSystem& operator=(const AudioSystem&) = delete;

	void init();
	// Opens the file for streaming, replacing any earlier stream and channel; null when it cannot
	// be decoded. The system owns the stream.
	Mp3Stream* createStream(const char* path);
	// Starts the stream on a channel at once; null without a stream or an output device.
	// The system owns the channel.
	AudioChannel* playSound(Mp3Stream* sound);
	// Decoding and mixing run on SDL's audio thread; nothing is left to do once per frame.
	void update();
	// Stops playback, frees the channel and the stream and ends the audio subsystem.
	void release();

private:
	bool isUsingDummyDriver() const;
	bool startSubsystem();
	bool switchToDummyDriver();
	void releaseChannel();

	bool started;
	bool dummyForced;
	Mp3Stream* stream;
	AudioChannel* channel;
};

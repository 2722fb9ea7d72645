// FmodAudio: the music stream and its position, played by our own sound layer (AudioSystem).
// The Demo owns one, plays the music file once and calls update every frame.
#pragma once

#include "Audio.h"
#include "AudioSystem.h"

#include <tarn/String.h>

class FmodAudio : public Audio
{
public:
	FmodAudio();
	// Releasing the system ends playback and frees the stream.
	~FmodAudio();

	FmodAudio(const FmodAudio&) = delete;
	FmodAudio& operator=(const FmodAudio&) = delete;

	// Streams the file from the start, at once. A file that is missing or cannot be decoded
	// leaves no channel; Sync then keeps time by the wall clock.
	void play(const Tarn::String& path);

	void update() override;
	void pause() override;
	void resume() override;
	void stop() override;
	bool isStarted() override;
	bool isPlaying() override;
	double getPosition() override;
	void setPosition(double seconds) override;

private:
	AudioSystem system;
	AudioChannel* channel; // null until play has started the stream
	Mp3Stream* sound;
	bool playing;
};

// Audio: the music playback the show is timed by. The Demo owns the one implementation and
// Sync reads the position from it; tools may put a fixed clock in its place.
#pragma once

class Audio
{
public:
	virtual void update() = 0;
	virtual void pause() = 0;
	virtual void resume() = 0;
	virtual void stop() = 0;
	virtual bool isStarted() = 0;
	virtual bool isPlaying() = 0;
	// Seconds of music, at the millisecond resolution the playback reports.
	virtual double getPosition() = 0;
	virtual void setPosition(double seconds) = 0;

protected:
	// Never deleted through this interface: owners hold the implementation itself.
	~Audio() = default;
};

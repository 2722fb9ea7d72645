// Starting SDL's video system on a screen.
#pragma once

#include <string>

// Starts SDL's video system, or takes one more reference on it, with a driver that shows windows
// on a screen. Where no display opens, SDL would otherwise fall back to a driver that draws into
// memory, and a window would wait there, unseen, for ever. SDL_VIDEODRIVER still picks any driver.
// False when no driver started; whyNoScreen() says why.
bool startVideoOnAScreen();

// Why the video system did not start, naming the display it tried: the end of a one-line message.
std::string whyNoScreen();

// Holds SDL's video system up on a screen while it lives, so the display connection and the GL
// library are opened once, not torn down and reopened as windows come and go.
class ScreenVideo
{
public:
	ScreenVideo();
	~ScreenVideo();
	ScreenVideo(const ScreenVideo&) = delete;
	ScreenVideo& operator=(const ScreenVideo&) = delete;

	bool isStarted() const;

private:
	bool started;
};

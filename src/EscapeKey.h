// The viewer's way out of the show: Escape held down now, or pressed at any moment since the
// previous check, so a short tap between two slow frames is not lost.
#pragma once

#include <SDL.h> // Required for: SDL_Event

#include <atomic> // Required for: std::atomic

class EscapeKey
{
public:
	// Starts watching key presses; the video system must be running (the window is open).
	EscapeKey();
	~EscapeKey();

	EscapeKey(const EscapeKey&) = delete;
	EscapeKey& operator=(const EscapeKey&) = delete;

	// True when Escape is down now or was pressed since the previous call.
	bool wasPressed();

private:
	static int SDLCALL watch(void* data, SDL_Event* event);

	std::atomic<bool> pressedSinceCheck;
};

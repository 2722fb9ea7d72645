#include "VideoStart.h"

#include <SDL.h> // Required for: SDL_SetHintWithPriority, SDL_InitSubSystem, SDL_GetError

bool startVideoOnAScreen()
{
	SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland,kmsdrm", SDL_HINT_DEFAULT);
	return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::string whyNoScreen()
{
	const char* display = SDL_getenv("DISPLAY");
	const std::string reason = std::string(" (") + SDL_GetError() + ")";
	return display ? "no display opened on DISPLAY \"" + std::string(display) + "\"" + reason : "DISPLAY is not set" + reason;
}

ScreenVideo::ScreenVideo() : started(startVideoOnAScreen()) {}

ScreenVideo::~ScreenVideo()
{
	if (started)
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool ScreenVideo::isStarted() const
{
	return started;
}

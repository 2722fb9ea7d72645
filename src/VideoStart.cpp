#include "VideoStart.h"

#include <SDL.h> // Required for: SDL_SetHintWithPriority, SDL_InitSubSystem, SDL_GetError

namespace
{
	// The drivers that show windows on a screen; Windows has one, and always a desktop.
#ifdef _WIN32
	const char* const screenDrivers = "windows";
#else
	const char* const screenDrivers = "x11,wayland,kmsdrm";
#endif
}

bool startVideoOnAScreen()
{
	SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, screenDrivers, SDL_HINT_DEFAULT);
	return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::string whyNoScreen()
{
	const std::string reason = std::string(" (") + SDL_GetError() + ")";
#ifdef _WIN32
	return "no window could be shown on the desktop" + reason;
#else
	const char* display = SDL_getenv("DISPLAY");
	return display ? "no display opened on DISPLAY \"" + std::string(display) + "\"" + reason : "DISPLAY is not set" + reason;
#endif
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

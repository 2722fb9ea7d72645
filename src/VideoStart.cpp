#include "VideoStart.h"

#include <SDL.h> // Required for: SDL_SetHintWithPriority, SDL_InitSubSystem

bool startVideoOnAScreen()
{
	SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11,wayland,kmsdrm", SDL_HINT_DEFAULT);
	return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

#include "EscapeKey.h"

EscapeKey::EscapeKey()
	: pressedSinceCheck(false)
{
	SDL_AddEventWatch(watch, this);
}

EscapeKey::~EscapeKey()
{
	SDL_DelEventWatch(watch, this);
}

bool EscapeKey::wasPressed()
{
	// Events that arrived while nothing pumped (the show loading) reach the watch and the key
	// state only now, so a key held since before the first frame is seen before it is drawn.
	SDL_PumpEvents();
	const bool pressed = pressedSinceCheck.exchange(false);
	const Uint8* keys = SDL_GetKeyboardState(nullptr);
	return pressed || keys[SDL_SCANCODE_ESCAPE] != 0;
}

// Sees every event as it is queued, before the window drains it.
int SDLCALL EscapeKey::watch(void* data, SDL_Event* event)
{
	if (event->type == SDL_KEYDOWN && event->key.keysym.scancode == SDL_SCANCODE_ESCAPE)
		static_cast<EscapeKey*>(data)->pressedSinceCheck = true;
	return 1;
}

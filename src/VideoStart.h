// Starting SDL's video system on a screen.
#pragma once

// Starts SDL's video system, or takes one more reference on it, with a driver that shows windows
// on a screen. Where no display opens, SDL would otherwise fall back to a driver that draws into
// memory, and a window would wait there, unseen, for ever. SDL_VIDEODRIVER still picks any driver.
// False when no driver started; SDL_GetError() says why.
bool startVideoOnAScreen();

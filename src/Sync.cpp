#include "Sync.h"

#include <tarn/Exception.h>

#include <SDL.h> // Required for: SDL_GetTicks()

Sync::Sync()
	: audio(nullptr), startTime(SDL_GetTicks()), device(SyncDevice::create("Data/")), rowRate(0.0), watch(nullptr)
{
	if (!device)
		throw Tarn::Exception("Could not initialize sync device", "src\\Sync", 48);
}

Sync& Sync::get()
{
	static Sync sync;
	return sync;
}

double Sync::getTime()
{
	Sync& sync = get();
	if (sync.audio && sync.audio->isStarted())
		return sync.audio->getPosition();
	const uint32_t elapsed = SDL_GetTicks() - sync.startTime; // wraps like the tick count itself
	return elapsed / 1000.0;
}

float Sync::getValue(const char* name)
{
	Sync& sync = get();
	if (sync.watch)
		sync.watch(name);
	if (!sync.audio)
		return 0.0f;
	// No wall-clock fallback here: without a channel the position is 0.0 and every track reads row 0.
	const double row = sync.rowRate * sync.audio->getPosition();
	return sync.device->getTrack(name)->valueAt(row);
}

#include "SyncDevice.h"

#include <cstdlib> // Required for: malloc(), realloc(), free()
#include <cstring> // Required for: strcmp(), strdup(), strlen(), memcpy()
#include <new>     // Required for: std::bad_alloc

namespace
{
	// Every track path is composed here, so track creation is single-threaded.
	const size_t pathBufferSize = 260;
	char pathBuffer[pathBufferSize];

	// Appends text at offset; false when it would not fit together with the terminator. A path
	// that does not fit is refused rather than cut short into the name of some other file.
	bool appendToPath(size_t& offset, const char* text)
	{
		const size_t length = std::strlen(text);
		if (length >= pathBufferSize - offset)
			return false;
		std::memcpy(pathBuffer + offset, text, length + 1);
		offset += length;
		return true;
	}

	const char* composeTrackPath(const char* base, const char* name)
	{
		size_t offset = 0;
		pathBuffer[0] = 0;
		if (appendToPath(offset, base) && appendToPath(offset, "_") && appendToPath(offset, name) && appendToPath(offset, ".track"))
			return pathBuffer;
		return nullptr;
	}
}

SyncDevice* SyncDevice::create(const char* base)
{
	SyncDevice* device = (SyncDevice*)std::malloc(sizeof(SyncDevice));
	if (!device)
		return nullptr;
	device->base = strdup(base);
	if (!device->base)
	{
		std::free(device);
		return nullptr;
	}
	device->tracks = nullptr;
	device->trackCount = 0;
	return device;
}

void SyncDevice::destroy(SyncDevice* device)
{
	if (!device)
		return;
	for (int i = 0; i < device->trackCount; i++)
	{
		std::free(device->tracks[i]->name);
		std::free(device->tracks[i]->keys);
		std::free(device->tracks[i]);
	}
	std::free(device->tracks);
	std::free(device->base);
	std::free(device);
}

int SyncDevice::findTrack(const char* name) const
{
	for (int i = 0; i < trackCount; i++)
		if (std::strcmp(tracks[i]->name, name) == 0)
			return i;
	return -1;
}

void SyncDevice::reloadTracks()
{
	for (int i = 0; i < trackCount; i++)
	{
		SyncTrack* track = tracks[i];
		std::free(track->keys);
		track->keys = nullptr;
		track->keyCount = 0;
		if (const char* path = composeTrackPath(base, track->name))
			track->load(path);
	}
}

SyncTrack* SyncDevice::getTrack(const char* name)
{
	const int index = findTrack(name);
	if (index >= 0)
		return tracks[index];

	SyncTrack* track = (SyncTrack*)std::malloc(sizeof(SyncTrack));
	char* nameCopy = strdup(name);
	SyncTrack** grownTracks = (SyncTrack**)std::realloc(tracks, (size_t)(trackCount + 1) * sizeof(SyncTrack*));
	if (!track || !nameCopy || !grownTracks)
		throw std::bad_alloc();
	track->name = nameCopy;
	track->keys = nullptr;
	track->keyCount = 0;
	tracks = grownTracks;
	tracks[trackCount++] = track;

	if (const char* path = composeTrackPath(base, name))
		track->load(path);
	return track;
}

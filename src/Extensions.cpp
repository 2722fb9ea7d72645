#include "Extensions.h"

#include <tarn/Exception.h>

#include <SDL.h> // Required for: SDL_GL_GetProcAddress, SDL_GL_ExtensionSupported

#include <cstdio> // Required for: sscanf

#define HALVORINE_DEFINE_EXTENSION(type, name) type extension_##name = nullptr;
HALVORINE_GL_EXTENSIONS(HALVORINE_DEFINE_EXTENSION)
#undef HALVORINE_DEFINE_EXTENSION

namespace
{
	void* lookUpWithSdl(const char* name)
	{
		return SDL_GL_GetProcAddress(name);
	}

	// Stores one pointer; the first missing entry point stops the load.
	template <typename Pointer>
	void loadExtension(ExtensionLookup lookup, Pointer& pointer, const char* name)
	{
		pointer = reinterpret_cast<Pointer>(lookup(name));
		if (!pointer)
			throw Tarn::Exception(Tarn::String("Could not load extension procedure: ") + name, "src\\Extensions", 10);
	}
}

void loadExtensions()
{
	loadExtensions(lookUpWithSdl);
}

void loadExtensions(ExtensionLookup lookup)
{
#define HALVORINE_LOAD_EXTENSION(type, name) loadExtension(lookup, extension_##name, #name);
	HALVORINE_GL_EXTENSIONS(HALVORINE_LOAD_EXTENSION)
#undef HALVORINE_LOAD_EXTENSION
}

GLVersion parseGLVersion(const char* text)
{
	GLVersion version = { 0, 0 };
	if (!text || std::sscanf(text, "%d.%d", &version.major, &version.minor) != 2)
		return { 0, 0 };
	return version;
}

bool offersSeamlessCubeMaps()
{
	const GLVersion version = parseGLVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
	return version.atLeast(3, 2) || SDL_GL_ExtensionSupported("GL_ARB_seamless_cube_map");
}

// An OpenGL 3.0 compatibility context without a display: SDL's offscreen driver (EGL, Mesa
// llvmpipe) with a hidden window of the output size, and the newer entry points loaded.
#include "HeadlessContext.h"

#include "Extensions.h"

#include <tarn/Exception.h>

#include <SDL.h>

#include <cstdlib>

HeadlessContext::HeadlessContext(int width, int height)
{
	// The caller's choice of video driver wins; without one, draw without a display.
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	// SDL would turn SIGINT and SIGTERM into quit events nobody reads here: let them end the
	// render, so Ctrl-C and a stopped capture stop it.
	SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
	if (SDL_Init(SDL_INIT_VIDEO) != 0)
		throw Tarn::Exception(Tarn::String("Could not start SDL video: ") + SDL_GetError(), "HeadlessContext", 17);

	SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
	SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
	SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
	window = SDL_CreateWindow("Corvale - Halvorine", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
	if (!window)
	{
		const Tarn::String reason = SDL_GetError();
		SDL_Quit();
		throw Tarn::Exception("Could not create the offscreen window: " + reason, "HeadlessContext", 29);
	}
	context = SDL_GL_CreateContext(window);
	if (!context)
	{
		const Tarn::String reason = SDL_GetError();
		SDL_DestroyWindow(window);
		SDL_Quit();
		throw Tarn::Exception("Could not create the OpenGL context: " + reason, "HeadlessContext", 37);
	}
	try
	{
		loadExtensions();
	}
	catch (...)
	{
		SDL_GL_DeleteContext(context);
		SDL_DestroyWindow(window);
		SDL_Quit();
		throw;
	}
}

HeadlessContext::~HeadlessContext()
{
	SDL_GL_DeleteContext(context);
	SDL_DestroyWindow(window);
	SDL_Quit();
}

#include "GLWindow.h"

#include <tarn/Exception.h>

GLWindow::GLWindow()
	: renderContext(nullptr)
{
	classFlags = SDL_WINDOW_OPENGL;
}

GLWindow::~GLWindow()
{
	closeContext();
}

void GLWindow::create(const char* title, bool fullscreen, int width, int height, unsigned style)
{
	// The context attributes must be set after video start-up and before the window exists;
	// this reference on the video system is GLWindow's own, released by close().
	if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
		throw Tarn::Exception("Could not register window class", "src\\Window", 44);
	SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
	SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
	SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
	SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
	SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
	SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
	SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
	SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

	try
	{
		Window::create(title, fullscreen, width, height, style);
	}
	catch (...)
	{
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
		throw;
	}

	renderContext = SDL_GL_CreateContext(handle);
	if (!renderContext)
	{
		// Without a context every later GL call would crash instead of failing with a message.
		const Tarn::String reason(SDL_GetError());
		close();
		throw Tarn::Exception(Tarn::String("Could not create OpenGL context: ") + reason, "src\\GLWindow", 47);
	}
	if (SDL_GL_SetSwapInterval(-1) != 0)
		SDL_GL_SetSwapInterval(1);
}

void GLWindow::close()
{
	closeContext();
	Window::close();
}

void GLWindow::closeContext()
{
	if (!open)
		return;
	if (renderContext)
	{
		SDL_GL_MakeCurrent(handle, nullptr);
		SDL_GL_DeleteContext(renderContext);
		renderContext = nullptr;
	}
	// Window::close releases the video reference of Window::create; this is GLWindow's own.
	SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GLWindow::update()
{
	Window::update();
	if (open)
		SDL_GL_SwapWindow(handle);
}

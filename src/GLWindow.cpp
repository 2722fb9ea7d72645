#include "GLWindow.h"

#include "Extensions.h"
#include "VideoStart.h"

#include <tarn/Exception.h>

namespace
{
	Tarn::String needsGL30(const Tarn::String& offered)
	{
		return "This show needs OpenGL 3.0; the driver offers " + offered;
	}

	Tarn::String describeCurrentContext()
	{
		const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
		const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
		return Tarn::String("OpenGL ") + (version ? version : "of no version") + " on " + (renderer ? renderer : "an unnamed renderer");
	}

	// What the driver makes when asked for no version at all: an older driver still says which
	// version and renderer it has. Empty when it makes no context either.
	Tarn::String describeDefaultContext(SDL_Window* window)
	{
		SDL_GL_ResetAttributes();
		SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
		SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
		SDL_GLContext context = SDL_GL_CreateContext(window);
		if (!context)
			return Tarn::String("");
		const Tarn::String description = describeCurrentContext();
		SDL_GL_MakeCurrent(window, nullptr);
		SDL_GL_DeleteContext(context);
		return description;
	}
}

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
	if (!startVideoOnAScreen())
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
		const Tarn::String offered = describeDefaultContext(handle);
		close();
		if (offered.getLength() == 0)
			throw Tarn::Exception(Tarn::String("Could not create OpenGL context: ") + reason, "src\\GLWindow", 47);
		throw Tarn::Exception(needsGL30(offered) + " (the 3.0 context failed: " + reason + ")", "src\\GLWindow", 47);
	}
	if (!parseGLVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION))).atLeast(3, 0))
	{
		const Tarn::String offered = describeCurrentContext();
		close();
		throw Tarn::Exception(needsGL30(offered), "src\\GLWindow", 47);
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

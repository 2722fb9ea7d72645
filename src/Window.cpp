#include "Window.h"

#include "VideoStart.h"

#include <tarn/Exception.h>

namespace
{
	// Name under which each SDL window keeps a pointer to its Window object.
	const char* const objectKey = "Window";

	// The window an input or window event belongs to; 0 for events of no window.
	Uint32 eventWindowId(const SDL_Event& event)
	{
		switch (event.type)
		{
		case SDL_WINDOWEVENT: return event.window.windowID;
		case SDL_KEYDOWN:
		case SDL_KEYUP: return event.key.windowID;
		case SDL_TEXTEDITING: return event.edit.windowID;
		case SDL_TEXTINPUT: return event.text.windowID;
		case SDL_MOUSEMOTION: return event.motion.windowID;
		case SDL_MOUSEBUTTONDOWN:
		case SDL_MOUSEBUTTONUP: return event.button.windowID;
		case SDL_MOUSEWHEEL: return event.wheel.windowID;
		default: return 0;
		}
	}

	// A display mode of exactly width x height with 32-bit pixels, if the display offers one.
	bool findFullscreenMode(int width, int height, SDL_DisplayMode& found)
	{
		const int count = SDL_GetNumDisplayModes(0);
		for (int i = 0; i < count; ++i)
		{
			SDL_DisplayMode mode;
			if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height
				&& SDL_BYTESPERPIXEL(mode.format) == 4)
			{
				found = mode;
				return true;
			}
		}
		return false;
	}
}

Window::Window()
	: classFlags(0), open(false), handle(nullptr), x(0), y(0), width(0), height(0), style(0),
	  fullscreen(false), closeRequested(false)
{
}

Window::~Window()
{
	closeWindow();
}

void Window::create(const char* title, bool fullscreen, int width, int height, unsigned style)
{
	this->style = style;
	this->width = width;
	this->height = height;
	this->fullscreen = fullscreen;
	closeRequested = false;

	if (!startVideoOnAScreen())
		throw Tarn::Exception("Could not register window class", "src\\Window", 44);

	// Shown only once the display mode is set, so a full-screen window never flashes at the
	// desktop's size.
	const Uint32 flags = classFlags | SDL_WINDOW_HIDDEN;
	if (fullscreen)
	{
		SDL_DisplayMode mode;
		if (!findFullscreenMode(width, height, mode))
		{
			SDL_QuitSubSystem(SDL_INIT_VIDEO);
			throw Tarn::Exception("Could not create fullscreen window", "src\\Window", 54);
		}
		handle = SDL_CreateWindow(title, 0, 0, width, height, flags | SDL_WINDOW_FULLSCREEN);
		if (handle && SDL_SetWindowDisplayMode(handle, &mode) != 0)
		{
			SDL_DestroyWindow(handle);
			handle = nullptr;
			SDL_QuitSubSystem(SDL_INIT_VIDEO);
			throw Tarn::Exception("Could not create fullscreen window", "src\\Window", 54);
		}
		if (handle)
			SDL_ShowCursor(SDL_DISABLE);
	}
	else
	{
		handle = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, flags | style);
	}

	if (!handle)
	{
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
		throw Tarn::Exception("Could not create window", "src\\Window", 70);
	}

	SDL_SetWindowData(handle, objectKey, this);
	SDL_ShowWindow(handle);
	SDL_RaiseWindow(handle);
	SDL_GetWindowPosition(handle, &x, &y);
	open = true;
}

void Window::close()
{
	closeWindow();
}

void Window::closeWindow()
{
	if (!open)
		return;
	SDL_SetWindowData(handle, objectKey, nullptr);
	SDL_DestroyWindow(handle);
	handle = nullptr;
	SDL_QuitSubSystem(SDL_INIT_VIDEO);
	open = false;
}

void Window::update()
{
	if (!open)
		return;
	const Uint32 ownId = SDL_GetWindowID(handle);
	SDL_Event event;
	while (SDL_PollEvent(&event))
	{
		// The system's quit request (a signal, a session ending) belongs to the program's window.
		if (event.type == SDL_QUIT)
			handleMessage(event);
		else if (eventWindowId(event) == ownId)
			windowProc(event);
	}
}

void Window::setTitle(const char* text)
{
	if (open)
		SDL_SetWindowTitle(handle, text);
}

void Window::resize(int width, int height)
{
	this->width = width;
	this->height = height;
	if (open)
		SDL_SetWindowSize(handle, width, height);
}

bool Window::isOpen() const
{
	return open;
}

int Window::getWidth() const
{
	return width;
}

int Window::getHeight() const
{
	return height;
}

float Window::getAspectRatio() const
{
	return static_cast<float>(width) / static_cast<float>(height);
}

void Window::handleMessage(const SDL_Event& event)
{
	if (event.type == SDL_QUIT)
	{
		closeRequested = true;
		return;
	}
	if (event.type != SDL_WINDOWEVENT)
		return;
	switch (event.window.event)
	{
	case SDL_WINDOWEVENT_MOVED:
		x = event.window.data1;
		y = event.window.data2;
		break;
	case SDL_WINDOWEVENT_SIZE_CHANGED:
		width = event.window.data1;
		height = event.window.data2;
		break;
	case SDL_WINDOWEVENT_CLOSE:
		// The window stays open: the main loop sees the request and ends the run.
		closeRequested = true;
		break;
	default:
		break;
	}
}

bool Window::isCloseRequested() const
{
	return closeRequested;
}

SDL_Window* Window::getHandle() const
{
	return handle;
}

void Window::windowProc(const SDL_Event& event)
{
	SDL_Window* window = SDL_GetWindowFromID(eventWindowId(event));
	if (!window)
		return; // a late event of a window that is already gone
	Window* object = static_cast<Window*>(SDL_GetWindowData(window, objectKey));
	if (!object)
		throw Tarn::Exception("Window event handler invoked without a window handle", "src\\Window", 172);
	object->handleMessage(event);
}

// A top-level SDL window that tracks its position and client size and answers its own events.
#pragma once

#include <SDL.h> // Required for: SDL_Window, SDL_Event

class Window
{
public:
	Window();
	virtual ~Window();

	Window(const Window&) = delete;
	Window& operator=(const Window&) = delete;

	// Opens, shows and focuses the window with a client area of exactly width x height.
	// Windowed: titled, placed by the system, style holds extra SDL_WindowFlags.
	// Full screen: switches the display to a 32-bit mode of exactly that size (style ignored)
	// and hides the cursor. Throws "Could not register window class" when there is no video
	// system, "Could not create fullscreen window" when the mode is not offered and
	// "Could not create window".
	virtual void create(const char* title, bool fullscreen, int width, int height, unsigned style);

	// Destroys the window; does nothing when it is not open.
	virtual void close();

	// Handles every pending event of this window.
	virtual void update();

	virtual void setTitle(const char* text);
	virtual void resize(int width, int height);
	virtual bool isOpen() const;
	virtual int getWidth() const;
	virtual int getHeight() const;
	virtual float getAspectRatio() const;
	virtual void handleMessage(const SDL_Event& event);

	// True once the viewer asked to close the window (close box, or the system's quit request);
	// the window itself stays open, the owner decides.
	bool isCloseRequested() const;

	SDL_Window* getHandle() const;

protected:
	// Routes an event to the Window object attached to the SDL window it names.
	static void windowProc(const SDL_Event& event);

	// Flags every window of this class needs (a GLWindow asks for an OpenGL window).
	Uint32 classFlags;

	bool open;
	SDL_Window* handle;
	int x;
	int y;
	int width;
	int height;
	unsigned style;
	bool fullscreen;
	bool closeRequested;

private:
	void closeWindow();
};

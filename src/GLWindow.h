// The Window with an OpenGL 3.0 compatibility context (24-bit depth, double buffered).
#pragma once

#include "Window.h"

class GLWindow : public Window
{
public:
	GLWindow();
	~GLWindow() override;

	// Opens the window, then creates its context and makes it current; swaps wait for the
	// vertical blank where the driver allows (adaptive first). Throws the Window's messages,
	// "This show needs OpenGL 3.0; the driver offers " + its version and renderer when it has
	// less, and "Could not create OpenGL context: " + the reason when it makes none at all.
	void create(const char* title, bool fullscreen, int width, int height, unsigned style) override;

	// Releases the context, then closes the window.
	void close() override;

	// Handles the pending events, then presents the frame.
	void update() override;

	SDL_GLContext renderContext;

private:
	void closeContext();
};

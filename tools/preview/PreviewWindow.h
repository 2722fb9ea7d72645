// The program's GL window, passing every event it handles on to the preview as well (keys,
// the overlay's mouse), and able to handle its events without presenting a frame.
#pragma once

#include "GLWindow.h"

#include <functional>

class PreviewWindow : public GLWindow
{
public:
	std::function<void(const SDL_Event&)> onEvent;

	void handleMessage(const SDL_Event& event) override
	{
		GLWindow::handleMessage(event);
		if (onEvent)
			onEvent(event);
	}

	// Events only: for a frame the Demo did not draw.
	void handleEvents() { Window::update(); }
};

// The preview's overlay, drawn with Dear ImGui over the show: time, row, bar:beat, the scene,
// frame time, the last reload error, and a strip of the music's sections that seeks on a click.
#pragma once

#include "MusicSections.h"

#include <SDL.h>

#include <functional>
#include <string>

class Transport;

struct OverlayState
{
	double seconds;
	int scene; // what "Part" selects: Demo::currentScene()
	double frameMs;
	// The last reloads' errors, empty while they went well.
	const std::string* trackError;
	const std::string* shaderError;
};

class Overlay
{
public:
	Overlay(SDL_Window* window, SDL_GLContext context);
	~Overlay();

	Overlay(const Overlay&) = delete;
	Overlay& operator=(const Overlay&) = delete;

	// True when the overlay took the event (a click on it), so the preview leaves it alone.
	bool handleEvent(const SDL_Event& event);
	void toggle() { visible = !visible; }

	// Drawn in the same ImGui frame after the overlay, shown or hidden.
	std::function<void()> drawPanels;

	// Draws into the bound window framebuffer; a click on the strip seeks the transport.
	void draw(const OverlayState& state, const MusicSections& sections, Transport& transport);

private:
	void drawStrip(const OverlayState& state, const MusicSections& sections, Transport& transport);

	bool visible = true;
};

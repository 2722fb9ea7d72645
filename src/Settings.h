// The viewer's choices from the setup dialog, and the output size every layer draws at.
#pragma once

struct Resolution
{
	int width;
	int height;
	const char* label;
};

// The three resolutions the setup dialog offers, in the order it lists them.
extern const Resolution resolutions[3];

struct Settings
{
	bool accepted = false;  // the dialog ended with OK
	int resolution = 1;     // index into resolutions
	bool fullscreen = false;
	bool mustache = true;   // shown checked and disabled; nothing reads it

	// The one process-wide record, created with its defaults on first use.
	static Settings& get();
};

struct OutputSize
{
	int width;
	int height;
};

// The size of the window, viewports and screen-sized render targets:
// resolutions[Settings::get().resolution], unless the render tool asked for another size.
OutputSize getOutputSize();

// Lets the headless render tool draw at any size; must be set before anything sized is created.
void setOutputSizeOverride(int width, int height);

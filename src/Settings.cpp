#include "Settings.h"

const Resolution resolutions[3] = {
	{ 1920, 1080, "1920x1080" },
	{ 1280, 720, "1280x720" },
	{ 1024, 768, "1024x768" },
};

static OutputSize outputSizeOverride = { 0, 0 };

Settings& Settings::get()
{
	static Settings settings;
	return settings;
}

OutputSize getOutputSize()
{
	if (outputSizeOverride.width > 0 && outputSizeOverride.height > 0)
		return outputSizeOverride;
	const Resolution& resolution = resolutions[Settings::get().resolution];
	return { resolution.width, resolution.height };
}

void setOutputSizeOverride(int width, int height)
{
	outputSizeOverride = { width, height };
}

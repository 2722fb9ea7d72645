// An OpenGL 3.0 compatibility context without a display: SDL's offscreen driver (EGL, Mesa
// llvmpipe) with a hidden window of the output size, and the newer entry points loaded.
#pragma once

struct SDL_Window;

class HeadlessContext
{
public:
	// Throws Tarn::Exception naming what could not be created.
	HeadlessContext(int width, int height);
	~HeadlessContext();

	HeadlessContext(const HeadlessContext&) = delete;
	HeadlessContext& operator=(const HeadlessContext&) = delete;

private:
	SDL_Window* window = nullptr;
	void* context = nullptr;
};

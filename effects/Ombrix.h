// Ombrix: a night field of carved monoliths on black glass, ray-marched by one full-screen
// fragment program that reflects the sky box; it opens the show and closes it.
#pragma once

#include "Declaration.h"
#include "Effect.h"
#include "GLSingleton.h"

#include <memory>

class CubeTexture;
class RenderTarget;
class ShaderProgram;

class Ombrix : public Effect, public GLSingleton<Ombrix>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	static const Declaration declaration; // "Ombrix" and its eight tracks

	// Draws the whole picture into targetFramebuffer over the output size. The projection is
	// unused: the fragment program builds its own rays from the view.
	void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) override;

	// The view's rotation alone: its 3x3 part, every other element 0, element 15 included.
	static Tarn::Matrix4 rotationOf(const Tarn::Matrix4& view);

private:
	Ombrix();
	~Ombrix();
	Ombrix(const Ombrix&) = delete;
	Ombrix& operator=(const Ombrix&) = delete;

	friend class GLSingleton<Ombrix>;
	bool hasObjects() const { return program != nullptr; }
	void createObjects();
	void deleteObjects();

	std::unique_ptr<ShaderProgram> program;
	std::unique_ptr<ShaderProgram> blitProgram; // built and released with the scene, never drawn with
	std::unique_ptr<CubeTexture> skybox;
	// The random numbers of the tower cells around the eye, worked out once a frame by the same
	// program, for the march to read instead of working them out at every cell it crosses.
	std::unique_ptr<RenderTarget> cells;
};

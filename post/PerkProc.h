// PerkProc: owner of the scene framebuffer and the final full-screen pass (distortion, flash,
// invert, desaturation) that feeds the bloom chain.
#pragma once

#include "Declaration.h"
#include "GLSingleton.h"

class RenderTarget;
class ShaderProgram;

class PerkProc : public GLSingleton<PerkProc>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	static const Declaration declaration; // "PerkProc": distortions, flash, invert, desaturation

	// Draws the scene texture through the final pass into the bound framebuffer and viewport.
	static void apply(float mix);

	RenderTarget* target = nullptr; // the scene framebuffer, output size, with depth

private:
	PerkProc() = default;
	~PerkProc();
	PerkProc(const PerkProc&) = delete;
	PerkProc& operator=(const PerkProc&) = delete;

	friend class GLSingleton<PerkProc>;
	bool hasObjects() const { return program != nullptr; }
	void createObjects();
	void deleteObjects();

	ShaderProgram* program = nullptr;
};

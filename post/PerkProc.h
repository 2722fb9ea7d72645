// PerkProc: owner of the scene framebuffer and the final full-screen pass (distortion, flash,
// invert, desaturation) that feeds the bloom chain.
#pragma once

class RenderTarget;
class Shader;
class Program;

class PerkProc
{
public:
	// The one instance; its GL objects are created on first use, and again after release().
	static PerkProc& get();

	// Draws the scene texture through the final pass into the bound framebuffer and viewport.
	static void apply(float mix);

	// Deletes the GL objects while the context still exists (nothing if none were made);
	// the next get() creates them anew.
	static void release();

	RenderTarget* target = nullptr; // the scene framebuffer, output size, with depth

private:
	PerkProc() = default;
	~PerkProc();
	PerkProc(const PerkProc&) = delete;
	PerkProc& operator=(const PerkProc&) = delete;

	static PerkProc& instance();
	void createOrClean();
	void create();
	void deleteObjects();

	Shader* vertexShader = nullptr;
	Shader* fragmentShader = nullptr;
	Program* program = nullptr;
};

// PerkProc: owner of the scene framebuffer and the final full-screen pass (distortion, flash,
// invert, desaturation) that feeds the bloom chain.
#include "PerkProc.h"

#include "Extensions.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "ShaderProgram.h"
#include "Sync.h"
#include "Texture.h"

PerkProc::~PerkProc()
{
	deleteObjects();
}

void PerkProc::createObjects()
{
	const OutputSize size = getOutputSize();
	target = new RenderTarget(size.width, size.height, true, 1, GL_RGBA);
	program = new ShaderProgram("Data/PerkProc.vert", "Data/PerkProc.frag");
}

void PerkProc::deleteObjects()
{
	delete target;
	delete program;
	target = nullptr;
	program = nullptr;
}

void PerkProc::apply(float mix)
{
	PerkProc& pass = get();
	const Program& program = pass.program->get();
	glUseProgram(program.id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, pass.target->textures[0]->id);

	program.setUniform("Tex", 0);
	program.setUniform("Time", (float)Sync::getTime());
	program.setUniform("Distortion", Sync::getValue("PerkProc Distortion"));
	program.setUniform("Distortion2", Sync::getValue("PerkProc Distortion2"));
	program.setUniform("Flash", Sync::getValue("PerkProc Flash"));
	program.setUniform("Mix", mix);
	program.setUniform("Invert", Sync::getValue("PerkProc Invert"));
	program.setUniform("Desaturation", Sync::getValue("PerkProc Desat"));

	glRecti(-1, -1, 1, 1);

	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
}

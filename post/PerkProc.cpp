// PerkProc: owner of the scene framebuffer and the final full-screen pass (distortion, flash,
// invert, desaturation) that feeds the bloom chain.
#include "PerkProc.h"

#include "Extensions.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "ShaderProgram.h"
#include "Sync.h"
#include "Texture.h"

namespace
{
	constexpr const char* distortionTrack = "PerkProc Distortion";
	constexpr const char* distortionTwoTrack = "PerkProc Distortion2";
	constexpr const char* flashTrack = "PerkProc Flash";
	constexpr const char* invertTrack = "PerkProc Invert";
	constexpr const char* desaturationTrack = "PerkProc Desat";
}

const Declaration PerkProc::declaration = { "PerkProc", { distortionTrack, distortionTwoTrack, flashTrack, invertTrack, desaturationTrack } };

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
	program.setUniform("Distortion", Sync::getValue(distortionTrack));
	program.setUniform("Distortion2", Sync::getValue(distortionTwoTrack));
	program.setUniform("Flash", Sync::getValue(flashTrack));
	program.setUniform("Mix", mix);
	program.setUniform("Invert", Sync::getValue(invertTrack));
	program.setUniform("Desaturation", Sync::getValue(desaturationTrack));

	glRecti(-1, -1, 1, 1);

	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
}

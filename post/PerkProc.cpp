// PerkProc: owner of the scene framebuffer and the final full-screen pass (distortion, flash,
// invert, desaturation) that feeds the bloom chain.
#include "PerkProc.h"

#include "Extensions.h"
#include "Program.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "Shader.h"
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
	vertexShader = new Shader("Data/PerkProc.vert", GL_VERTEX_SHADER);
	fragmentShader = new Shader("Data/PerkProc.frag", GL_FRAGMENT_SHADER);
	program = new Program(vertexShader, fragmentShader);
}

void PerkProc::deleteObjects()
{
	delete target;
	delete vertexShader;
	delete fragmentShader;
	delete program;
	target = nullptr;
	vertexShader = nullptr;
	fragmentShader = nullptr;
	program = nullptr;
}

void PerkProc::apply(float mix)
{
	PerkProc& pass = get();
	const GLuint id = pass.program->id;
	glUseProgram(id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, pass.target->textures[0]->id);

	glUniform1i(glGetUniformLocation(id, "Tex"), 0);
	glUniform1f(glGetUniformLocation(id, "Time"), (float)Sync::getTime());
	glUniform1f(glGetUniformLocation(id, "Distortion"), Sync::getValue("PerkProc Distortion"));
	glUniform1f(glGetUniformLocation(id, "Distortion2"), Sync::getValue("PerkProc Distortion2"));
	glUniform1f(glGetUniformLocation(id, "Flash"), Sync::getValue("PerkProc Flash"));
	glUniform1f(glGetUniformLocation(id, "Mix"), mix);
	glUniform1f(glGetUniformLocation(id, "Invert"), Sync::getValue("PerkProc Invert"));
	glUniform1f(glGetUniformLocation(id, "Desaturation"), Sync::getValue("PerkProc Desat"));

	glRecti(-1, -1, 1, 1);

	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
}

// Ombrix: a night field of carved monoliths on black glass under an eclipsed sun, ray-marched by
// one full-screen fragment program; the eight "Ombrix ..." tracks carve, spin, light and fade it.
#include "Ombrix.h"

#include "CubeTexture.h"
#include "Extensions.h"
#include "Program.h"
#include "Settings.h"
#include "Shader.h"
#include "Sync.h"

Ombrix::~Ombrix()
{
	deleteObjects();
}

void Ombrix::createObjects()
{
	vertexShader = new Shader("Data/Ombrix.vert", GL_VERTEX_SHADER);
	fragmentShader = new Shader("Data/Ombrix.frag", GL_FRAGMENT_SHADER);
	program = new Program(vertexShader, fragmentShader);
	blitVertexShader = new Shader("Data/Blit.vert", GL_VERTEX_SHADER);
	blitFragmentShader = new Shader("Data/Blit.frag", GL_FRAGMENT_SHADER);
	blitProgram = new Program(blitVertexShader, blitFragmentShader);
	skybox = new CubeTexture("Data/skyboxlol.jpg");
}

void Ombrix::deleteObjects()
{
	delete vertexShader;
	delete fragmentShader;
	delete program;
	delete blitVertexShader;
	delete blitFragmentShader;
	delete blitProgram;
	delete skybox;
	vertexShader = nullptr;
	fragmentShader = nullptr;
	program = nullptr;
	blitVertexShader = nullptr;
	blitFragmentShader = nullptr;
	blitProgram = nullptr;
	skybox = nullptr;
}

Tarn::Matrix4 Ombrix::rotationOf(const Tarn::Matrix4& view)
{
	Tarn::Matrix4 rotation; // all zero, element 15 included
	for (int column = 0; column < 3; column++)
		for (int row = 0; row < 3; row++)
			rotation[column * 4 + row] = view[column * 4 + row];
	return rotation;
}

void Ombrix::render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 /*projection*/)
{
	glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
	const OutputSize size = getOutputSize();
	glViewport(0, 0, size.width, size.height);

	// Locations are looked up by name right before every set, and each track is read right
	// before its uniform; a name the program lacks is skipped by the driver.
	const GLuint id = program->id;
	glUseProgram(id);
	// The frame leaves unit 0 active; the cube map goes there without selecting a unit.
	glBindTexture(GL_TEXTURE_CUBE_MAP, skybox->id);

	glUniform1f(glGetUniformLocation(id, "Time"), (float)time);
	glUniform1f(glGetUniformLocation(id, "RotationTime"), Sync::getValue("Ombrix Rotation Time"));
	glUniformMatrix4fv(glGetUniformLocation(id, "View"), 1, GL_FALSE, view.data());
	const Tarn::Matrix4 viewRotation = rotationOf(view);
	glUniformMatrix4fv(glGetUniformLocation(id, "ViewRotation"), 1, GL_FALSE, viewRotation.data());
	glUniform1i(glGetUniformLocation(id, "SkyboxTex"), 0);
	glUniform1f(glGetUniformLocation(id, "SkyboxMix"), Sync::getValue("Ombrix Skybox Mix"));
	glUniform1f(glGetUniformLocation(id, "Color"), Sync::getValue("Ombrix Color"));
	glUniform1f(glGetUniformLocation(id, "AoFactor"), Sync::getValue("Ombrix Ao Factor"));
	glUniform1f(glGetUniformLocation(id, "Cutouts"), Sync::getValue("Ombrix Cutouts"));
	glUniform1f(glGetUniformLocation(id, "Slashes"), Sync::getValue("Ombrix Slashes"));
	glUniform1f(glGetUniformLocation(id, "PlaneDistance"), Sync::getValue("Ombrix Plane Distance"));
	glUniform1f(glGetUniformLocation(id, "RotationMix"), Sync::getValue("Ombrix Rotation Mix"));

	glRecti(-1, -1, 1, 1);

	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
	glUseProgram(0);
}

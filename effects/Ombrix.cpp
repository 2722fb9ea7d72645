// Ombrix: a night field of carved monoliths on black glass under an eclipsed sun, ray-marched by
// one full-screen fragment program; the eight "Ombrix ..." tracks carve, spin, light and fade it.
#include "Ombrix.h"

#include "CubeTexture.h"
#include "Extensions.h"
#include "Settings.h"
#include "ShaderProgram.h"
#include "Sync.h"

Ombrix::Ombrix() = default;

Ombrix::~Ombrix()
{
	deleteObjects();
}

void Ombrix::createObjects()
{
	program.reset(new ShaderProgram("Data/Ombrix.vert", "Data/Ombrix.frag"));
	blitProgram.reset(new ShaderProgram("Data/Blit.vert", "Data/Blit.frag"));
	skybox.reset(new CubeTexture("Data/skyboxlol.jpg"));
}

void Ombrix::deleteObjects()
{
	program.reset();
	blitProgram.reset();
	skybox.reset();
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
	const Program& shading = program->get();
	glUseProgram(shading.id);
	// The frame leaves unit 0 active; the cube map goes there without selecting a unit.
	glBindTexture(GL_TEXTURE_CUBE_MAP, skybox->id);

	shading.setUniform("Time", (float)time);
	shading.setUniform("RotationTime", Sync::getValue("Ombrix Rotation Time"));
	shading.setUniform("View", view);
	const Tarn::Matrix4 viewRotation = rotationOf(view);
	shading.setUniform("ViewRotation", viewRotation);
	shading.setUniform("SkyboxTex", 0);
	shading.setUniform("SkyboxMix", Sync::getValue("Ombrix Skybox Mix"));
	shading.setUniform("Color", Sync::getValue("Ombrix Color"));
	shading.setUniform("AoFactor", Sync::getValue("Ombrix Ao Factor"));
	shading.setUniform("Cutouts", Sync::getValue("Ombrix Cutouts"));
	shading.setUniform("Slashes", Sync::getValue("Ombrix Slashes"));
	shading.setUniform("PlaneDistance", Sync::getValue("Ombrix Plane Distance"));
	shading.setUniform("RotationMix", Sync::getValue("Ombrix Rotation Mix"));

	glRecti(-1, -1, 1, 1);

	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
	glUseProgram(0);
}

// Ombrix: a night field of carved monoliths on black glass under an eclipsed sun, ray-marched by
// one full-screen fragment program; its eight tracks carve, spin, light and fade it.
#include "Ombrix.h"

#include "CubeTexture.h"
#include "Extensions.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "ShaderProgram.h"
#include "Sync.h"

namespace
{
	constexpr const char* rotationTimeTrack = "Ombrix Rotation Time";
	constexpr const char* skyboxMixTrack = "Ombrix Skybox Mix";
	constexpr const char* colorTrack = "Ombrix Color";
	constexpr const char* aoFactorTrack = "Ombrix Ao Factor";
	constexpr const char* cutoutsTrack = "Ombrix Cutouts";
	constexpr const char* slashesTrack = "Ombrix Slashes";
	constexpr const char* planeDistanceTrack = "Ombrix Plane Distance";
	constexpr const char* rotationMixTrack = "Ombrix Rotation Mix";

	// Cells a side in the table of cell numbers around the eye. A ray reaches 90 units and its
	// mirror image 90 more: 21 cells from the eye's at most.
	constexpr int cellTableSize = 64;
}

const Declaration Ombrix::declaration = { "Ombrix",
	{ rotationTimeTrack, skyboxMixTrack, colorTrack, aoFactorTrack, cutoutsTrack, slashesTrack, planeDistanceTrack, rotationMixTrack } };

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
	// 32-bit floats: the march must read the very numbers it would have worked out.
	cells.reset(new RenderTarget(cellTableSize, cellTableSize, false, 1, GL_RGBA32F));
}

void Ombrix::deleteObjects()
{
	program.reset();
	blitProgram.reset();
	skybox.reset();
	cells.reset();
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
	// Locations are looked up by name right before every set, and each track is read right
	// before its uniform; a name the program lacks is skipped by the driver.
	const Program& shading = program->get();
	glUseProgram(shading.id);
	// The frame leaves unit 0 active; the cube map goes there without selecting a unit.
	glBindTexture(GL_TEXTURE_CUBE_MAP, skybox->id);

	shading.setUniform("Time", (float)time);
	shading.setUniform("RotationTime", Sync::getValue(rotationTimeTrack));
	shading.setUniform("View", view);
	const Tarn::Matrix4 viewRotation = rotationOf(view);
	shading.setUniform("ViewRotation", viewRotation);
	shading.setUniform("SkyboxTex", 0);
	shading.setUniform("SkyboxMix", Sync::getValue(skyboxMixTrack));
	shading.setUniform("Color", Sync::getValue(colorTrack));
	shading.setUniform("AoFactor", Sync::getValue(aoFactorTrack));
	shading.setUniform("Cutouts", Sync::getValue(cutoutsTrack));
	shading.setUniform("Slashes", Sync::getValue(slashesTrack));
	shading.setUniform("PlaneDistance", Sync::getValue(planeDistanceTrack));
	shading.setUniform("RotationMix", Sync::getValue(rotationMixTrack));
	shading.setUniform("CellTable", 1);
	shading.setUniform("CellTableSize", (float)cellTableSize);

	// First the table of cell numbers, one texel a cell, by the same program and uniforms.
	glBindFramebuffer(GL_FRAMEBUFFER, cells->id);
	glViewport(0, 0, cellTableSize, cellTableSize);
	shading.setUniform("WritingCells", 1);
	glRecti(-1, -1, 1, 1);

	glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
	const OutputSize size = getOutputSize();
	glViewport(0, 0, size.width, size.height);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, cells->textures[0]->id);
	glActiveTexture(GL_TEXTURE0);
	shading.setUniform("WritingCells", 0);
	glRecti(-1, -1, 1, 1);

	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, 0);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
	glUseProgram(0);
}

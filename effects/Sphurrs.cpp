// Sphurrs: 400 ray-cast spheres with screen-space occlusion and environment reflections over a
// sky box, laid out every frame as a pulsing random field or a spinning three-way tree.
#include "Sphurrs.h"

#include "CubeTexture.h"
#include "Extensions.h"
#include "Inverse.h"
#include "RenderTarget.h"
#include "ShaderProgram.h"
#include "SphurrLayouts.h"
#include "Sync.h"
#include "Texture.h"

namespace
{
	// How far past its surface a sphere darkens its neighbours, in diameters.
	constexpr float occlusionRadius = 0.4f;

	struct SkyCorner
	{
		float s, t;
		float x, y, z;
	};

	// The sky cube, half-size 100, its faces cut from the three-by-four cross of the sky image.
	// The side faces stop short of the image's outer edges, where the cross has no picture.
	const SkyCorner skyCorners[24] = {
		{ 0.3334f, 0.5f, -100, -100, -100 }, { 0.6666f, 0.5f, 100, -100, -100 }, { 0.6666f, 0.25f, 100, 100, -100 }, { 0.3334f, 0.25f, -100, 100, -100 },
		{ 0.3334f, 0.25f, -100, 100, -100 }, { 0.6666f, 0.25f, 100, 100, -100 }, { 0.6666f, 0.0f, 100, 100, 100 }, { 0.3334f, 0.0f, -100, 100, 100 },
		{ 0.3334f, 1.0f, -100, 100, 100 }, { 0.6666f, 1.0f, 100, 100, 100 }, { 0.6666f, 0.75f, 100, -100, 100 }, { 0.3334f, 0.75f, -100, -100, 100 },
		{ 0.3334f, 0.75f, -100, -100, 100 }, { 0.6666f, 0.75f, 100, -100, 100 }, { 0.6666f, 0.5f, 100, -100, -100 }, { 0.3334f, 0.5f, -100, -100, -100 },
		{ 0.6666f, 0.5f, 100, -100, -100 }, { 0.98f, 0.5f, 100, -100, 100 }, { 0.98f, 0.25f, 100, 100, 100 }, { 0.6666f, 0.25f, 100, 100, -100 },
		{ 0.02f, 0.5f, -100, -100, 100 }, { 0.3334f, 0.5f, -100, -100, -100 }, { 0.3334f, 0.25f, -100, 100, -100 }, { 0.02f, 0.25f, -100, 100, 100 },
	};

	constexpr const char* partTrack = "Sphurrs Part";
	constexpr const char* pulseAmountTrack = "Sphurrs Rad Shit";
	constexpr const char* pulsePhaseTrack = "Sphurrs Rad Shit Time";
	constexpr const char* boomTrack = "Sphurrs BOOM";

	const SphurrLayouts::Tracks syncTracks = {
		[] { return Sync::getValue(partTrack); },
		[] { return Sync::getValue(pulseAmountTrack); },
		[] { return Sync::getValue(pulsePhaseTrack); },
		[] { return Sync::getValue(boomTrack); },
	};
}

const Declaration Sphurrs::declaration = { "Sphurrs", { partTrack, pulseAmountTrack, pulsePhaseTrack, boomTrack } };

Sphurrs::Sphurrs()
{
	for (int i = 0; i < sphereCount; i++)
		spheres.add(Sphurr());
}

Sphurrs::~Sphurrs()
{
	deleteObjects();
}

void Sphurrs::createObjects()
{
	geometryTarget.reset(new RenderTarget(targetWidth, targetHeight, true, 3, GL_RGB16F));
	occlusionTarget.reset(new RenderTarget(targetWidth, targetHeight, false, 1, GL_R8));
	sphereProgram.reset(new ShaderProgram("Data/Sphurr.vert", "Data/Sphurr.frag"));
	occlusionProgram.reset(new ShaderProgram("Data/SphurrOcclusion.vert", "Data/SphurrOcclusion.frag"));
	mixProgram.reset(new ShaderProgram("Data/Blit.vert", "Data/SphurrMix.frag"));
	skyProgram.reset(new ShaderProgram("Data/LolSky.vert", "Data/LolSky.frag"));
	environment.reset(new CubeTexture("Data/blurry.jpg"));
	skyTexture.reset(new Texture("Data/blurry.jpg"));
}

// Released in the order they were made, which the show fixes; member destruction would reverse it.
void Sphurrs::deleteObjects()
{
	geometryTarget.reset();
	occlusionTarget.reset();
	sphereProgram.reset();
	occlusionProgram.reset();
	mixProgram.reset();
	skyProgram.reset();
	environment.reset();
	skyTexture.reset();
}

void Sphurrs::render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection)
{
	SphurrLayouts::update(spheres, random, treeCount, time, syncTracks);

	const Tarn::Matrix4 viewInverse = inverse(view);
	const Tarn::Vector3 eye = { viewInverse[12], viewInverse[13], viewInverse[14] };

	// The off-screen passes draw with a viewport of their targets' size, whatever the output size,
	// so the composite that stretches the targets over the frame shows the whole picture.
	GLint frameViewport[4];
	glGetIntegerv(GL_VIEWPORT, frameViewport);
	glViewport(0, 0, targetWidth, targetHeight);
	drawGeometry(view, projection, viewInverse, eye);
	drawOcclusion(view, projection, eye);
	glViewport(frameViewport[0], frameViewport[1], frameViewport[2], frameViewport[3]);

	drawSky(targetFramebuffer, view, projection);
	compose();
}

void Sphurrs::drawSpheres(const Program& program)
{
	// Each sphere is one rectangle over the whole screen; the vertex programs shrink it to the
	// sphere's projected bounds, so the fill cost follows the spheres' size on screen instead of
	// 400 full screens per pass.
	for (int i = 0; i < spheres.getCount(); i++)
	{
		program.setUniform("Pos", spheres[i].position);
		program.setUniform("Rad", spheres[i].radius);
		glRecti(-1, -1, 1, 1);
	}
}

void Sphurrs::drawGeometry(const Tarn::Matrix4& view, const Tarn::Matrix4& projection, const Tarn::Matrix4& viewInverse, const Tarn::Vector3& eye)
{
	glBindFramebuffer(GL_FRAMEBUFFER, geometryTarget->id);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	glEnable(GL_DEPTH_TEST);

	// The rectangles all lie at one depth: the fragment program writes the depth of its hit and
	// discards what its sphere misses, so the depth test keeps the nearest sphere per pixel.
	const Program& program = sphereProgram->get();
	glUseProgram(program.id);
	program.setUniform("Proj", projection);
	program.setUniform("View", view);
	program.setUniform("ViewInverse", viewInverse);
	program.setUniform("EyePos", eye);
	drawSpheres(program);

	glFlush();
	glUseProgram(0);
	glDisable(GL_DEPTH_TEST);
}

void Sphurrs::drawOcclusion(const Tarn::Matrix4& view, const Tarn::Matrix4& projection, const Tarn::Vector3& eye)
{
	glBindFramebuffer(GL_FRAMEBUFFER, occlusionTarget->id);
	glClear(GL_COLOR_BUFFER_BIT);

	// Screen accumulation: dst + o * (1 - dst), so the terms of many spheres never exceed 1.
	glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ONE);
	glEnable(GL_BLEND);

	const Program& program = occlusionProgram->get();
	glUseProgram(program.id);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[1]->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[0]->id);
	program.setUniform("PosTex", 0);
	program.setUniform("NormalTex", 1);
	program.setUniform("Proj", projection);
	program.setUniform("View", view);
	program.setUniform("EyePos", eye);
	program.setUniform("OcclusionRadius", occlusionRadius);
	drawSpheres(program);

	glFlush();
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, 0);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
	glDisable(GL_BLEND);
}

void Sphurrs::drawSky(unsigned int targetFramebuffer, const Tarn::Matrix4& view, const Tarn::Matrix4& projection)
{
	glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
	glClearColor(0.0f, 0.01f, 0.04f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT);

	const Program& program = skyProgram->get();
	glUseProgram(program.id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, skyTexture->id);
	program.setUniform("Proj", projection);
	program.setUniform("View", view);
	program.setUniform("Tex", 0);

	glColor3f(0.1f, 0.1f, 0.1f);
	glDepthMask(GL_FALSE);
	glBegin(GL_QUADS);
	for (const SkyCorner& corner : skyCorners)
	{
		glTexCoord2f(corner.s, corner.t);
		glVertex3f(corner.x, corner.y, corner.z);
	}
	glEnd();

	glFlush();
	glDepthMask(GL_TRUE);
	glUseProgram(0);
	glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void Sphurrs::compose()
{
	// No blending: every pixel a sphere covers replaces the sky; the others are discarded.
	const Program& program = mixProgram->get();
	glUseProgram(program.id);
	glActiveTexture(GL_TEXTURE3);
	glBindTexture(GL_TEXTURE_CUBE_MAP, environment->id);
	glActiveTexture(GL_TEXTURE2);
	glBindTexture(GL_TEXTURE_2D, occlusionTarget->textures[0]->id);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[2]->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[0]->id);
	program.setUniform("PosTex", 0);
	program.setUniform("RefEyeTex", 1);
	program.setUniform("OcclusionTex", 2);
	program.setUniform("EnvTex", 3);

	glRecti(-1, -1, 1, 1);
	glFlush();

	glActiveTexture(GL_TEXTURE3);
	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
	glActiveTexture(GL_TEXTURE2);
	glBindTexture(GL_TEXTURE_2D, 0);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, 0);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
}

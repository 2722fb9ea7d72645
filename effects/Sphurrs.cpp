// Sphurrs: 400 ray-cast spheres with screen-space occlusion and environment reflections over a
// sky box, laid out every frame as a pulsing random field or a spinning three-way tree.
#include "Sphurrs.h"

#include "CubeTexture.h"
#include "Extensions.h"
#include "Inverse.h"
#include "Program.h"
#include "RenderTarget.h"
#include "Shader.h"
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

	// Locations are looked up by name right before every set; a name the program lacks is skipped.
	void setUniform(GLuint program, const char* name, float value)
	{
		glUniform1f(glGetUniformLocation(program, name), value);
	}

	void setUniform(GLuint program, const char* name, int value)
	{
		glUniform1i(glGetUniformLocation(program, name), value);
	}

	void setUniform(GLuint program, const char* name, const Tarn::Vector3& value)
	{
		glUniform3f(glGetUniformLocation(program, name), value.x, value.y, value.z);
	}

	void setUniform(GLuint program, const char* name, const Tarn::Matrix4& value)
	{
		glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, value.data());
	}

	const SphurrLayouts::Tracks syncTracks = {
		[] { return Sync::getValue("Sphurrs Part"); },
		[] { return Sync::getValue("Sphurrs Rad Shit"); },
		[] { return Sync::getValue("Sphurrs Rad Shit Time"); },
		[] { return Sync::getValue("Sphurrs BOOM"); },
	};
}

Sphurrs::Sphurrs()
	: tracks(syncTracks)
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
	geometryTarget = new RenderTarget(targetWidth, targetHeight, true, 3, GL_RGB16F);
	occlusionTarget = new RenderTarget(targetWidth, targetHeight, false, 1, GL_R8);
	sphereVertexShader = new Shader("Data/Sphurr.vert", GL_VERTEX_SHADER);
	sphereFragmentShader = new Shader("Data/Sphurr.frag", GL_FRAGMENT_SHADER);
	sphereProgram = new Program(sphereVertexShader, sphereFragmentShader);
	occlusionVertexShader = new Shader("Data/SphurrOcclusion.vert", GL_VERTEX_SHADER);
	occlusionFragmentShader = new Shader("Data/SphurrOcclusion.frag", GL_FRAGMENT_SHADER);
	occlusionProgram = new Program(occlusionVertexShader, occlusionFragmentShader);
	mixVertexShader = new Shader("Data/Blit.vert", GL_VERTEX_SHADER);
	mixFragmentShader = new Shader("Data/SphurrMix.frag", GL_FRAGMENT_SHADER);
	mixProgram = new Program(mixVertexShader, mixFragmentShader);
	skyVertexShader = new Shader("Data/LolSky.vert", GL_VERTEX_SHADER);
	skyFragmentShader = new Shader("Data/LolSky.frag", GL_FRAGMENT_SHADER);
	skyProgram = new Program(skyVertexShader, skyFragmentShader);
	environment = new CubeTexture("Data/blurry.jpg");
	skyTexture = new Texture("Data/blurry.jpg");
}

void Sphurrs::deleteObjects()
{
	delete geometryTarget;
	delete occlusionTarget;
	delete sphereVertexShader;
	delete sphereFragmentShader;
	delete sphereProgram;
	delete occlusionVertexShader;
	delete occlusionFragmentShader;
	delete occlusionProgram;
	delete mixVertexShader;
	delete mixFragmentShader;
	delete mixProgram;
	delete skyVertexShader;
	delete skyFragmentShader;
	delete skyProgram;
	delete environment;
	delete skyTexture;
	geometryTarget = occlusionTarget = nullptr;
	sphereVertexShader = sphereFragmentShader = nullptr;
	occlusionVertexShader = occlusionFragmentShader = nullptr;
	mixVertexShader = mixFragmentShader = nullptr;
	skyVertexShader = skyFragmentShader = nullptr;
	sphereProgram = occlusionProgram = mixProgram = skyProgram = nullptr;
	environment = nullptr;
	skyTexture = nullptr;
}

void Sphurrs::render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection)
{
	SphurrLayouts::update(spheres, random, treeCount, time, tracks);

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

void Sphurrs::drawSpheres(unsigned int program)
{
	// Each sphere is one rectangle over the whole screen; the vertex programs shrink it to the
	// sphere's projected bounds, so the fill cost follows the spheres' size on screen instead of
	// 400 full screens per pass.
	for (int i = 0; i < spheres.getCount(); i++)
	{
		setUniform(program, "Pos", spheres[i].position);
		setUniform(program, "Rad", spheres[i].radius);
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
	const GLuint program = sphereProgram->id;
	glUseProgram(program);
	setUniform(program, "Proj", projection);
	setUniform(program, "View", view);
	setUniform(program, "ViewInverse", viewInverse);
	setUniform(program, "EyePos", eye);
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

	const GLuint program = occlusionProgram->id;
	glUseProgram(program);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[1]->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[0]->id);
	setUniform(program, "PosTex", 0);
	setUniform(program, "NormalTex", 1);
	setUniform(program, "Proj", projection);
	setUniform(program, "View", view);
	setUniform(program, "EyePos", eye);
	setUniform(program, "OcclusionRadius", occlusionRadius);
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

	const GLuint program = skyProgram->id;
	glUseProgram(program);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, skyTexture->id);
	setUniform(program, "Proj", projection);
	setUniform(program, "View", view);
	setUniform(program, "Tex", 0);

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
	const GLuint program = mixProgram->id;
	glUseProgram(program);
	glActiveTexture(GL_TEXTURE3);
	glBindTexture(GL_TEXTURE_CUBE_MAP, environment->id);
	glActiveTexture(GL_TEXTURE2);
	glBindTexture(GL_TEXTURE_2D, occlusionTarget->textures[0]->id);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[2]->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, geometryTarget->textures[0]->id);
	setUniform(program, "PosTex", 0);
	setUniform(program, "RefEyeTex", 1);
	setUniform(program, "OcclusionTex", 2);
	setUniform(program, "EnvTex", 3);

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

// Bloom: shrinks the processed picture to 128 x 128, blurs it, and composes the sharp picture,
// the glow and the bokeh image into the window.
#include "Bloom.h"

#include "Extensions.h"
#include "Program.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "Shader.h"
#include "Texture.h"

#include <initializer_list>

static const int downsampleSizes[] = { 512, 256, 128 };
static const int blurSize = 128;

// Linear filtering at the edge of a small target must not pull in the border colour:
// GL_CLAMP would darken the rim of the glow, GL_CLAMP_TO_EDGE repeats the edge texel.
static RenderTarget* createSmallTarget(int size)
{
	RenderTarget* target = new RenderTarget(size, size, false, 1, GL_RGBA);
	glBindTexture(GL_TEXTURE_2D, target->textures[0]->id);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
	glBindTexture(GL_TEXTURE_2D, 0);
	return target;
}

Bloom::~Bloom()
{
	deleteObjects();
}

void Bloom::createObjects()
{
	const OutputSize size = getOutputSize();
	inputTarget = new RenderTarget(size.width, size.height, true, 1, GL_RGBA);
	for (int i = 0; i < downsampleCount; i++)
		downsampleTargets[i] = createSmallTarget(downsampleSizes[i]);
	for (int i = 0; i < blurCount; i++)
		blurTargets[i] = createSmallTarget(blurSize);

	const char* fragmentPaths[programCount] = { "Data/Blit.frag", "Data/Blur.frag", "Data/Mix.frag" };
	Program** programs[programCount] = { &blitProgram, &blurProgram, &mixProgram };
	for (int i = 0; i < programCount; i++)
	{
		vertexShaders[i] = new Shader("Data/Blit.vert", GL_VERTEX_SHADER);
		fragmentShaders[i] = new Shader(fragmentPaths[i], GL_FRAGMENT_SHADER);
		*programs[i] = new Program(vertexShaders[i], fragmentShaders[i]);
	}
	bokehTexture = new Texture("Data/bokehfuckyou.jpg");
}

void Bloom::deleteObjects()
{
	delete inputTarget;
	inputTarget = nullptr;
	for (RenderTarget*& target : downsampleTargets)
	{
		delete target;
		target = nullptr;
	}
	for (RenderTarget*& target : blurTargets)
	{
		delete target;
		target = nullptr;
	}
	for (int i = 0; i < programCount; i++)
	{
		delete vertexShaders[i];
		delete fragmentShaders[i];
		vertexShaders[i] = nullptr;
		fragmentShaders[i] = nullptr;
	}
	for (Program** program : { &blitProgram, &blurProgram, &mixProgram })
	{
		delete *program;
		*program = nullptr;
	}
	delete bokehTexture;
	bokehTexture = nullptr;
}

void Bloom::drawPass(const RenderTarget* destination, const RenderTarget* source)
{
	glBindFramebuffer(GL_FRAMEBUFFER, destination->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, source->textures[0]->id);
	glRecti(-1, -1, 1, 1);
}

void Bloom::blur()
{
	glPushAttrib(GL_VIEWPORT_BIT);
	glDisable(GL_DEPTH_TEST);

	// Three halving steps; "Width" and "Height" are the size of the target being written.
	glUseProgram(blitProgram->id);
	glUniform1i(glGetUniformLocation(blitProgram->id, "Tex"), 0);
	const RenderTarget* source = inputTarget;
	for (int i = 0; i < downsampleCount; i++)
	{
		const float size = (float)downsampleSizes[i];
		glViewport(0, 0, downsampleSizes[i], downsampleSizes[i]);
		glUniform1f(glGetUniformLocation(blitProgram->id, "Width"), size);
		glUniform1f(glGetUniformLocation(blitProgram->id, "Height"), size);
		drawPass(downsampleTargets[i], source);
		source = downsampleTargets[i];
	}

	// Six blur passes ping-pong between the two targets and end in blurTargets[0].
	glUseProgram(blurProgram->id);
	glUniform1i(glGetUniformLocation(blurProgram->id, "Tex"), 0);
	glUniform1f(glGetUniformLocation(blurProgram->id, "Delta"), 1.0f);
	drawPass(blurTargets[1], source);
	for (int i = 0; i < 5; i++)
	{
		glUniform1f(glGetUniformLocation(blurProgram->id, "Delta"), i == 0 ? 1.0f : 0.25f);
		glBindTexture(GL_TEXTURE_2D, 0);
		drawPass(blurTargets[i % 2], blurTargets[1 - i % 2]);
	}

	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
	glPopAttrib();
}

unsigned int Bloom::getBlurredTexture() const
{
	return blurTargets[0]->textures[0]->id;
}

void Bloom::mix(float intensity, float bgIntensity)
{
	glActiveTexture(GL_TEXTURE2);
	glBindTexture(GL_TEXTURE_2D, bokehTexture->id);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, blurTargets[0]->textures[0]->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, inputTarget->textures[0]->id);

	const GLuint id = mixProgram->id;
	const OutputSize size = getOutputSize();
	glUseProgram(id);
	glUniform2f(glGetUniformLocation(id, "Resolution"), (float)size.width, (float)size.height);
	glUniform1i(glGetUniformLocation(id, "Tex"), 0);
	glUniform1i(glGetUniformLocation(id, "BlurTex"), 1);
	glUniform1i(glGetUniformLocation(id, "BokehTex"), 2);
	glUniform1f(glGetUniformLocation(id, "Intensity"), intensity);
	glUniform1f(glGetUniformLocation(id, "BgIntensity"), bgIntensity);
	glRecti(-1, -1, 1, 1);
	glUseProgram(0);
}

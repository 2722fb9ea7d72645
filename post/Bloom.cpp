// Bloom: shrinks the processed picture to 128 x 128, blurs it, and composes the sharp picture,
// the glow and the bokeh image into the window.
#include "Bloom.h"

#include "Extensions.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "ShaderProgram.h"
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

const Declaration Bloom::declaration = { "Bloom", { dryTrack, wetTrack } };

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

	blitProgram = new ShaderProgram("Data/Blit.vert", "Data/Blit.frag");
	blurProgram = new ShaderProgram("Data/Blit.vert", "Data/Blur.frag");
	mixProgram = new ShaderProgram("Data/Blit.vert", "Data/Mix.frag");
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
	for (ShaderProgram** program : { &blitProgram, &blurProgram, &mixProgram })
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
	const Program& blit = blitProgram->get();
	glUseProgram(blit.id);
	blit.setUniform("Tex", 0);
	const RenderTarget* source = inputTarget;
	for (int i = 0; i < downsampleCount; i++)
	{
		const float size = (float)downsampleSizes[i];
		glViewport(0, 0, downsampleSizes[i], downsampleSizes[i]);
		blit.setUniform("Width", size);
		blit.setUniform("Height", size);
		drawPass(downsampleTargets[i], source);
		source = downsampleTargets[i];
	}

	// Six blur passes ping-pong between the two targets and end in blurTargets[0].
	const Program& blurring = blurProgram->get();
	glUseProgram(blurring.id);
	blurring.setUniform("Tex", 0);
	blurring.setUniform("Delta", 1.0f);
	drawPass(blurTargets[1], source);
	for (int i = 0; i < 5; i++)
	{
		blurring.setUniform("Delta", i == 0 ? 1.0f : 0.25f);
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

	const Program& mixing = mixProgram->get();
	const OutputSize size = getOutputSize();
	glUseProgram(mixing.id);
	mixing.setUniform("Resolution", (float)size.width, (float)size.height);
	mixing.setUniform("Tex", 0);
	mixing.setUniform("BlurTex", 1);
	mixing.setUniform("BokehTex", 2);
	mixing.setUniform("Intensity", intensity);
	mixing.setUniform("BgIntensity", bgIntensity);
	glRecti(-1, -1, 1, 1);
	glUseProgram(0);
}

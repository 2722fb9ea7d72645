// Each post pass leaves the state the frame relies on, and the blur keeps a flat picture flat
// out to its edges (a border colour pulled in by the filter would darken the glow's rim).
#include "Bloom.h"
#include "Extensions.h"
#include "PerkProc.h"
#include "RenderTarget.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

static GLint getInteger(GLenum name)
{
	GLint value = -1;
	glGetIntegerv(name, &value);
	return value;
}

class PostPass : public testing::Test
{
protected:
	void TearDown() override
	{
		EXPECT_EQ(GL_NO_ERROR, glGetError());
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
		glDisable(GL_DEPTH_TEST);
		glActiveTexture(GL_TEXTURE0);
		PerkProc::release();
		Bloom::release();
	}
};

TEST_F(PostPass, FinalPassLeavesUnitZeroEmptyAndNoProgram)
{
	PerkProc::get();
	Bloom& bloom = Bloom::get();
	glBindFramebuffer(GL_FRAMEBUFFER, bloom.inputTarget->id);
	glActiveTexture(GL_TEXTURE3);
	PerkProc::apply(1.0f);

	EXPECT_EQ(GL_TEXTURE0, getInteger(GL_ACTIVE_TEXTURE));
	EXPECT_EQ(0, getInteger(GL_TEXTURE_BINDING_2D));
	EXPECT_EQ(0, getInteger(GL_CURRENT_PROGRAM));
	EXPECT_EQ((GLint)bloom.inputTarget->id, getInteger(GL_FRAMEBUFFER_BINDING)) << "the pass bound a framebuffer";
}

TEST_F(PostPass, BlurRestoresTheViewportAndLeavesWindowBoundAndDepthOff)
{
	Bloom& bloom = Bloom::get();
	glViewport(3, 4, 50, 60);
	glEnable(GL_DEPTH_TEST);
	bloom.blur();

	GLint viewport[4];
	glGetIntegerv(GL_VIEWPORT, viewport);
	EXPECT_EQ(3, viewport[0]);
	EXPECT_EQ(4, viewport[1]);
	EXPECT_EQ(50, viewport[2]);
	EXPECT_EQ(60, viewport[3]);
	EXPECT_EQ(0, getInteger(GL_FRAMEBUFFER_BINDING));
	EXPECT_EQ(0, getInteger(GL_CURRENT_PROGRAM));
	EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(PostPass, BlurOfAFlatPictureStaysFlatToTheEdges)
{
	Bloom& bloom = Bloom::get();
	const OutputSize size = getOutputSize();
	glBindFramebuffer(GL_FRAMEBUFFER, bloom.inputTarget->id);
	glViewport(0, 0, size.width, size.height);
	glClearColor(0.8f, 0.4f, 0.2f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT);
	glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
	bloom.blur();

	std::vector<unsigned char> texels(128 * 128 * 4);
	glBindTexture(GL_TEXTURE_2D, bloom.getBlurredTexture());
	glPixelStorei(GL_PACK_ALIGNMENT, 1);
	glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
	glBindTexture(GL_TEXTURE_2D, 0);

	const int expected[3] = { 204, 102, 51 };
	int worst = 0;
	for (int i = 0; i < 128 * 128; i++)
		for (int channel = 0; channel < 3; channel++)
			worst = std::max(worst, std::abs(texels[i * 4 + channel] - expected[channel]));
	EXPECT_LE(worst, 2) << "the blurred picture drifts from the flat input, at its edges first";
}

TEST_F(PostPass, CompositeLeavesUnitZeroActiveAndNoProgram)
{
	Bloom& bloom = Bloom::get();
	bloom.blur();
	glActiveTexture(GL_TEXTURE1);
	bloom.mix(0.0f, 1.0f);

	EXPECT_EQ(GL_TEXTURE0, getInteger(GL_ACTIVE_TEXTURE));
	EXPECT_EQ(0, getInteger(GL_CURRENT_PROGRAM));
	EXPECT_EQ((GLint)bloom.inputTarget->textures[0]->id, getInteger(GL_TEXTURE_BINDING_2D));
}

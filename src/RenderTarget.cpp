#include "RenderTarget.h"

#include <tarn/Exception.h>

namespace
{
	const GLenum colourAttachments[9] = {
		GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT0 + 1, GL_COLOR_ATTACHMENT0 + 2,
		GL_COLOR_ATTACHMENT0 + 3, GL_COLOR_ATTACHMENT0 + 4, GL_COLOR_ATTACHMENT0 + 5,
		GL_COLOR_ATTACHMENT0 + 6, GL_COLOR_ATTACHMENT0 + 7, GL_COLOR_ATTACHMENT0 + 8,
	};
}

RenderTarget::RenderTarget(int width, int height, bool depth, int count, GLenum internalFormat)
	: id(0), depthBuffer(0), textures(nullptr), count(count), width(width), height(height)
{
	// The draw-buffer list has nine entries; more attachments would read past its end.
	if (count < 1 || count > 9)
		throw Tarn::Exception("Invalid render target attachment count", "src\\RenderTarget", 19);

	glGenFramebuffers(1, &id);
	glBindFramebuffer(GL_FRAMEBUFFER, id);

	textures = new Texture*[count];
	for (int i = 0; i < count; ++i)
	{
		textures[i] = new Texture(width, height, internalFormat);
		glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, textures[i]->id, 0);
	}
	glDrawBuffers(count, colourAttachments);

	if (depth)
	{
		glGenRenderbuffers(1, &depthBuffer);
		glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
		glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
		glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
		glBindRenderbuffer(GL_RENDERBUFFER, 0);
	}

	glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

RenderTarget::~RenderTarget()
{
	glDeleteFramebuffers(1, &id);
	if (depthBuffer != 0)
		glDeleteRenderbuffers(1, &depthBuffer);
	for (int i = 0; i < count; ++i)
		delete textures[i];
	delete[] textures;
}

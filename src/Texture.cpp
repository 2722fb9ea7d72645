#include "Texture.h"

#include <tarn/Exception.h>

#include <stb/stb_image.h> // Required for: stbi_load, stbi_image_free

Texture::Texture(const Tarn::String& path)
	: id(0), width(0), height(0)
{
	int components = 0;
	stbi_uc* pixels = stbi_load(path.getText() ? path.getText() : "", &width, &height, &components, 4);
	if (!pixels)
		throw Tarn::Exception(Tarn::String("Could not load texture \"") + path + "\"", "src\\Texture", 21);

	glGenTextures(1, &id);
	glBindTexture(GL_TEXTURE_2D, id);
	glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
	stbi_image_free(pixels);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
	glBindTexture(GL_TEXTURE_2D, 0);
}

Texture::Texture(int width, int height, GLenum internalFormat)
	: id(0), width(width), height(height)
{
	glGenTextures(1, &id);
	glBindTexture(GL_TEXTURE_2D, id);
	glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
	glBindTexture(GL_TEXTURE_2D, 0);
}

Texture::~Texture()
{
	glDeleteTextures(1, &id);
}

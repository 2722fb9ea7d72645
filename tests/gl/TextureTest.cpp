// Images arrive in GL as decoded, top row first; the sky-box cross is cut into the right faces;
// render targets attach what they promise and leave the window's framebuffer bound.
#include "GLTest.h"

#include "CubeTexture.h"
#include "RenderTarget.h"
#include "Texture.h"

#include <stb/stb_image_write.h> // Required for: stbi_write_png

#include <cstdint> // Required for: uint8_t
#include <vector>  // Required for: std::vector

namespace
{
	struct Rgba
	{
		uint8_t r, g, b, a;
		bool operator==(const Rgba& other) const { return r == other.r && g == other.g && b == other.b && a == other.a; }
	};

	std::ostream& operator<<(std::ostream& out, const Rgba& pixel)
	{
		return out << "(" << int(pixel.r) << ", " << int(pixel.g) << ", " << int(pixel.b) << ", " << int(pixel.a) << ")";
	}

	// A colour that tells every pixel of an image up to 4096 x 4096 apart.
	Rgba pixelCode(int column, int row)
	{
		return { uint8_t(column & 255), uint8_t(row & 255), uint8_t((column >> 8) | ((row >> 8) << 4)), 255 };
	}

	// Writes a PNG whose pixel (column, row) is pixelCode(column, row).
	void writeCodedImage(const std::string& path, int width, int height, int channels)
	{
		std::vector<uint8_t> pixels;
		for (int row = 0; row < height; ++row)
			for (int column = 0; column < width; ++column)
			{
				const Rgba code = pixelCode(column, row);
				const uint8_t all[4] = { code.r, code.g, code.b, code.a };
				pixels.insert(pixels.end(), all, all + channels);
			}
		ASSERT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0) << path;
	}

	std::vector<Rgba> readTexture(GLenum target, int width, int height)
	{
		std::vector<Rgba> texels(static_cast<size_t>(width) * height);
		glPixelStorei(GL_PACK_ALIGNMENT, 1);
		glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
		return texels;
	}

	// Completeness is no part of the program's 42 entry points; the test fetches it itself.
	GLenum boundFramebufferStatus()
	{
		auto check = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
		return check(GL_FRAMEBUFFER);
	}

	GLint textureLevelSize(GLenum target, GLenum parameter)
	{
		GLint size = -1;
		glGetTexLevelParameteriv(target, 0, parameter, &size);
		return size;
	}
}

using TextureTest = GLTest;
using CubeTextureTest = GLTest;
using RenderTargetTest = GLTest;

TEST_F(TextureTest, ThreeChannelPngLoadsAsOpaqueRgbaTopRowFirst)
{
	const std::string path = makeTestFolder() + "/rgb.png";
	writeCodedImage(path, 300, 200, 3);

	Texture texture(path.c_str());

	EXPECT_EQ(texture.width, 300);
	EXPECT_EQ(texture.height, 200);
	glBindTexture(GL_TEXTURE_2D, texture.id);
	EXPECT_EQ(textureLevelSize(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 300);
	EXPECT_EQ(textureLevelSize(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT), 200);
	const std::vector<Rgba> texels = readTexture(GL_TEXTURE_2D, 300, 200);
	glBindTexture(GL_TEXTURE_2D, 0);
	int mismatches = 0;
	for (int row = 0; row < 200; ++row)
		for (int column = 0; column < 300; ++column)
			if (!(texels[row * 300 + column] == pixelCode(column, row)) && mismatches++ < 3)
				ADD_FAILURE() << "texel " << column << ", " << row << " is " << texels[row * 300 + column];
	EXPECT_EQ(mismatches, 0);
}

TEST_F(TextureTest, MissingImageNamesThePathInQuotes)
{
	const std::string path = makeTestFolder() + "/missing.png";

	const Tarn::Exception error = catchException([&] { Texture texture(path.c_str()); });

	EXPECT_EQ(text(error.getMessage()), "Could not load texture \"" + path + "\"");
	EXPECT_EQ(text(error.getFile()), "src\\Texture");
	EXPECT_EQ(error.getLine(), 21);
}

TEST_F(TextureTest, FileThatIsNoImageIsRejectedLikeAMissingOne)
{
	const std::string path = makeTestFolder() + "/text.png";
	writeTextFile(path, "not an image");

	const Tarn::Exception error = catchException([&] { Texture texture(path.c_str()); });

	EXPECT_EQ(text(error.getMessage()), "Could not load texture \"" + path + "\"");
}

// Every face of a 768 x 1024 cross, texel by texel, against the source pixel the layout names.
TEST_F(CubeTextureTest, CutsTheVerticalCrossIntoTheSixFaces)
{
	const std::string path = makeTestFolder() + "/cross.png";
	writeCodedImage(path, 768, 1024, 4);

	CubeTexture cube(path.c_str());

	EXPECT_EQ(cube.width, 768);
	EXPECT_EQ(cube.height, 1024);
	struct Expected
	{
		GLenum target;
		const char* name;
		int left, top;
		bool turned;
	};
	const Expected faces[] = {
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_X, "+X", 512, 256, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_X, "-X", 0, 256, false },
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_Y, "+Y", 256, 0, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, "-Y", 256, 512, false },
		{ GL_TEXTURE_CUBE_MAP_POSITIVE_Z, "+Z", 256, 256, false },
		{ GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, "-Z", 256, 768, true },
	};
	glBindTexture(GL_TEXTURE_CUBE_MAP, cube.id);
	for (const Expected& face : faces)
	{
		ASSERT_EQ(textureLevelSize(face.target, GL_TEXTURE_WIDTH), 256) << face.name;
		ASSERT_EQ(textureLevelSize(face.target, GL_TEXTURE_HEIGHT), 256) << face.name;
		const std::vector<Rgba> texels = readTexture(face.target, 256, 256);
		int mismatches = 0;
		for (int r = 0; r < 256; ++r)
			for (int c = 0; c < 256; ++c)
			{
				const Rgba expected = face.turned ? pixelCode(face.left + 255 - c, face.top + 255 - r)
												  : pixelCode(face.left + c, face.top + r);
				if (!(texels[r * 256 + c] == expected) && mismatches++ < 3)
					ADD_FAILURE() << face.name << " texel " << c << ", " << r << " is " << texels[r * 256 + c] << ", expected " << expected;
			}
		EXPECT_EQ(mismatches, 0) << face.name;
	}
	// The bottom block is stored upside down: the -Z face starts at the image's last pixel of it.
	EXPECT_EQ(readTexture(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 256, 256)[0], pixelCode(511, 1023));
	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CubeTextureTest, IgnoresColumnsAndRowsBeyondTheGrid)
{
	const std::string path = makeTestFolder() + "/uneven.png";
	writeCodedImage(path, 770, 1027, 3);

	CubeTexture cube(path.c_str());

	glBindTexture(GL_TEXTURE_CUBE_MAP, cube.id);
	EXPECT_EQ(textureLevelSize(GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_WIDTH), 256);
	EXPECT_EQ(textureLevelSize(GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_HEIGHT), 256);
	EXPECT_EQ(readTexture(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 256, 256)[255], pixelCode(767, 256));
	EXPECT_EQ(readTexture(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 256, 256)[0], pixelCode(511, 1023));
	glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

TEST_F(CubeTextureTest, MissingImageNamesThePathInQuotes)
{
	const std::string path = makeTestFolder() + "/missing_sky.png";

	const Tarn::Exception error = catchException([&] { CubeTexture cube(path.c_str()); });

	EXPECT_EQ(text(error.getMessage()), "Could not load texture \"" + path + "\"");
	EXPECT_EQ(text(error.getFile()), "src\\CubeTexture");
	EXPECT_EQ(error.getLine(), 9);
}

TEST_F(RenderTargetTest, WithoutDepthHasNoDepthBufferAndLeavesTheWindowBound)
{
	RenderTarget target(128, 64, false, 1, GL_RGBA);

	EXPECT_EQ(target.depthBuffer, 0u);
	EXPECT_NE(target.id, 0u);
	GLint bound = -1;
	glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
	EXPECT_EQ(bound, 0);
	ASSERT_EQ(target.count, 1);
	EXPECT_EQ(target.textures[0]->width, 128);
	EXPECT_EQ(target.textures[0]->height, 64);

	glBindFramebuffer(GL_FRAMEBUFFER, target.id);
	EXPECT_EQ(boundFramebufferStatus(), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A clear of the target reaches every colour attachment; the depth buffer has 24 bits.
TEST_F(RenderTargetTest, ClearReachesEveryAttachmentAndDepthIs24Bits)
{
	RenderTarget target(32, 16, true, 3, GL_RGB16F);

	EXPECT_NE(target.depthBuffer, 0u);
	GLint bound = -1;
	glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
	EXPECT_EQ(bound, 0);

	glBindFramebuffer(GL_FRAMEBUFFER, target.id);
	ASSERT_EQ(boundFramebufferStatus(), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
	GLint depthBits = 0;
	glGetIntegerv(GL_DEPTH_BITS, &depthBits);
	EXPECT_EQ(depthBits, 24);
	glViewport(0, 0, 32, 16);
	glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	glBindFramebuffer(GL_FRAMEBUFFER, 0);

	for (int i = 0; i < target.count; ++i)
	{
		glBindTexture(GL_TEXTURE_2D, target.textures[i]->id);
		EXPECT_EQ(textureLevelSize(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB16F) << "attachment " << i;
		float texel[32 * 16 * 3] = {};
		glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texel);
		EXPECT_FLOAT_EQ(texel[0], 0.25f) << "attachment " << i;
		EXPECT_FLOAT_EQ(texel[1], 0.5f) << "attachment " << i;
		EXPECT_FLOAT_EQ(texel[2], 0.75f) << "attachment " << i;
	}
	glBindTexture(GL_TEXTURE_2D, 0);
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargetTest, AttachmentCountBeyondTheDrawBufferListIsRejected)
{
	for (int count : { 0, 10 })
	{
		const Tarn::Exception error = catchException([&] { RenderTarget target(16, 16, false, count, GL_RGBA); });
		EXPECT_EQ(text(error.getMessage()), "Invalid render target attachment count") << count;
	}
}

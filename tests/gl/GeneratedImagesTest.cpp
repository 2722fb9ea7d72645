// The images the build paints into Data/ load through the program's own Texture and CubeTexture,
// and the faces that GL ends up holding join without seams.
#include "GLTest.h"

#include "CubeTexture.h"
#include "Texture.h"

#include <cmath>  // Required for: std::abs
#include <string> // Required for: std::string
#include <vector> // Required for: std::vector

namespace
{
	struct Face
	{
		int size = 0;
		std::vector<unsigned char> rgba;
		const unsigned char* at(int column, int row) const { return &rgba[(static_cast<size_t>(row) * size + column) * 4]; }
	};

	Face readFace(GLenum target)
	{
		Face face;
		glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &face.size);
		face.rgba.resize(static_cast<size_t>(face.size) * face.size * 4);
		glPixelStorei(GL_PACK_ALIGNMENT, 1);
		glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, face.rgba.data());
		return face;
	}

	double difference(const unsigned char* a, const unsigned char* b)
	{
		return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
	}
}

TEST_F(GLTest, GeneratedImagesLoadThroughTheProgramsTextures)
{
	for (const char* name : { "corvale", "tamsk", "wenlo", "gathra", "pirrow", "g", "o", "end" })
	{
		const Texture credit((std::string("Data/") + name + ".png").c_str());
		EXPECT_EQ(credit.width * 9, credit.height * 16) << name;
	}
	for (const char* path : { "Data/bokehfuckyou.jpg", "Data/colonskybox.jpg", "Data/rock.png", "Data/rockn.png", "Data/blurry.jpg" })
	{
		const Texture texture(path);
		EXPECT_GT(texture.width, 0) << path;
	}
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Along the edge where +Z meets +X (and the other three edges around +Y), the last texel row or
// column of one face matches the first of the other, as OpenGL's cube-map orientation demands.
TEST_F(GLTest, GeneratedSkyBoxFacesMeetEdgeToEdgeInGL)
{
	for (const char* path : { "Data/skyboxlol.jpg", "Data/blurry.jpg" })
	{
		const CubeTexture sky(path);
		glBindTexture(GL_TEXTURE_CUBE_MAP, sky.id);
		const Face positiveX = readFace(GL_TEXTURE_CUBE_MAP_POSITIVE_X);
		const Face negativeZ = readFace(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z);
		const Face positiveZ = readFace(GL_TEXTURE_CUBE_MAP_POSITIVE_Z);
		const Face positiveY = readFace(GL_TEXTURE_CUBE_MAP_POSITIVE_Y);
		glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
		const int n = positiveX.size;
		ASSERT_EQ(sky.width / 3, n) << path;

		double zx = 0.0, xMinusZ = 0.0, yZ = 0.0, yX = 0.0, inside = 0.0;
		for (int i = 0; i < n; ++i)
		{
			// +Z's right column (x = 1) meets +X's left column (z = 1).
			zx += difference(positiveZ.at(n - 1, i), positiveX.at(0, i));
			// +X's right column (z = -1) meets -Z's left column (x = 1).
			xMinusZ += difference(positiveX.at(n - 1, i), negativeZ.at(0, i));
			// +Y's bottom row (z = 1) meets +Z's top row (y = 1).
			yZ += difference(positiveY.at(i, n - 1), positiveZ.at(i, 0));
			// +Y's right column (x = 1) meets +X's top row read backwards (z from 1 to -1).
			yX += difference(positiveY.at(n - 1, i), positiveX.at(n - 1 - i, 0));
			// For scale: neighbouring columns inside one face.
			inside += difference(positiveX.at(n / 2, i), positiveX.at(n / 2 + 1, i));
		}
		const double allowed = inside / n + 1.5;
		EXPECT_LT(zx / n, allowed) << path << ": +Z to +X";
		EXPECT_LT(xMinusZ / n, allowed) << path << ": +X to -Z";
		EXPECT_LT(yZ / n, allowed) << path << ": +Y to +Z";
		EXPECT_LT(yX / n, allowed) << path << ": +Y to +X";
	}
}

// The generated images: painted twice (by the build and here) they are byte for byte the same,
// and each has the size, channels and layout that the code loading it relies on.
#include <ImageSet.h>

#include <gtest/gtest.h>
#include <stb_image.h> // Required for: stbi_load, stbi_image_free

#include <cmath>      // Required for: std::fabs
#include <cstdio>     // Required for: std::FILE
#include <cstdlib>    // Required for: mkdtemp
#include <fstream>    // Required for: std::ifstream
#include <iterator>   // Required for: std::istreambuf_iterator
#include <memory>     // Required for: std::unique_ptr
#include <string>     // Required for: std::string
#include <vector>     // Required for: std::vector

namespace
{
	std::string readBytes(const std::string& path)
	{
		std::ifstream stream(path, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
	}

	// A decoded image as the program decodes it: RGBA, rows top first.
	struct Picture
	{
		int width = 0;
		int height = 0;
		int channels = 0; // as stored in the file
		std::vector<unsigned char> rgba;

		const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
	};

	Picture load(const std::string& path)
	{
		Picture picture;
		unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &picture.channels, 4);
		if (pixels)
		{
			picture.rgba.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 4);
			stbi_image_free(pixels);
		}
		return picture;
	}

	class ImageSet : public ::testing::Test
	{
	protected:
		static void SetUpTestSuite()
		{
			char pattern[] = "/tmp/halvorine-images-XXXXXX";
			ASSERT_NE(mkdtemp(pattern), nullptr);
			directory = pattern;
			written = writeImageSet(directory, { HALVORINE_NAME_FONT, HALVORINE_CAPTION_FONT });
		}

		static void TearDownTestSuite()
		{
			for (const std::string& name : written)
				std::remove((directory + "/" + name).c_str());
			std::remove(directory.c_str());
		}

		static Picture picture(const std::string& name) { return load(directory + "/" + name); }

		static std::string directory;
		static std::vector<std::string> written;
	};

	std::string ImageSet::directory;
	std::vector<std::string> ImageSet::written;

	const char* const creditNames[] = { "corvale", "tamsk", "wenlo", "gathra", "pirrow", "g", "o", "end" };
}

TEST_F(ImageSet, WritesEveryImageTheProgramReads)
{
	const std::vector<std::string> expected = { "corvale.png", "tamsk.png", "wenlo.png", "gathra.png", "pirrow.png",
		"g.png", "o.png", "end.png", "bokehfuckyou.jpg", "skyboxlol.jpg", "blurry.jpg", "colonskybox.jpg", "rock.png",
		"rockn.png" };
	for (const std::string& name : expected)
		EXPECT_FALSE(picture(name).rgba.empty()) << name << " is missing or does not decode";
}

TEST_F(ImageSet, SecondRunGivesTheSameBytesAsTheBuild)
{
	for (const std::string& name : written)
	{
		const std::string built = readBytes(std::string(HALVORINE_DATA_DIR) + "/" + name);
		const std::string again = readBytes(directory + "/" + name);
		EXPECT_FALSE(again.empty()) << name;
		EXPECT_TRUE(built == again) << name << " differs from the build's copy in " << HALVORINE_DATA_DIR;
	}
}

TEST_F(ImageSet, CreditsAreTransparentSixteenByNinePicturesWithCentredType)
{
	for (const char* name : creditNames)
	{
		const Picture credit = picture(std::string(name) + ".png");
		ASSERT_EQ(credit.channels, 4) << name << " needs an alpha channel";
		EXPECT_EQ(credit.width * 9, credit.height * 16) << name << " is drawn on a 16:9 quad";

		const unsigned char* transparent = credit.at(0, 0);
		// Nothing may touch the border, or the quad's edge would show on screen.
		int borderAlpha = 0;
		for (int x = 0; x < credit.width; ++x)
			borderAlpha += credit.at(x, 0)[3] + credit.at(x, credit.height - 1)[3];
		for (int y = 0; y < credit.height; ++y)
			borderAlpha += credit.at(0, y)[3] + credit.at(credit.width - 1, y)[3];
		EXPECT_EQ(borderAlpha, 0) << name;

		// Solid letters in the middle band; their weighted centre near the picture's centre.
		double weight = 0.0, centreX = 0.0, centreY = 0.0;
		int solid = 0, greyLetters = 0, strayColour = 0;
		for (int y = 0; y < credit.height; ++y)
		{
			for (int x = 0; x < credit.width; ++x)
			{
				const unsigned char* p = credit.at(x, y);
				solid += p[3] == 255;
				weight += p[3];
				centreX += static_cast<double>(p[3]) * x;
				centreY += static_cast<double>(p[3]) * y;
				// Straight alpha: solid letters are white, and invisible texels carry one colour,
				// that of the faintest visible ones, so filtering blends in nothing else.
				greyLetters += p[3] == 255 && p[0] + p[1] + p[2] < 700;
				strayColour += p[3] == 0 && (p[0] != transparent[0] || p[1] != transparent[1] || p[2] != transparent[2]);
			}
		}
		EXPECT_EQ(greyLetters, 0) << name;
		EXPECT_EQ(strayColour, 0) << name << " has invisible texels of differing colours";
		ASSERT_GT(solid, 500) << name << " shows no solid letters";
		centreX /= weight * credit.width;
		centreY /= weight * credit.height;
		EXPECT_NEAR(centreY, 0.5, 0.08) << name;
		if (std::string(name) != "g" && std::string(name) != "o")
		{
			EXPECT_NEAR(centreX, 0.5, 0.05) << name;
		}
	}
}

TEST_F(ImageSet, GAndOSpellOneCentredWordWhenBothSitAtRest)
{
	const Picture g = picture("g.png");
	const Picture o = picture("o.png");
	ASSERT_EQ(g.width, o.width);
	ASSERT_EQ(g.height, o.height);
	int gRight = 0, oLeft = o.width, gLeft = g.width, oRight = 0;
	for (int y = 0; y < g.height; ++y)
	{
		for (int x = 0; x < g.width; ++x)
		{
			if (g.at(x, y)[3] == 255)
			{
				gLeft = std::min(gLeft, x);
				gRight = std::max(gRight, x);
			}
			if (o.at(x, y)[3] == 255)
			{
				oLeft = std::min(oLeft, x);
				oRight = std::max(oRight, x);
			}
		}
	}
	EXPECT_LT(gRight, oLeft) << "the g stands left of the o without touching it";
	EXPECT_NEAR((gLeft + oRight) * 0.5, g.width * 0.5, g.width * 0.02) << "the word is centred";
}

namespace
{
	struct Direction
	{
		double v[3];
	};

	// A cube image cut into faces exactly as the program's cube textures cut it: faces of
	// width / 3 by height / 4 in the order +X, -X, +Y, -Y, +Z, -Z; -Z turned by 180 degrees.
	struct CubeFaces
	{
		int size = 0;
		std::vector<std::vector<unsigned char>> faces;

		explicit CubeFaces(const Picture& cross) : size(cross.width / 3), faces(6)
		{
			const int blocks[6][2] = { { 2, 1 }, { 0, 1 }, { 1, 0 }, { 1, 2 }, { 1, 1 }, { 1, 3 } };
			for (int face = 0; face < 6; ++face)
			{
				faces[face].resize(static_cast<size_t>(size) * size * 4);
				for (int r = 0; r < size; ++r)
				{
					for (int c = 0; c < size; ++c)
					{
						const unsigned char* source = face == 5 ? cross.at(2 * size - 1 - c, 4 * size - 1 - r)
							: cross.at(blocks[face][0] * size + c, blocks[face][1] * size + r);
						std::copy(source, source + 4, &faces[face][(static_cast<size_t>(r) * size + c) * 4]);
					}
				}
			}
		}

		// OpenGL's cube-map lookup (major axis, then s and t on that face), nearest texel.
		const unsigned char* sample(const Direction& d) const
		{
			const double ax = std::fabs(d.v[0]), ay = std::fabs(d.v[1]), az = std::fabs(d.v[2]);
			int face = 0;
			double sc = 0.0, tc = 0.0, ma = 0.0;
			if (ax >= ay && ax >= az)
			{
				face = d.v[0] > 0 ? 0 : 1;
				sc = d.v[0] > 0 ? -d.v[2] : d.v[2];
				tc = -d.v[1];
				ma = ax;
			}
			else if (ay >= az)
			{
				face = d.v[1] > 0 ? 2 : 3;
				sc = d.v[0];
				tc = d.v[1] > 0 ? d.v[2] : -d.v[2];
				ma = ay;
			}
			else
			{
				face = d.v[2] > 0 ? 4 : 5;
				sc = d.v[2] > 0 ? d.v[0] : -d.v[0];
				tc = -d.v[1];
				ma = az;
			}
			auto texel = [this](double c) {
				const int t = static_cast<int>((c + 1.0) * 0.5 * size);
				return t < 0 ? 0 : (t >= size ? size - 1 : t);
			};
			return &faces[face][(static_cast<size_t>(texel(tc / ma)) * size + texel(sc / ma)) * 4];
		}
	};

	// The column scene's sky box: each face of the cube as the quad it draws, corner positions
	// with the 2D texture coordinates it gives them.
	struct SkyQuad
	{
		double position[4][3];
		double st[4][2];
	};

	const SkyQuad columnSkyQuads[6] = {
		{ { { -1, -1, -1 }, { 1, -1, -1 }, { 1, 1, -1 }, { -1, 1, -1 } }, { { 0, 0.3334 }, { 0.25, 0.3334 }, { 0.25, 0.6666 }, { 0, 0.6666 } } },
		{ { { 1, -1, -1 }, { 1, -1, 1 }, { 1, 1, 1 }, { 1, 1, -1 } }, { { 0.25, 0.3334 }, { 0.5, 0.3334 }, { 0.5, 0.6666 }, { 0.25, 0.6666 } } },
		{ { { 1, -1, 1 }, { -1, -1, 1 }, { -1, 1, 1 }, { 1, 1, 1 } }, { { 0.5, 0.3334 }, { 0.75, 0.3334 }, { 0.75, 0.6666 }, { 0.5, 0.6666 } } },
		{ { { -1, -1, 1 }, { -1, -1, -1 }, { -1, 1, -1 }, { -1, 1, 1 } }, { { 0.75, 0.3334 }, { 1, 0.3334 }, { 1, 0.6666 }, { 0.75, 0.6666 } } },
		{ { { -1, 1, 1 }, { 1, 1, 1 }, { 1, 1, -1 }, { -1, 1, -1 } }, { { 0.25, 0.6666 }, { 0.5, 0.6666 }, { 0.5, 1 }, { 0.25, 1 } } },
		{ { { 1, -1, -1 }, { -1, -1, -1 }, { -1, -1, 1 }, { 1, -1, 1 } }, { { 0.25, 0.3334 }, { 0.25, 0 }, { 0.5, 0 }, { 0.5, 0.3334 } } },
	};

	// The texel a point on the unit cube's surface shows through the quad of its face.
	const unsigned char* sampleQuads(const Picture& picture, const SkyQuad* quads, const Direction& d)
	{
		int axis = 0;
		for (int a = 1; a < 3; ++a)
			if (std::fabs(d.v[a]) > std::fabs(d.v[axis]))
				axis = a;
		double p[3];
		for (int a = 0; a < 3; ++a)
			p[a] = d.v[a] / std::fabs(d.v[axis]);
		for (int q = 0; q < 6; ++q)
		{
			const SkyQuad& quad = quads[q];
			if (quad.position[0][axis] != p[axis] || quad.position[2][axis] != p[axis])
				continue;
			// Affine coordinates along the quad's first and last edge.
			double a = 0.0, b = 0.0, lengthA = 0.0, lengthB = 0.0;
			for (int k = 0; k < 3; ++k)
			{
				const double edgeA = quad.position[1][k] - quad.position[0][k];
				const double edgeB = quad.position[3][k] - quad.position[0][k];
				a += (p[k] - quad.position[0][k]) * edgeA;
				b += (p[k] - quad.position[0][k]) * edgeB;
				lengthA += edgeA * edgeA;
				lengthB += edgeB * edgeB;
			}
			a /= lengthA;
			b /= lengthB;
			const double s = quad.st[0][0] + a * (quad.st[1][0] - quad.st[0][0]) + b * (quad.st[3][0] - quad.st[0][0]);
			const double t = quad.st[0][1] + a * (quad.st[1][1] - quad.st[0][1]) + b * (quad.st[3][1] - quad.st[0][1]);
			const int x = std::min(picture.width - 1, std::max(0, static_cast<int>(s * picture.width)));
			const int y = std::min(picture.height - 1, std::max(0, static_cast<int>(t * picture.height)));
			return picture.at(x, y);
		}
		ADD_FAILURE() << "no quad for the point";
		return picture.at(0, 0);
	}

	double difference(const unsigned char* a, const unsigned char* b)
	{
		double sum = 0.0;
		for (int k = 0; k < 3; ++k)
			sum += std::fabs(static_cast<double>(a[k]) - b[k]);
		return sum / 3.0;
	}

	// How much more the picture changes across each edge of the cube than it changes over the
	// same distance inside a face (mean over the edge, 0 to 255; the worst edge). Each side is
	// sampled `inset` (in face units of -1 to 1) inside its own face; a seam shows up as a
	// jump that the sky's own gradients do not explain.
	template <typename Sampler>
	double worstSeam(const Sampler& sample, double inset)
	{
		double worst = 0.0;
		for (int a = 0; a < 3; ++a)
		{
			for (int b = a + 1; b < 3; ++b)
			{
				const int c = 3 - a - b;
				for (int signA = -1; signA <= 1; signA += 2)
				{
					for (int signB = -1; signB <= 1; signB += 2)
					{
						double across = 0.0, within = 0.0;
						const int steps = 200;
						for (int i = 0; i < steps; ++i)
						{
							const double along = -0.95 + 1.9 * i / (steps - 1);
							Direction onA{}, deeperInA{}, onB{};
							onA.v[a] = signA;
							onA.v[b] = signB * (1.0 - inset);
							onA.v[c] = along;
							deeperInA = onA;
							deeperInA.v[b] = signB * (1.0 - 3.0 * inset);
							onB.v[a] = signA * (1.0 - inset);
							onB.v[b] = signB;
							onB.v[c] = along;
							across += difference(sample(onA), sample(onB));
							within += difference(sample(onA), sample(deeperInA));
						}
						worst = std::max(worst, (across - within) / steps);
					}
				}
			}
		}
		return worst;
	}

	double brightness(const unsigned char* p) { return p[0] + p[1] + p[2]; }
}

TEST_F(ImageSet, CubeSkiesHaveWholeFacesInAThreeByFourCross)
{
	for (const char* name : { "skyboxlol.jpg", "blurry.jpg" })
	{
		const Picture cross = picture(name);
		EXPECT_EQ(cross.width % 3, 0) << name;
		EXPECT_EQ(cross.width / 3 * 4, cross.height) << name << " needs square faces";
		// Faces on whole 16-pixel blocks keep the JPEG's blocks from straddling two faces.
		EXPECT_EQ((cross.width / 3) % 16, 0) << name;
	}
	const Picture columnSky = picture("colonskybox.jpg");
	EXPECT_EQ(columnSky.width / 4 * 3, columnSky.height);
	EXPECT_EQ((columnSky.width / 4) % 16, 0);
}

TEST_F(ImageSet, CubeSkiesJoinAcrossEveryEdgeAsTheCubeTextureCutsThem)
{
	for (const char* name : { "skyboxlol.jpg", "blurry.jpg" })
	{
		const CubeFaces cube(picture(name));
		const double inset = 2.0 / cube.size;
		EXPECT_LT(worstSeam([&](const Direction& d) { return cube.sample(d); }, inset), 1.0) << name;
	}
}

TEST_F(ImageSet, CubeSkiesAreUprightWithTheHorizonAtTheEquator)
{
	for (const char* name : { "skyboxlol.jpg", "blurry.jpg" })
	{
		const CubeFaces cube(picture(name));
		double horizon = 0.0;
		for (const Direction& d : { Direction{ { 1, 0.01, 0 } }, Direction{ { -1, 0.01, 0 } }, Direction{ { 0, 0.01, 1 } }, Direction{ { 0, 0.01, -1 } } })
			horizon += brightness(cube.sample(d)) / 4.0;
		EXPECT_GT(horizon, brightness(cube.sample(Direction{ { 0, 1, 0 } }))) << name << ": the horizon glows more than the zenith";
		EXPECT_GT(horizon, brightness(cube.sample(Direction{ { 0, -1, 0 } }))) << name << ": the horizon glows more than the ground";
	}
}

TEST_F(ImageSet, ColumnSkyJoinsAcrossEveryEdgeOfItsBoxAndIsUpright)
{
	const Picture sky = picture("colonskybox.jpg");
	auto sample = [&](const Direction& d) { return sampleQuads(sky, columnSkyQuads, d); };
	EXPECT_LT(worstSeam(sample, 8.0 / sky.height), 1.0);
	EXPECT_GT(brightness(sample(Direction{ { 0, 1, 0 } })), brightness(sample(Direction{ { 0, -1, 0 } })))
		<< "the light above the column is brighter than the ground below";
	EXPECT_GT(brightness(sample(Direction{ { 1, 0.01, 0 } })), brightness(sample(Direction{ { 1, 0.6, 0 } })))
		<< "the horizon is brighter than the sky above it";
}

TEST_F(ImageSet, StoneTexturesMatchInSizeAndTheNormalMapPointsOutwards)
{
	const Picture colour = picture("rock.png");
	const Picture normal = picture("rockn.png");
	EXPECT_EQ(colour.width, normal.width);
	EXPECT_EQ(colour.height, normal.height);
	EXPECT_EQ(normal.channels, 4) << "the normal map carries the height in alpha";
	double meanX = 0.0, meanY = 0.0, meanZ = 0.0;
	int below = 0;
	for (int y = 0; y < normal.height; ++y)
	{
		for (int x = 0; x < normal.width; ++x)
		{
			const unsigned char* n = normal.at(x, y);
			below += n[2] <= 128;
			meanX += n[0];
			meanY += n[1];
			meanZ += n[2];
		}
	}
	EXPECT_EQ(below, 0) << "normals leaning below the surface";
	const double count = static_cast<double>(normal.width) * normal.height;
	// A repeating surface has no overall slope: the normals average to straight out.
	EXPECT_NEAR(meanX / count, 127.5, 3.0);
	EXPECT_NEAR(meanY / count, 127.5, 3.0);
	EXPECT_GT(meanZ / count, 230.0);

	const Picture bokeh = picture("bokehfuckyou.jpg");
	EXPECT_EQ(bokeh.width, bokeh.height);
}

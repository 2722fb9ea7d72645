// The slab-and-cloud scene draws both layers and leaves its own state; its fade decides whether
// the slabs draw at all, its flicker how many points, and the slab window keeps its ends. What
// was drawn is counted with a primitives-generated query. What it shares with every scene is
// tested over the show's table (ShowScenesTest.cpp).
#include "SceneTest.h"

#include "Architecture.h"
#include "ArchitectureLayouts.h"
#include "RenderTarget.h"
#include "ScenePictures.h"
#include "Settings.h"

#include <SDL.h> // Required for: SDL_GL_GetProcAddress

#include <cstdint> // Required for: uint8_t
#include <memory>  // Required for: std::unique_ptr
#include <vector>  // Required for: std::vector

namespace
{
	// The scene's four tracks, held for one bar each (row 32 * index onwards).
	struct TrackSetting
	{
		float fade, motion, balls, flicker;
	};

	enum Setting
	{
		everything,
		pointsOnly,
		noPoints,
		flickerZero,
		negativeFade,
		settingCount
	};

	const TrackSetting settings[settingCount] = {
		{ 1.0f, 0.5f, 1.0f, 1.0f },
		{ 0.0f, 0.5f, 1.0f, 1.0f },
		{ 0.0f, 0.5f, 1.0f, -1.0f },
		{ 0.0f, 0.5f, 1.0f, 0.0f },
		{ -0.5f, 0.5f, 1.0f, 0.3f },
	};

	// Counts the primitives the pipeline is handed between begin() and count(): points one
	// each, every slab a fixed number.
	class PrimitiveCounter
	{
	public:
		PrimitiveCounter()
		{
			genQueries = (PFNGLGENQUERIESPROC)SDL_GL_GetProcAddress("glGenQueries");
			deleteQueries = (PFNGLDELETEQUERIESPROC)SDL_GL_GetProcAddress("glDeleteQueries");
			beginQuery = (PFNGLBEGINQUERYPROC)SDL_GL_GetProcAddress("glBeginQuery");
			endQuery = (PFNGLENDQUERYPROC)SDL_GL_GetProcAddress("glEndQuery");
			getResult = (PFNGLGETQUERYOBJECTUIVPROC)SDL_GL_GetProcAddress("glGetQueryObjectuiv");
			genQueries(1, &query);
		}

		~PrimitiveCounter() { deleteQueries(1, &query); }

		void begin() { beginQuery(GL_PRIMITIVES_GENERATED, query); }

		GLuint count()
		{
			endQuery(GL_PRIMITIVES_GENERATED);
			GLuint primitives = 0;
			getResult(query, GL_QUERY_RESULT, &primitives);
			return primitives;
		}

	private:
		PFNGLGENQUERIESPROC genQueries;
		PFNGLDELETEQUERIESPROC deleteQueries;
		PFNGLBEGINQUERYPROC beginQuery;
		PFNGLENDQUERYPROC endQuery;
		PFNGLGETQUERYOBJECTUIVPROC getResult;
		GLuint query = 0;
	};

	GLint integerState(GLenum name)
	{
		GLint value = -1;
		glGetIntegerv(name, &value);
		return value;
	}

	GLint textureOnUnit(GLenum unit)
	{
		glActiveTexture(unit);
		const GLint texture = integerState(GL_TEXTURE_BINDING_2D);
		glActiveTexture(GL_TEXTURE0);
		return texture;
	}

	// The camera 20 units back from the cloud, looking down the tunnel.
	Tarn::Matrix4 testView()
	{
		Tarn::Matrix4 view(1.0f);
		view[14] = -20.0f;
		return view;
	}

	int pointsAboveZeroThreshold()
	{
		std::unique_ptr<float[]> thresholds(new float[ArchitectureLayouts::pointCount]);
		ArchitectureLayouts::makeThresholds(thresholds.get());
		int count = 0;
		for (int n = 0; n < ArchitectureLayouts::pointCount; n++)
			count += thresholds[n] > 0.0f;
		return count;
	}
}

// The scene's shaders and images come from the build's Data/, its tracks from this test's own
// folder.
class ArchitectureTest : public SceneTest
{
protected:
	ArchitectureTest() : SceneTest(&Architecture::declaration, Architecture::release) {}

	void SetUp() override
	{
		SceneTest::SetUp();
		const char* names[4] = { "Arch Slab Fade", "Arch Ball Motion", "Arch Balls", "Arch Balls Flicker" };
		for (int track = 0; track < 4; track++)
		{
			std::vector<TrackKeyBytes> keys;
			for (int s = 0; s < settingCount; s++)
			{
				const float values[4] = { settings[s].fade, settings[s].motion, settings[s].balls, settings[s].flicker };
				keys.push_back({ 32 * s, values[track], 0 });
			}
			writeTrack(names[track], keys);
		}
		setOutputSizeOverride(width, height);
		target.reset(new RenderTarget(width, height, true, 1, GL_RGBA));
		counter.reset(new PrimitiveCounter());
		glBindFramebuffer(GL_FRAMEBUFFER, target->id);
		glViewport(0, 0, width, height);
	}

	void TearDown() override
	{
		glBindFramebuffer(GL_FRAMEBUFFER, 0);
		counter.reset();
		target.reset();
		SceneTest::TearDown();
	}

	// Renders one frame with the tracks of the setting; returns the primitives drawn.
	GLuint renderWith(Setting setting, double time = 50.0)
	{
		setRow(32 * setting + 16);
		counter->begin();
		Architecture::get().render(target->id, time, testView(), Tarn::Matrix4(1.0f));
		return counter->count();
	}

	static constexpr int width = 64, height = 36;
	std::unique_ptr<RenderTarget> target;
	std::unique_ptr<PrimitiveCounter> counter; // made once the context exists
};

TEST_F(ArchitectureTest, RenderDrawsBothLayersAndLeavesItsOwnState)
{
	const GLuint drawn = renderWith(everything);
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	EXPECT_GT(drawn, GLuint(ArchitectureLayouts::pointCount)) << "no slab was drawn";

	const GLint rock = textureOnUnit(GL_TEXTURE0), rockNormal = textureOnUnit(GL_TEXTURE1);
	EXPECT_NE(rock, 0) << "the rock colour is not bound on unit 0";
	EXPECT_NE(rockNormal, 0) << "the rock normal map is not bound on unit 1";
	EXPECT_NE(rock, rockNormal);
	EXPECT_EQ(integerState(GL_BLEND_SRC_RGB), GL_ONE);
	EXPECT_EQ(integerState(GL_BLEND_DST_RGB), GL_ONE);
	float pointSize = 0.0f;
	glGetFloatv(GL_POINT_SIZE, &pointSize);
	EXPECT_EQ(pointSize, 8.0f);

	std::vector<uint8_t> pixels(width * height * 4);
	glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
	int lit = 0;
	for (size_t i = 0; i < pixels.size(); i += 4)
		lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 30;
	EXPECT_GT(lit, width * height / 20) << "the picture is dark";
}

// A fade of 0 or below draws no slab and leaves the depth test, the textures and the program as
// they were, yet the points still draw.
TEST_F(ArchitectureTest, FadedOutSlabsTouchNothing)
{
	Architecture::get(); // loading the images binds on unit 0: done before the sentinels
	GLuint sentinels[2];
	glGenTextures(2, sentinels);
	for (Setting setting : { pointsOnly, negativeFade })
	{
		glActiveTexture(GL_TEXTURE1);
		glBindTexture(GL_TEXTURE_2D, sentinels[1]);
		glActiveTexture(GL_TEXTURE0);
		glBindTexture(GL_TEXTURE_2D, sentinels[0]);
		glEnable(GL_DEPTH_TEST);

		EXPECT_EQ(renderWith(setting), GLuint(ArchitectureLayouts::pointCount)) << "setting " << setting;
		EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
		EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "setting " << setting << " turned the depth test";
		EXPECT_EQ(textureOnUnit(GL_TEXTURE0), GLint(sentinels[0])) << "setting " << setting;
		EXPECT_EQ(textureOnUnit(GL_TEXTURE1), GLint(sentinels[1])) << "setting " << setting;
		EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0) << "setting " << setting;
		glDisable(GL_DEPTH_TEST);
	}
	glDeleteTextures(2, sentinels);
}

// Flicker above 0 shows every point, 0 every point whose threshold is above 0, -1 none; blending,
// its function and the point size are set even when no point is drawn.
TEST_F(ArchitectureTest, FlickerDecidesHowManyPointsShow)
{
	const struct
	{
		Setting setting;
		GLuint points;
	} cases[] = {
		{ pointsOnly, GLuint(ArchitectureLayouts::pointCount) },
		{ flickerZero, GLuint(pointsAboveZeroThreshold()) },
		{ noPoints, 0 },
	};
	for (const auto& c : cases)
	{
		glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
		glPointSize(1.0f);
		glEnable(GL_BLEND);
		EXPECT_EQ(renderWith(c.setting), c.points) << "setting " << c.setting;
		EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
		EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "setting " << c.setting;
		EXPECT_EQ(integerState(GL_BLEND_SRC_RGB), GL_ONE) << "setting " << c.setting;
		EXPECT_EQ(integerState(GL_BLEND_DST_RGB), GL_ONE) << "setting " << c.setting;
		float pointSize = 0.0f;
		glGetFloatv(GL_POINT_SIZE, &pointSize);
		EXPECT_EQ(pointSize, 8.0f) << "setting " << c.setting;
	}
}

// A slab whose position plus the time lands exactly on the window's end is drawn.
TEST_F(ArchitectureTest, SlabWindowKeepsItsEnds)
{
	const struct
	{
		float z;
		double time;
		bool drawn;
	} cases[] = {
		{ 100.0f, 0.0, true },
		{ 100.001f, 0.0, false },
		{ -140.0f, 40.0, true },
		{ -100.001f, 0.0, false },
		{ 0.0f, 0.0, true },
	};
	for (const auto& c : cases)
	{
		const ArchitectureLayouts::Slab slab = { 1.0f, -2.0f, c.z, 3.0f, -4.0f, 5.0f, 30.0f, 1.5f };
		counter->begin();
		Tunnel::drawSlab(slab, c.time);
		EXPECT_EQ(counter->count() > 0, c.drawn) << "z " << c.z << " at time " << c.time;
	}
	EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
	EXPECT_TRUE(isIdentity(GL_MODELVIEW_MATRIX)) << "a slab left its transform behind";
}

// With the slabs faded out and no point shown, the scene is the frame's black, not a tinted night.
TEST_F(ArchitectureTest, NothingShownLeavesTheFramesBlack)
{
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	renderWith(noPoints);
	std::vector<uint8_t> pixels(width * height * 4);
	glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
	long sums[4] = {}; // red, green, blue, alpha
	for (size_t i = 0; i < pixels.size(); i++)
		sums[i % 4] += pixels[i];
	EXPECT_LT((sums[0] + sums[1] + sums[2]) / (width * height * 3.0), 2.0) << "the picture is not black";
	EXPECT_LE(sums[2], sums[0]) << "the picture is tinted blue";
}

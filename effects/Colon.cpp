// Colon: inside a tinted sky box, a column of 1500 thin ring segments in 100 layers that turn
// and spread apart, a tube of 100 bands lighting up from the bottom and 3000 sprites drifting in
// a 400 x 200 x 400 box, two thirds of which gather onto a ball. Everything but the sky adds
// light. The sky, rings and tube go out in immediate mode; the sprites go out as one vertex array
// (see drawFloaters).
#include "Colon.h"

#include "Extensions.h"
#include "ShaderProgram.h"
#include "Sync.h"
#include "Texture.h"

#include <cmath> // Required for: cos(), sin()

namespace
{
	// In the order a frame reads them: the sky's tint, the rings' switch-on and spread, the
	// tube's light, the floaters' colour and gathering.
	constexpr const char* skyboxColorTrack = "Colon Skybox Color";
	constexpr const char* skyboxIntensityTrack = "Colon Skybox Intensity";
	constexpr const char* fadeTrack = "Colon Fade";
	constexpr const char* separationTrack = "Colon Separation";
	constexpr const char* cylFadeTrack = "Colon Cyl Fade";
	constexpr const char* cylTimeTrack = "Colon Cyl Time";
	constexpr const char* ballRedTrack = "Colon Ball Red";
	constexpr const char* ballFadeTrack = "Colon Ball Fade";
	constexpr const char* floaterTransformTrack = "Colon Floater Transform";

	struct SkyCorner
	{
		float x, y, z;
		float s, t;
	};

	// The box of half size 100 around the column. The image is a horizontal cross: the four sides
	// across the middle row, the top above the second block, the bottom below it; 0.3334 and
	// 0.6666 keep the side faces a hair inside their blocks.
	const SkyCorner skyCorners[24] = {
		{ -100, -100, -100, 0.0f, 0.3334f }, { 100, -100, -100, 0.25f, 0.3334f }, { 100, 100, -100, 0.25f, 0.6666f }, { -100, 100, -100, 0.0f, 0.6666f },
		{ 100, -100, -100, 0.25f, 0.3334f }, { 100, -100, 100, 0.5f, 0.3334f }, { 100, 100, 100, 0.5f, 0.6666f }, { 100, 100, -100, 0.25f, 0.6666f },
		{ 100, -100, 100, 0.5f, 0.3334f }, { -100, -100, 100, 0.75f, 0.3334f }, { -100, 100, 100, 0.75f, 0.6666f }, { 100, 100, 100, 0.5f, 0.6666f },
		{ -100, -100, 100, 0.75f, 0.3334f }, { -100, -100, -100, 1.0f, 0.3334f }, { -100, 100, -100, 1.0f, 0.6666f }, { -100, 100, 100, 0.75f, 0.6666f },
		{ -100, 100, 100, 0.25f, 0.6666f }, { 100, 100, 100, 0.5f, 0.6666f }, { 100, 100, -100, 0.5f, 1.0f }, { -100, 100, -100, 0.25f, 1.0f },
		{ 100, -100, -100, 0.25f, 0.3334f }, { -100, -100, -100, 0.25f, 0.0f }, { -100, -100, 100, 0.5f, 0.0f }, { 100, -100, 100, 0.5f, 0.3334f },
	};

	constexpr int ringSteps = 10;
	constexpr int spokeSteps = 20;
	constexpr int tubeSteps = 24;
	constexpr float tubeStep = 0.25416666f; // 24 steps cover 6.1 radians: the tube keeps a slit open
	constexpr float tubeRadius = 4.0f;
	constexpr float bandHeight = 3.0f;

	// Cosines and sines of angles that advance by repeated single-precision addition, each taken
	// in double precision and rounded to float: one more than the steps (the tube's 25, or the
	// spokes' 22, which reach a half step past their last start).
	constexpr int mostAngles = tubeSteps + 1 > spokeSteps + 2 ? tubeSteps + 1 : spokeSteps + 2;

	struct Angles
	{
		float cosines[mostAngles];
		float sines[mostAngles];

		void fill(float start, float step, int count)
		{
			float a = start;
			for (int k = 0; k < count; k++)
			{
				cosines[k] = (float)std::cos((double)a);
				sines[k] = (float)std::sin((double)a);
				a += step;
			}
		}

		void vertex(int k, float radius, float height) const
		{
			glVertex3f(radius * cosines[k], height, radius * sines[k]);
		}
	};

	void drawRing(const ColonLayouts::Ring& ring, float phi, float height, Angles& angles)
	{
		const float step = (ring.endAngle - ring.startAngle) / (float)ringSteps;
		const float inner = ring.innerRadius, outer = ring.outerRadius;
		switch (ring.style)
		{
		case 0: // a filled annular sector
			angles.fill(phi, step, ringSteps + 1);
			glBegin(GL_QUAD_STRIP);
			for (int k = 0; k <= ringSteps; k++)
			{
				angles.vertex(k, inner, height);
				angles.vertex(k, outer, height);
			}
			glEnd();
			break;
		case 1: // its outline: radial ends and both arcs
			angles.fill(phi, step, ringSteps + 1);
			glBegin(GL_LINES);
			for (int k = 0; k <= ringSteps; k++)
			{
				if (k == 0 || k == ringSteps)
				{
					angles.vertex(k, inner, height);
					angles.vertex(k, outer, height);
				}
				if (k < ringSteps)
				{
					angles.vertex(k, inner, height);
					angles.vertex(k + 1, inner, height);
					angles.vertex(k, outer, height);
					angles.vertex(k + 1, outer, height);
				}
			}
			glEnd();
			break;
		case 2: // 21 spokes, each leaning half a step forward
			angles.fill(phi, step * 0.5f, spokeSteps + 2);
			glBegin(GL_LINES);
			for (int k = 0; k <= spokeSteps; k++)
			{
				angles.vertex(k, inner, height);
				angles.vertex(k + 1, outer, height);
			}
			glEnd();
			break;
		default: // -1 and -2 draw nothing
			break;
		}
	}
}

const Declaration Colon::declaration = { "Colon", { skyboxColorTrack, skyboxIntensityTrack, fadeTrack, separationTrack, cylFadeTrack,
	cylTimeTrack, ballRedTrack, ballFadeTrack, floaterTransformTrack } };

Colon::Colon()
	: layout(ColonLayouts::build()), spriteCorners(new SpriteCorner[ColonLayouts::floaterCount * 4])
{
}

Colon::~Colon()
{
	deleteObjects();
}

void Colon::createObjects()
{
	program.reset(new ShaderProgram("Data/Colon.vert", "Data/Colon.frag"));
	skyProgram.reset(new ShaderProgram("Data/ColonSky.vert", "Data/ColonSky.frag"));
	partsProgram.reset(new ShaderProgram("Data/ColonParts.vert", "Data/ColonParts.frag"));
	skyTexture.reset(new Texture("Data/colonskybox.jpg"));

	// The box reaches the image's outer edges (s = 1, t = 0 and t = 1); repeating would filter in
	// the far side of the picture there and draw a seam along the box's edges.
	glBindTexture(GL_TEXTURE_2D, skyTexture->id);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
	glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
	glBindTexture(GL_TEXTURE_2D, 0);
}

void Colon::deleteObjects()
{
	program.reset();
	skyProgram.reset();
	partsProgram.reset();
	skyTexture.reset();
}

void Colon::render(unsigned int /*targetFramebuffer*/, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection)
{
	const float T = (float)time;
	drawSky(view, projection);

	// Additive from here on: each colour adds itself, squared, to what is there.
	glBlendFunc(GL_SRC_COLOR, GL_ONE);
	glEnable(GL_BLEND);
	glLineWidth(0.5f);

	const Program& shading = program->get();
	glUseProgram(shading.id);
	shading.setUniform("ProjViewWorld", projection * view);
	drawRings(T);
	drawTube(T);
	drawFloaters(T, view, projection);

	glDisable(GL_BLEND);
	glUseProgram(0);
}

void Colon::drawSky(const Tarn::Matrix4& view, const Tarn::Matrix4& projection)
{
	const Program& sky = skyProgram->get();
	glUseProgram(sky.id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, skyTexture->id);
	sky.setUniform("Proj", projection);
	sky.setUniform("View", view);
	sky.setUniform("Tex", 0);

	// Truncated toward zero: 0 the cool colour, 1 the warm one, anything else (not-a-number
	// included) black. The range check keeps the conversion defined for every value.
	const float choice = Sync::getValue(skyboxColorTrack);
	const float intensity = Sync::getValue(skyboxIntensityTrack);
	const int colour = choice > -1.0f && choice < 2.0f ? (int)choice : -1;
	if (colour == 0)
		glColor3f(0.05f * intensity, 0.1f * intensity, 0.12f * intensity);
	else if (colour == 1)
		glColor3f(0.12f * intensity, 0.1f * intensity, 0.05f * intensity);
	else
		glColor3f(0.0f, 0.0f, 0.0f);

	glDepthMask(GL_FALSE);
	glBegin(GL_QUADS);
	for (const SkyCorner& corner : skyCorners)
	{
		glTexCoord2f(corner.s, corner.t);
		glVertex3f(corner.x, corner.y, corner.z);
	}
	glEnd();
	glDepthMask(GL_TRUE);
	glUseProgram(0);
}

void Colon::drawRings(float T)
{
	const float fade = Sync::getValue(fadeTrack);
	const float separation = Sync::getValue(separationTrack);
	Angles angles;
	for (const ColonLayouts::Ring& ring : layout.rings)
	{
		const float phi = layout.layerSpeeds[ring.layer] * T * 0.04f + ring.startAngle;
		const float height = layout.layerHeights[ring.layer] * separation;
		const float b = ColonLayouts::flickerIn(ring.delay + fade);
		glColor4f(ring.color[0] * b, ring.color[1] * b, ring.color[2] * b, ring.color[3] * b);
		drawRing(ring, phi, height, angles);
	}
}

void Colon::drawTube(float T)
{
	const float cylFade = Sync::getValue(cylFadeTrack);
	const float cylTime = Sync::getValue(cylTimeTrack);
	// Every band turns by the same angles: one table for the fill and the outline.
	Angles angles;
	angles.fill(T * 0.2f, tubeStep, tubeSteps + 1);

	for (const ColonLayouts::Band& band : layout.bands)
	{
		const float b = ColonLayouts::flickerIn(cylTime - band.delay) * cylFade;
		glColor3f(0.2f * b, 0.35f * b, 0.4f * b);
		glBegin(GL_QUAD_STRIP);
		for (int k = 0; k <= tubeSteps; k++)
		{
			angles.vertex(k, tubeRadius, band.y);
			angles.vertex(k, tubeRadius, band.y + bandHeight);
		}
		glEnd();
	}

	glBegin(GL_LINES);
	for (const ColonLayouts::Band& band : layout.bands)
	{
		const float b = ColonLayouts::flickerIn(cylTime - band.delay) * cylFade;
		glColor3f(0.3f * b, 0.4f * b, 0.5f * b);
		const float top = band.y + bandHeight;
		for (int k = 0; k <= tubeSteps; k++)
		{
			if (k == 0 || k == tubeSteps)
			{
				angles.vertex(k, tubeRadius, band.y);
				angles.vertex(k, tubeRadius, top);
			}
			if (k < tubeSteps)
			{
				angles.vertex(k, tubeRadius, band.y);
				angles.vertex(k + 1, tubeRadius, band.y);
				angles.vertex(k, tubeRadius, top);
				angles.vertex(k + 1, tubeRadius, top);
			}
		}
	}
	glEnd();
}

void Colon::drawFloaters(float T, const Tarn::Matrix4& view, const Tarn::Matrix4& projection)
{
	const Program& parts = partsProgram->get();
	glUseProgram(parts.id);
	parts.setUniform("Proj", projection);
	parts.setUniform("View", view);

	const float red = Sync::getValue(ballRedTrack);
	const float ballFade = Sync::getValue(ballFadeTrack);
	const float base[3] = { ballFade + red, 0.8f * ballFade, 0.6f * ballFade };
	const float w = Sync::getValue(floaterTransformTrack);
	const float T2 = T * 2.0f;

	// Each sprite is its centre four times; the vertex program spreads the corners apart. The
	// shown sprites go out as one array in one draw: in immediate mode the driver cuts the quads
	// into draws wherever its vertex buffer happens to fill, which depends on every vertex sent
	// since the program started, and on llvmpipe a cut there moves a pixel of the sprites by a
	// level, so the picture at a time would depend on the frames drawn before it.
	static const float corners[4][2] = { { 0.0f, 0.0f }, { 1.0f, 0.0f }, { 1.0f, 1.0f }, { 0.0f, 1.0f } };
	int shown = 0;
	for (int n = 0; n < ColonLayouts::floaterCount; n++)
	{
		Tarn::Vector3 p;
		const float b = ColonLayouts::placeFloater(layout.floaters[n], n, T2, w, p);
		if (b <= 0.0f)
			continue;
		for (const float* corner : corners)
		{
			SpriteCorner& vertex = spriteCorners[shown++];
			vertex.position[0] = p.x;
			vertex.position[1] = p.y;
			vertex.position[2] = p.z;
			vertex.colour[0] = base[0] * b;
			vertex.colour[1] = base[1] * b;
			vertex.colour[2] = base[2] * b;
			vertex.corner[0] = corner[0];
			vertex.corner[1] = corner[1];
		}
	}

	glBindBuffer(GL_ARRAY_BUFFER, 0); // the pointers below are client memory, not buffer offsets
	glClientActiveTexture(GL_TEXTURE0);
	glEnableClientState(GL_VERTEX_ARRAY);
	glEnableClientState(GL_COLOR_ARRAY);
	glEnableClientState(GL_TEXTURE_COORD_ARRAY);
	glVertexPointer(3, GL_FLOAT, sizeof(SpriteCorner), spriteCorners[0].position);
	glColorPointer(3, GL_FLOAT, sizeof(SpriteCorner), spriteCorners[0].colour);
	glTexCoordPointer(2, GL_FLOAT, sizeof(SpriteCorner), spriteCorners[0].corner);
	glDrawArrays(GL_QUADS, 0, shown);
	glDisableClientState(GL_TEXTURE_COORD_ARRAY);
	glDisableClientState(GL_COLOR_ARRAY);
	glDisableClientState(GL_VERTEX_ARRAY);
}

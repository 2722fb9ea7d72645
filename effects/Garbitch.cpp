// Garbitch: the slice corridor of the drop. 400 slices, laid out once from the generator seeded
// (1, 2), stream at the camera at 12 units a second; the nearest 50 are drawn far to near,
// additively, into an off-screen picture whose edges are found twice, each time with its own
// colour and strength, the second time into the frame.
#include "Garbitch.h"

#include "Extensions.h"
#include "NoiseTexture.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "ShaderProgram.h"
#include "Sync.h"

#include <tarn/Random.h>

#include <cmath> // Required for: std::sin, std::cos

namespace
{
	// In the order a frame reads them: the slices', then each edge pass's.
	constexpr const char* fadeoutTrack = "Garbitch Fadeout";
	constexpr const char* rotTrack = "Garbitch Rot";
	constexpr const char* sinMixTrack = "Garbitch Sin Mix";
	constexpr const char* scrollTrack = "Garbitch Scroll";
	constexpr const char* ringsTrack = "Garbitch Rings";
	constexpr const char* squaresTrack = "Garbitch Squares";
	constexpr const char* scaleTrack = "Garbitch Scale";
	constexpr const char* scaleTwoTrack = "Garbitch Scale 2";
	constexpr const char* offsetTrack = "Garbitch Offset";
	constexpr const char* spreadOneTrack = "Garbitch Spread 1";
	constexpr const char* strengthOneTrack = "Garbitch Strength 1";
	constexpr const char* blueOneTrack = "Garbitch Blue 1";
	constexpr const char* greenOneTrack = "Garbitch Green 1";
	constexpr const char* redOneTrack = "Garbitch Red 1";
	constexpr const char* spreadTwoTrack = "Garbitch Spread 2";
	constexpr const char* strengthTwoTrack = "Garbitch Strength 2";
	constexpr const char* blueTwoTrack = "Garbitch Blue 2";
	constexpr const char* greenTwoTrack = "Garbitch Green 2";
	constexpr const char* redTwoTrack = "Garbitch Red 2";
	constexpr const char* blendTrack = "Garbitch Blend";

	constexpr int ringQuads = 48;

	Tarn::Matrix4 translation(float x, float y)
	{
		Tarn::Matrix4 m(1.0f);
		m[12] = x;
		m[13] = y;
		return m;
	}

	Tarn::Matrix4 scale(float x, float y)
	{
		Tarn::Matrix4 m(1.0f);
		m[0] = x;
		m[5] = y;
		return m;
	}
}

const Declaration Garbitch::declaration = { "Garbitch",
	{ fadeoutTrack, rotTrack, sinMixTrack, scrollTrack, ringsTrack, squaresTrack, scaleTrack, scaleTwoTrack, offsetTrack,
		spreadOneTrack, strengthOneTrack, blueOneTrack, greenOneTrack, redOneTrack,
		spreadTwoTrack, strengthTwoTrack, blueTwoTrack, greenTwoTrack, redTwoTrack, blendTrack } };

void Garbitch::generateSlices(Tarn::List<Slice>& slices)
{
	// One generator state runs through three sweeps; within a pair the first draw goes to y.
	Tarn::RandomState random = { 1, 2 };
	const int first = slices.getCount();
	for (int i = 0; i < sliceCount; i++)
	{
		Slice slice = {};
		slice.distance = (float)i * 4.0f;
		slice.offsetY = (Tarn::nextRandom(random) * 2.0f - 1.0f) * 0.9f;
		slice.offsetX = (Tarn::nextRandom(random) * 2.0f - 1.0f) * 0.8f;
		slices.add(slice);
	}
	for (int i = 0; i < sliceCount; i++)
	{
		Slice& slice = slices[first + i];
		slice.fadeBias = Tarn::nextRandom(random);
		slice.roll = Tarn::nextRandom(random) * 360.0f - 180.0f;
	}
	for (int i = 0; i < sliceCount; i++)
	{
		Slice& slice = slices[first + i];
		slice.scrollY = Tarn::nextRandom(random) * 2.0f - 1.0f;
		slice.scrollX = Tarn::nextRandom(random) * 2.0f - 1.0f;
		slice.ringAngle = Tarn::nextRandom(random) * 6.283184f;
		slice.ringSpeed = Tarn::nextRandom(random) * 2.0f - 1.0f;
	}
}

bool Garbitch::isInView(float d)
{
	return d < 0.0f && d >= -visibleDepth;
}

float Garbitch::brightness(const Slice& slice, float d, double time, float fadeout, float sinMix)
{
	float level = slice.fadeBias + 1.0f - fadeout * 2.0f;
	level = level < 0.0f ? 0.0f : (level > 1.0f ? 1.0f : level);
	const float nearGlow = (1.0f - d / -visibleDepth) * 0.3f * level; // not "near": a macro of windows.h
	const float phase = (float)(time * 1.8) + slice.distance * 0.05f;
	const float pulse = (float)(std::sin((double)phase) * 0.5 + 0.5);
	return (pulse * nearGlow - nearGlow) * sinMix + nearGlow;
}

Garbitch::Garbitch()
{
	generateSlices(slices);
}

Garbitch::~Garbitch()
{
	deleteObjects();
}

void Garbitch::createObjects()
{
	const OutputSize size = getOutputSize();
	for (std::unique_ptr<RenderTarget>& target : targets)
		target.reset(new RenderTarget(size.width, size.height, false, 1, GL_RGBA16F));
	sliceProgram.reset(new ShaderProgram("Data/Garbitch.vert", "Data/Garbitch.frag"));
	edgeProgram.reset(new ShaderProgram("Data/GarbitchEdgeDetect.vert", "Data/GarbitchEdgeDetect.frag"));
}

void Garbitch::deleteObjects()
{
	for (std::unique_ptr<RenderTarget>& target : targets)
		target.reset();
	sliceProgram.reset();
	edgeProgram.reset();
}

void Garbitch::render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection)
{
	// Fetched before anything is bound: a first call generates the volume, which leaves
	// framebuffer 0 bound and program 0 in use.
	const unsigned int noise = NoiseTexture::get().id;
	const OutputSize size = getOutputSize();

	glBindFramebuffer(GL_FRAMEBUFFER, targets[0]->id);
	glViewport(0, 0, size.width, size.height);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	drawSlices(noise, time, view, projection);

	// First edges: the slices' outlines alone.
	glBindFramebuffer(GL_FRAMEBUFFER, targets[1]->id);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	const Program& edges = beginEdgePass(*targets[0], size);
	edges.setUniform("Spread", Sync::getValue(spreadOneTrack));
	edges.setUniform("Strength", Sync::getValue(strengthOneTrack));
	{
		const float blue = Sync::getValue(blueOneTrack);
		const float green = Sync::getValue(greenOneTrack);
		const float red = Sync::getValue(redOneTrack);
		edges.setUniform("Color", red, green, blue);
	}
	edges.setUniform("BackgroundMix", 0.0f);
	endEdgePass();

	// Second edges, the outlines of the outlines, replace the frame; "Garbitch Blend" mixes the
	// first ones back in under them.
	glBindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer);
	glViewport(0, 0, size.width, size.height);
	beginEdgePass(*targets[1], size);
	edges.setUniform("Spread", Sync::getValue(spreadTwoTrack));
	edges.setUniform("Strength", Sync::getValue(strengthTwoTrack));
	{
		const float blue = Sync::getValue(blueTwoTrack);
		const float green = Sync::getValue(greenTwoTrack);
		const float red = Sync::getValue(redTwoTrack);
		edges.setUniform("Color", red, green, blue);
	}
	edges.setUniform("BackgroundMix", Sync::getValue(blendTrack));
	endEdgePass();
}

void Garbitch::drawSlices(unsigned int noise, double time, const Tarn::Matrix4& view, const Tarn::Matrix4& projection)
{
	glBlendFunc(GL_ONE, GL_ONE);
	glEnable(GL_BLEND);

	const Program& program = sliceProgram->get();
	glUseProgram(program.id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_3D, noise);
	program.setUniform("NoiseTex", 0);

	const float fadeout = Sync::getValue(fadeoutTrack);
	const float rot = Sync::getValue(rotTrack);
	const float sinMix = Sync::getValue(sinMixTrack);
	const float scroll = Sync::getValue(scrollTrack);
	const float rings = Sync::getValue(ringsTrack);
	const float squares = Sync::getValue(squaresTrack);
	const float ringScale = Sync::getValue(scaleTrack);
	const float ringSweep = Sync::getValue(scaleTwoTrack);

	const float z = (float)(time * speed);
	const Tarn::Matrix4 projectionView = projection * view;
	const float rIn = ringScale * 100.0f + 20.0f;
	const float rOut = ringScale * 116.0f + 24.0f;
	const float sweep = ringSweep * 4.712388f;
	const float ringTime = (float)(time * 0.12);

	// Far slices first; the window test rejects all but the nearest 50 before any matrix work.
	for (int n = sliceCount - 1; n >= 0; n--)
	{
		const Slice& slice = slices[n];
		const float d = z - slice.distance;
		if (!isInView(d))
			continue;

		const float shade = brightness(slice, d, time, fadeout, sinMix);
		const float offset = Sync::getValue(offsetTrack);
		// Moved by its offsets, then scaled (so the offsets are in half-sizes), then rolled.
		const Tarn::Matrix4 world = Tarn::rotate(Tarn::Matrix4(1.0f), slice.roll * rot, { 0.0f, 0.0f, 1.0f })
			* scale(12.0f, 4.0f) * translation(slice.offsetX * offset, slice.offsetY * offset);
		const Tarn::Matrix4 viewWorld = view * world;
		program.setUniform("ViewWorld", viewWorld);
		program.setUniform("ProjViewWorld", projection * viewWorld);
		program.setUniform("NoiseTexTime", slice.distance * 0.007f);
		program.setUniform("Scroll", slice.scrollX * scroll, slice.scrollY * scroll);

		const float square = shade * squares;
		glBegin(GL_QUADS);
		glColor3f(square, square, square);
		glTexCoord2i(0, 0);
		glVertex3f(-1.0f, -1.0f, d);
		glTexCoord2i(1, 0);
		glVertex3f(1.0f, -1.0f, d);
		glTexCoord2i(1, 1);
		glVertex3f(1.0f, 1.0f, d);
		glTexCoord2i(0, 1);
		glVertex3f(-1.0f, 1.0f, d);
		glEnd();

		if (rings > 0.0f && carriesRing(n))
		{
			program.setUniform("ViewWorld", view);
			program.setUniform("ProjViewWorld", projectionView);
			const float ring = shade * rings;
			const float start = ringTime * slice.ringSpeed + slice.ringAngle;
			glBegin(GL_QUADS);
			for (int i = 0; i < ringQuads; i++)
			{
				const float u0 = (float)i / ringQuads * 5.0f;
				const float u1 = (float)(i + 1) / ringQuads * 5.0f;
				const float a0 = (float)i / ringQuads * sweep + start;
				const float a1 = (float)(i + 1) / ringQuads * sweep + start;
				const float c0 = (float)std::cos((double)a0), s0 = (float)std::sin((double)a0);
				const float c1 = (float)std::cos((double)a1), s1 = (float)std::sin((double)a1);
				glColor3f(ring, ring, ring);
				glTexCoord2f(u0, 0.0f);
				glVertex3f(rIn * c0, rIn * s0, d);
				glTexCoord2f(u1, 0.0f);
				glVertex3f(rIn * c1, rIn * s1, d);
				glTexCoord2f(u1, 1.0f);
				glVertex3f(rOut * c1, rOut * s1, d);
				glTexCoord2f(u0, 1.0f);
				glVertex3f(rOut * c0, rOut * s0, d);
			}
			glEnd();
		}
	}

	glBindTexture(GL_TEXTURE_3D, 0);
	glUseProgram(0);
	glDisable(GL_BLEND);
}

// Uses the edge program on source's picture; the caller sets the pass's tracks, then ends it.
const Program& Garbitch::beginEdgePass(const RenderTarget& source, const OutputSize& size)
{
	const Program& program = edgeProgram->get();
	glUseProgram(program.id);
	program.setUniform("Resolution", (float)size.width, (float)size.height);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, source.textures[0]->id);
	program.setUniform("Tex", 0);
	return program;
}

void Garbitch::endEdgePass()
{
	glRecti(-1, -1, 1, 1);
	glBindTexture(GL_TEXTURE_2D, 0);
	glUseProgram(0);
}

// Demo: the production itself. Owns the music (or the clock that stands in for it), the scene
// list and the credit images, and draws one frame of the show per render() call. The show's
// table below lists what the show is made of; the frame's own tracks are declared here too.
#include "Demo.h"

#include "Architecture.h"
#include "Bloom.h"
#include "Camera.h"
#include "Colon.h"
#include "Extensions.h"
#include "FmodAudio.h"
#include "Garbitch.h"
#include "NoiseTexture.h"
#include "Ombrix.h"
#include "PerkProc.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "Show.h"
#include "Sphurrs.h"
#include "Sync.h"
#include "Texture.h"

#include <GL/glu.h> // Required for: gluErrorString

#include <chrono>
#include <cstring>
#include <iterator>
#include <thread>

namespace
{
	// The frame's tracks, in the order a frame reads them.
	constexpr const char* fovTrack = "Camera FOV";
	constexpr const char* shakeTrack = "Camera Shake";
	constexpr const char* fineShakeTrack = "Camera Shake Fine";
	constexpr const char* zTrack = "Camera Z";
	constexpr const char* yTrack = "Camera Y";
	constexpr const char* xTrack = "Camera X";
	constexpr const char* pitchTrack = "Camera Pitch";
	constexpr const char* yawTrack = "Camera Yaw";
	constexpr const char* rollTrack = "Camera Roll";
	constexpr const char* offZTrack = "Camera Off Z";
	constexpr const char* offYTrack = "Camera Off Y";
	constexpr const char* offXTrack = "Camera Off X";
	constexpr const char* partTrack = "Part";
	constexpr const char* corvaleFadeTrack = "Corvale Fade";
	constexpr const char* tamskFadeTrack = "Tamsk Fade";
	constexpr const char* wenloFadeTrack = "Wenlo Fade";
	constexpr const char* gathraFadeTrack = "Gathra Fade";
	constexpr const char* pirrowFadeTrack = "Pirrow Fade";
	constexpr const char* goFadeTrack = "Go Fade";
	constexpr const char* gOffsetTrack = "G Offset";
	constexpr const char* oOffsetTrack = "O Offset";
	constexpr const char* endFadeTrack = "End Fade";

	// The credit images in the order they load and draw, each with the track that fades it and
	// the one that slides it sideways (none: centred). g and o share one fade.
	struct Credit
	{
		const char* file;
		const char* fadeTrack;
		const char* offsetTrack;
	};

	constexpr Credit creditTable[] = {
		{ "Data/corvale.png", corvaleFadeTrack, nullptr },
		{ "Data/tamsk.png", tamskFadeTrack, nullptr },
		{ "Data/wenlo.png", wenloFadeTrack, nullptr },
		{ "Data/gathra.png", gathraFadeTrack, nullptr },
		{ "Data/pirrow.png", pirrowFadeTrack, nullptr },
		{ "Data/g.png", goFadeTrack, gOffsetTrack },
		{ "Data/o.png", goFadeTrack, oOffsetTrack },
		{ "Data/end.png", endFadeTrack, nullptr },
	};

	template <typename Pass>
	Effect* createPass()
	{
		Pass::get();
		return nullptr;
	}

	template <typename Scene>
	Effect* createScene()
	{
		return &Scene::get();
	}

	template <typename Pass>
	constexpr ShowEntry pass()
	{
		return { &Pass::declaration, Demo::notAScene, createPass<Pass>, Pass::release };
	}

	template <typename Scene>
	constexpr ShowEntry scene(int index)
	{
		return { &Scene::declaration, index, createScene<Scene>, Scene::release };
	}

	// The show's process-lifetime objects, in the order they are created (and released in
	// reverse). A scene's index is its place in the effect list.
	constexpr ShowEntry showObjects[] = {
		pass<PerkProc>(),
		pass<Bloom>(),
		pass<NoiseTexture>(),
		scene<Sphurrs>(0),
		scene<Ombrix>(1),
		scene<Colon>(2),
		scene<Architecture>(3),
		scene<Garbitch>(4),
	};
	constexpr int showObjectCount = sizeof showObjects / sizeof showObjects[0];

	constexpr int countScenes()
	{
		int count = 0;
		for (const ShowEntry& object : showObjects)
			count += object.sceneIndex != Demo::notAScene;
		return count;
	}
	constexpr int sceneTotal = countScenes();

	// Every index from 0 to sceneTotal - 1 held by exactly one scene, so the effect list has no gap.
	constexpr bool scenesFillTheEffectList()
	{
		for (int index = 0; index < sceneTotal; index++)
		{
			int holders = 0;
			for (const ShowEntry& object : showObjects)
				holders += object.sceneIndex == index;
			if (holders != 1)
				return false;
		}
		return true;
	}
	static_assert(scenesFillTheEffectList(), "each scene index from 0 up is held by exactly one scene");
}

const Declaration Demo::declaration = { "Frame",
	{ fovTrack, shakeTrack, fineShakeTrack, zTrack, yTrack, xTrack, pitchTrack, yawTrack, rollTrack, offZTrack, offYTrack,
		offXTrack, partTrack, corvaleFadeTrack, tamskFadeTrack, wenloFadeTrack, gathraFadeTrack, pirrowFadeTrack, goFadeTrack,
		gOffsetTrack, oOffsetTrack, endFadeTrack } };

const std::vector<ShowEntry>& Demo::showTable()
{
	static const std::vector<ShowEntry> table = [] {
		std::vector<ShowEntry> entries = { { &declaration, notAScene, nullptr, nullptr } };
		entries.insert(entries.end(), std::begin(showObjects), std::end(showObjects));
		return entries;
	}();
	return table;
}

int Demo::sceneCount()
{
	return sceneTotal;
}

const char* Demo::sceneName(int index)
{
	for (const ShowEntry& object : showObjects)
		if (object.sceneIndex != notAScene && object.sceneIndex == index)
			return object.declaration->name;
	return nullptr;
}

int Demo::sceneOfPart(float part)
{
	if (!(part >= -2147483648.0f && part < 2147483648.0f))
		return -1;
	return (int)part;
}

int Demo::currentScene()
{
	return sceneOfPart(Sync::getValue(partTrack));
}

Demo::Demo()
	: music(new FmodAudio()), audio(*music)
{
	build();
	music->play(Show::musicPath);
}

Demo::Demo(Audio& clock)
	: audio(clock)
{
	build();
}

// Everything is loaded here, before the music starts. A failure part-way frees what was built
// (the credit images, the scenes' and passes' GL objects) before the exception leaves.
void Demo::build()
{
	static_assert(sizeof creditTable / sizeof creditTable[0] == creditCount, "one row per credit image");

	Sync& sync = Sync::get();
	sync.audio = &audio;
	sync.rowRate = Show::rowsPerSecond;

	glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
	glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
	glEnable(GL_LINE_SMOOTH);
	glEnable(GL_POINT_SMOOTH);
	glLineWidth(1.0f);
	glDepthFunc(GL_LEQUAL);
	if (offersSeamlessCubeMaps())
		glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);

	try
	{
		// Every object is created before the first scene joins the effect list.
		Effect* scenes[sceneTotal] = {};
		for (const ShowEntry& object : showObjects)
		{
			Effect* effect = object.create();
			if (object.sceneIndex != notAScene)
				scenes[object.sceneIndex] = effect;
		}
		for (Effect* scene : scenes)
			effects.add(scene);

		for (int i = 0; i < creditCount; i++)
			credits[i] = new Texture(creditTable[i].file);
	}
	catch (...)
	{
		deleteCredits();
		releaseGraphics();
		Sync::get().audio = nullptr;
		throw;
	}
}

Demo::~Demo()
{
	deleteCredits();
	effects.clear();
	// Sync must not keep reading a clock that is about to go away.
	Sync::get().audio = nullptr;
	music.reset();
	releaseGraphics();
}

void Demo::deleteCredits()
{
	for (Texture*& credit : credits)
	{
		delete credit;
		credit = nullptr;
	}
}

// The scenes and passes are process-lifetime objects, but their GL objects must go while the
// window's context exists; released in the reverse order of their creation.
void Demo::releaseGraphics()
{
	for (int i = showObjectCount - 1; i >= 0; i--)
		showObjects[i].release();
}

// The effect list keeps pointing at the same scene objects: only their GL objects are new.
void Demo::rebuildGraphics()
{
	releaseGraphics();
	for (const ShowEntry& object : showObjects)
		object.create();
}

static Tarn::Matrix4 buildView(double time)
{
	Tarn::Matrix4 view;
	view.identity();
	const float tf = (float)time;

	const float slow = Sync::getValue(shakeTrack);
	Camera::translate(view, Camera::shake(tf * 0.002f + 80.0f) * slow, 0.0f, 0.0f);
	Camera::translate(view, 0.0f, Camera::shake(tf * 0.003f + 80.0f) * slow, 0.0f);
	Camera::translate(view, 0.0f, 0.0f, Camera::shake(tf * 0.004f + 80.0f) * slow);

	const float fine = Sync::getValue(fineShakeTrack);
	Camera::translate(view, Camera::shake(tf * 0.4f + 80.0f) * fine, 0.0f, 0.0f);
	Camera::translate(view, 0.0f, Camera::shake(tf * 0.35f + 80.0f) * fine, 0.0f);
	Camera::translate(view, 0.0f, 0.0f, Camera::shake(tf * 0.5f + 80.0f) * fine);

	const float z = Sync::getValue(zTrack);
	const float y = Sync::getValue(yTrack);
	const float x = Sync::getValue(xTrack);
	Camera::translate(view, x, y, z);

	view = Tarn::rotate(view, Sync::getValue(pitchTrack), { 1.0f, 0.0f, 0.0f });
	view = Tarn::rotate(view, Sync::getValue(yawTrack), { 0.0f, 1.0f, 0.0f });
	view = Tarn::rotate(view, Sync::getValue(rollTrack), { 0.0f, 0.0f, 1.0f });

	const float offZ = Sync::getValue(offZTrack);
	const float offY = Sync::getValue(offYTrack);
	const float offX = Sync::getValue(offXTrack);
	Camera::translate(view, offX, offY, offZ);
	return view;
}

bool Demo::render()
{
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
	audio.update();
	const double time = Sync::getTime();
	if (time >= Show::length)
		return false;

	const OutputSize size = getOutputSize();
	const GLuint sceneFramebuffer = PerkProc::get().target->id;
	glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
	glViewport(0, 0, size.width, size.height);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

	const Tarn::Matrix4 projection = Camera::perspective(Sync::getValue(fovTrack), size.width, size.height);
	const Tarn::Matrix4 view = buildView(time);

	effects[currentScene()]->render(sceneFramebuffer, time, view, projection);

	drawCredits();

	Bloom& bloom = Bloom::get();
	glBindFramebuffer(GL_FRAMEBUFFER, bloom.inputTarget->id);
	glViewport(0, 0, size.width, size.height);
	PerkProc::apply(1.0f);
	bloom.blur();
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	glViewport(0, 0, size.width, size.height);
	const float dry = Sync::getValue(Bloom::dryTrack);
	const float wet = Sync::getValue(Bloom::wetTrack);
	bloom.mix(wet, dry);

	glFlush();
	const GLenum error = glGetError();
	if (error != GL_NO_ERROR)
		throw Tarn::Exception(Tarn::String("GL error has occurred: ") + (const char*)gluErrorString(error), "Demo", 127);

	std::this_thread::sleep_for(std::chrono::milliseconds(1));
	return true;
}

// Each credit draws only while its fade is above 0 ("> 0" also skips NaN and negative fades);
// the offsets are read every frame, and a fade that two credits share is read once.
void Demo::drawCredits()
{
	const char* fadeTrack = nullptr;
	float fade = 0.0f;
	for (int i = 0; i < creditCount; i++)
	{
		const Credit& credit = creditTable[i];
		if (!fadeTrack || std::strcmp(fadeTrack, credit.fadeTrack) != 0)
		{
			fadeTrack = credit.fadeTrack;
			fade = Sync::getValue(fadeTrack);
		}
		const float offset = credit.offsetTrack ? Sync::getValue(credit.offsetTrack) : 0.0f;
		if (fade > 0.0f)
			drawCredit(credits[i], fade, offset);
	}
}

// A full-width quad in normalised device coordinates, letterboxed to 16:9 on other outputs;
// texture row 0 (the image's top) at the top edge.
void Demo::drawCredit(const Texture* texture, float alpha, float xOffset)
{
	glBindTexture(GL_TEXTURE_2D, texture->id);
	glEnable(GL_TEXTURE_2D);
	glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
	glEnable(GL_BLEND);

	const OutputSize size = getOutputSize();
	const float h = ((float)size.width / (float)size.height) / 1.7777778f;
	glBegin(GL_QUADS);
	glColor4f(1.0f, 1.0f, 1.0f, alpha);
	glTexCoord2f(0.0f, 0.0f);
	glVertex2f(xOffset - 1.0f, h);
	glTexCoord2f(1.0f, 0.0f);
	glVertex2f(xOffset + 1.0f, h);
	glTexCoord2f(1.0f, 1.0f);
	glVertex2f(xOffset + 1.0f, -h);
	glTexCoord2f(0.0f, 1.0f);
	glVertex2f(xOffset - 1.0f, -h);
	glEnd();

	glDisable(GL_BLEND);
	glDisable(GL_TEXTURE_2D);
	glBindTexture(GL_TEXTURE_2D, 0);
}

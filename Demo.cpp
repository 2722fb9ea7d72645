// Demo: the production itself. Owns the music (or the clock that stands in for it), the scene
// list and the credit images, and draws one frame of the show per render() call.
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

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace
{
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

	constexpr int notAScene = -1;

	// The show's process-lifetime objects, in the order they are created (and released in
	// reverse). A scene's index is its place in the effect list, which the "Part" track selects.
	struct ShowObject
	{
		Effect* (*create)();
		void (*release)();
		int sceneIndex;
	};

	const ShowObject showObjects[] = {
		{ createPass<PerkProc>, PerkProc::release, notAScene },
		{ createPass<Bloom>, Bloom::release, notAScene },
		{ createPass<NoiseTexture>, NoiseTexture::release, notAScene },
		{ createScene<Sphurrs>, Sphurrs::release, 0 },
		{ createScene<Ombrix>, Ombrix::release, 1 },
		{ createScene<Colon>, Colon::release, 2 },
		{ createScene<Architecture>, Architecture::release, 3 },
		{ createScene<Garbitch>, Garbitch::release, 4 },
	};

	// The credit images in the order they load and draw, each with the track that fades it and
	// the one that slides it sideways (none: centred). g and o share one fade.
	struct Credit
	{
		const char* file;
		const char* fadeTrack;
		const char* offsetTrack;
	};

	const Credit creditTable[] = {
		{ "Data/corvale.png", "Corvale Fade", nullptr },
		{ "Data/tamsk.png", "Tamsk Fade", nullptr },
		{ "Data/wenlo.png", "Wenlo Fade", nullptr },
		{ "Data/gathra.png", "Gathra Fade", nullptr },
		{ "Data/pirrow.png", "Pirrow Fade", nullptr },
		{ "Data/g.png", "Go Fade", "G Offset" },
		{ "Data/o.png", "Go Fade", "O Offset" },
		{ "Data/end.png", "End Fade", nullptr },
	};
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
		Effect* scenes[sizeof showObjects / sizeof showObjects[0]] = {};
		int sceneCount = 0;
		for (const ShowObject& object : showObjects)
		{
			Effect* effect = object.create();
			if (object.sceneIndex != notAScene)
			{
				scenes[object.sceneIndex] = effect;
				sceneCount = std::max(sceneCount, object.sceneIndex + 1);
			}
		}
		for (int i = 0; i < sceneCount; i++)
			effects.add(scenes[i]);

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
	const int count = sizeof showObjects / sizeof showObjects[0];
	for (int i = count - 1; i >= 0; i--)
		showObjects[i].release();
}

// The effect list keeps pointing at the same scene objects: only their GL objects are new.
void Demo::rebuildGraphics()
{
	releaseGraphics();
	for (const ShowObject& object : showObjects)
		object.create();
}

// The "Part" value truncated toward zero; a value no int holds (NaN included) becomes -1, which
// the effect list rejects like any other bad index instead of an undefined conversion.
static int sceneIndex(float part)
{
	if (!(part >= -2147483648.0f && part < 2147483648.0f))
		return -1;
	return (int)part;
}

static Tarn::Matrix4 buildView(double time)
{
	Tarn::Matrix4 view;
	view.identity();
	const float tf = (float)time;

	const float slow = Sync::getValue("Camera Shake");
	Camera::translate(view, Camera::shake(tf * 0.002f + 80.0f) * slow, 0.0f, 0.0f);
	Camera::translate(view, 0.0f, Camera::shake(tf * 0.003f + 80.0f) * slow, 0.0f);
	Camera::translate(view, 0.0f, 0.0f, Camera::shake(tf * 0.004f + 80.0f) * slow);

	const float fine = Sync::getValue("Camera Shake Fine");
	Camera::translate(view, Camera::shake(tf * 0.4f + 80.0f) * fine, 0.0f, 0.0f);
	Camera::translate(view, 0.0f, Camera::shake(tf * 0.35f + 80.0f) * fine, 0.0f);
	Camera::translate(view, 0.0f, 0.0f, Camera::shake(tf * 0.5f + 80.0f) * fine);

	const float z = Sync::getValue("Camera Z");
	const float y = Sync::getValue("Camera Y");
	const float x = Sync::getValue("Camera X");
	Camera::translate(view, x, y, z);

	view = Tarn::rotate(view, Sync::getValue("Camera Pitch"), { 1.0f, 0.0f, 0.0f });
	view = Tarn::rotate(view, Sync::getValue("Camera Yaw"), { 0.0f, 1.0f, 0.0f });
	view = Tarn::rotate(view, Sync::getValue("Camera Roll"), { 0.0f, 0.0f, 1.0f });

	const float offZ = Sync::getValue("Camera Off Z");
	const float offY = Sync::getValue("Camera Off Y");
	const float offX = Sync::getValue("Camera Off X");
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

	const Tarn::Matrix4 projection = Camera::perspective(Sync::getValue("Camera FOV"), size.width, size.height);
	const Tarn::Matrix4 view = buildView(time);

	const int part = sceneIndex(Sync::getValue("Part"));
	effects[part]->render(sceneFramebuffer, time, view, projection);

	drawCredits();

	Bloom& bloom = Bloom::get();
	glBindFramebuffer(GL_FRAMEBUFFER, bloom.inputTarget->id);
	glViewport(0, 0, size.width, size.height);
	PerkProc::apply(1.0f);
	bloom.blur();
	glBindFramebuffer(GL_FRAMEBUFFER, 0);
	glViewport(0, 0, size.width, size.height);
	const float dry = Sync::getValue("Bloom Dry");
	const float wet = Sync::getValue("Bloom Wet");
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

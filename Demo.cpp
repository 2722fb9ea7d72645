// Demo: the production itself. Owns the music (or the clock that stands in for it), the scene
// list and the credit images, and draws one frame of the show per render() call.
#include "Demo.h"

#include "Bloom.h"
#include "Camera.h"
#include "Extensions.h"
#include "FmodAudio.h"
#include "Ombrix.h"
#include "PerkProc.h"
#include "RenderTarget.h"
#include "Settings.h"
#include "Sphurrs.h"
#include "Sync.h"
#include "Texture.h"

#include <GL/glu.h> // Required for: gluErrorString

#include <chrono>
#include <initializer_list>
#include <thread>

static const double showLength = 70.8;
static const double rowsPerSecond = 17.066666666666666;

Demo::Demo()
	: music(new FmodAudio()), audio(*music)
{
	build();
	music->play("Data/wenlo-pirrow_drumlow.mp3");
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
	Sync& sync = Sync::get();
	sync.audio = &audio;
	sync.rowRate = rowsPerSecond;

	glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
	glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
	glEnable(GL_LINE_SMOOTH);
	glEnable(GL_POINT_SMOOTH);
	glLineWidth(1.0f);
	glDepthFunc(GL_LEQUAL);
	glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);

	try
	{
		PerkProc::get();
		Bloom::get();
		Sphurrs& sphurrs = Sphurrs::get();
		Ombrix& ombrix = Ombrix::get();

		effects.add(&sphurrs);
		effects.add(&ombrix);

		corvale = new Texture("Data/corvale.png");
		tamsk = new Texture("Data/tamsk.png");
		wenlo = new Texture("Data/wenlo.png");
		gathra = new Texture("Data/gathra.png");
		pirrow = new Texture("Data/pirrow.png");
		g = new Texture("Data/g.png");
		o = new Texture("Data/o.png");
		end = new Texture("Data/end.png");
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
	for (Texture** credit : { &corvale, &tamsk, &wenlo, &gathra, &pirrow, &g, &o, &end })
	{
		delete *credit;
		*credit = nullptr;
	}
}

// The scenes and passes are process-lifetime objects, but their GL objects must go while the
// window's context exists; released in the reverse order of their creation.
void Demo::releaseGraphics()
{
	Ombrix::release();
	Sphurrs::release();
	Bloom::release();
	PerkProc::release();
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
	if (time >= showLength)
		return false;

	const OutputSize size = getOutputSize();
	const GLuint sceneFramebuffer = PerkProc::get().target->id;
	glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
	glViewport(0, 0, size.width, size.height);
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

	const Tarn::Matrix4 projection = Camera::perspective(Sync::getValue("Camera FOV"), size.width, size.height);
	const Tarn::Matrix4 view = buildView(time);

	const int part = (int)Sync::getValue("Part");
	effects[part]->render(sceneFramebuffer, time, view, projection);

	// Each credit draws only while its fade is above 0; the offsets are read every frame.
	drawCreditIfVisible(corvale, Sync::getValue("Corvale Fade"), 0.0f);
	drawCreditIfVisible(tamsk, Sync::getValue("Tamsk Fade"), 0.0f);
	drawCreditIfVisible(wenlo, Sync::getValue("Wenlo Fade"), 0.0f);
	drawCreditIfVisible(gathra, Sync::getValue("Gathra Fade"), 0.0f);
	drawCreditIfVisible(pirrow, Sync::getValue("Pirrow Fade"), 0.0f);
	const float goFade = Sync::getValue("Go Fade");
	drawCreditIfVisible(g, goFade, Sync::getValue("G Offset"));
	drawCreditIfVisible(o, goFade, Sync::getValue("O Offset"));
	drawCreditIfVisible(end, Sync::getValue("End Fade"), 0.0f);

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

// A full-width quad in normalised device coordinates, letterboxed to 16:9 on other outputs;
// texture row 0 (the image's top) at the top edge.
// "> 0" also skips NaN and negative fades.
void Demo::drawCreditIfVisible(const Texture* texture, float alpha, float xOffset)
{
	if (alpha > 0.0f)
		drawCredit(texture, alpha, xOffset);
}

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

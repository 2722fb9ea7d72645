// Architecture: a tunnel of heavy stone slabs streaming past in the dark, and in front of them a
// cloud of glowing points bulging away from six moving attractors. Both layers are laid out once
// from fixed seeds and drawn on the fixed-function matrices: the slabs in immediate mode, the
// points from one vertex array.
#include "Architecture.h"

#include "Extensions.h"

#include <GL/glu.h> // Required for: gluPerspective

const Declaration Architecture::declaration = { "Architecture",
	{ Tunnel::fadeTrack, BallField::motionTrack, BallField::brightnessTrack, BallField::flickerTrack } };

Architecture::Architecture() = default;

Architecture::~Architecture()
{
	deleteObjects();
}

void Architecture::createObjects()
{
	tunnel.reset(new Tunnel());
	balls.reset(new BallField());
}

void Architecture::deleteObjects()
{
	balls.reset();
	tunnel.reset();
}

void Architecture::render(unsigned int /*targetFramebuffer*/, double time, Tarn::Matrix4 view, Tarn::Matrix4 /*projection*/)
{
	glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	gluPerspective(50.0, 1.7777777777777777, 1.0, 1000.0);
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
	glLoadMatrixf(view.data());

	tunnel->draw(time + tunnelTimeOffset);
	balls->draw(time);

	glMatrixMode(GL_PROJECTION);
	glLoadIdentity();
	glMatrixMode(GL_MODELVIEW);
	glLoadIdentity();
}

// The architecture scene's slab layer: textured stone slabs on the fixed-function matrices, lit
// by the tunnel program from the rock colour (unit 0) and its normal map (unit 1).
#include "Tunnel.h"

#include "Extensions.h"
#include "ShaderProgram.h"
#include "Sync.h"
#include "Texture.h"

using ArchitectureLayouts::Slab;

Tunnel::Tunnel()
	: rockTexture(new Texture("Data/rock.png")),
	  rockNormalTexture(new Texture("Data/rockn.png")),
	  program(new ShaderProgram("Data/tunnel.vert", "Data/tunnel.frag")),
	  slabs(new Slab[ArchitectureLayouts::slabCount])
{
	ArchitectureLayouts::makeSlabs(slabs.get());
}

// Released in the order they were made, which the show fixes; the defaulted destructor would
// reverse it.
Tunnel::~Tunnel()
{
	rockTexture.reset();
	rockNormalTexture.reset();
	program.reset();
	slabs.reset();
}

void Tunnel::draw(double t)
{
	const float fade = Sync::getValue(fadeTrack);
	if (!(fade > 0.0f))
		return;

	glEnable(GL_DEPTH_TEST);
	glActiveTexture(GL_TEXTURE1);
	glBindTexture(GL_TEXTURE_2D, rockNormalTexture->id);
	glActiveTexture(GL_TEXTURE0);
	glBindTexture(GL_TEXTURE_2D, rockTexture->id);

	const Program& stone = program->get();
	glUseProgram(stone.id);
	stone.setUniform("Fade", fade);
	stone.setUniform("Tex", 0);
	stone.setUniform("TexNormal", 1);

	for (int i = 0; i < ArchitectureLayouts::slabCount; i++)
		drawSlab(slabs[i], t);

	// The rock textures stay bound: the frame's next users bind their own.
	glUseProgram(0);
	glDisable(GL_DEPTH_TEST);
}

void Tunnel::drawSlab(const Slab& slab, double t)
{
	const float time = (float)t;
	const float zz = slab.z + time;
	if (!ArchitectureLayouts::inSlabWindow(zz))
		return;

	glPushMatrix();
	glRotatef(slab.angle, 0.0f, 0.0f, 1.0f);
	glTranslatef(slab.x, slab.y - 36.0f, zz);
	glRotatef(slab.tiltX, 1.0f, 0.0f, 0.0f);
	glRotatef(slab.spin * time + slab.tiltY, 0.0f, 1.0f, 0.0f);
	glRotatef(slab.tiltZ, 0.0f, 0.0f, 1.0f);
	drawBox(60.0f, 1.2f, 60.0f);
	glPopMatrix();
}

namespace
{
	struct BoxFace
	{
		float normal[3];
		float corners[4][3]; // signs of the half sizes, in drawing order
	};

	const BoxFace boxFaces[6] = {
		{ { 0, 0, 1 }, { { -1, -1, -1 }, { 1, -1, -1 }, { 1, 1, -1 }, { -1, 1, -1 } } },
		{ { 0, 0, -1 }, { { 1, -1, 1 }, { -1, -1, 1 }, { -1, 1, 1 }, { 1, 1, 1 } } },
		{ { -1, 0, 0 }, { { -1, -1, -1 }, { -1, -1, 1 }, { -1, 1, 1 }, { -1, 1, -1 } } },
		{ { 1, 0, 0 }, { { 1, -1, 1 }, { 1, -1, -1 }, { 1, 1, -1 }, { 1, 1, 1 } } },
		{ { 0, 1, 0 }, { { -1, 1, -1 }, { 1, 1, -1 }, { 1, 1, 1 }, { -1, 1, 1 } } },
		{ { 0, -1, 0 }, { { 1, -1, -1 }, { -1, -1, -1 }, { -1, -1, 1 }, { 1, -1, 1 } } },
	};

	const int cornerCoordinates[4][2] = { { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } };
}

void Tunnel::drawBox(float width, float height, float depth)
{
	const float hx = width * 0.5f, hy = height * 0.5f, hz = depth * 0.5f;
	glBegin(GL_QUADS);
	for (const BoxFace& face : boxFaces)
	{
		glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
		for (int c = 0; c < 4; c++)
		{
			glTexCoord2i(cornerCoordinates[c][0], cornerCoordinates[c][1]);
			glVertex3f(face.corners[c][0] * hx, face.corners[c][1] * hy, face.corners[c][2] * hz);
		}
	}
	glEnd();
}

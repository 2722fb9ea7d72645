// The architecture scene's point layer: the field is evaluated for every grid point first (one
// vectorised pass), then the points above their threshold are packed into one vertex array and
// drawn at once.
#include "BallField.h"

#include "Extensions.h"
#include "Sync.h"

using ArchitectureLayouts::pointCount;

BallField::BallField()
	: thresholds(new float[pointCount]), points(new ArchitectureLayouts::BallPoints()), shownPoints(new ShownPoint[pointCount])
{
	ArchitectureLayouts::makeThresholds(thresholds.get());
}

void BallField::draw(double t)
{
	const float m = Sync::getValue(motionTrack) * 3.0f;
	Tarn::Vector3 centres[ArchitectureLayouts::centreCount];
	ArchitectureLayouts::attractorCentres(m, (float)t, centres);
	const float brightness = Sync::getValue(brightnessTrack);
	const float flicker = Sync::getValue(flickerTrack);

	ArchitectureLayouts::BallPoints& field = *points;
	ArchitectureLayouts::evaluateField(centres, brightness, field);
	// The shown points, in grid order, packed into one client array: a single draw call
	// instead of two calls per point.
	int shown = 0;
	for (int n = 0; n < pointCount; n++)
	{
		if (thresholds[n] + flicker > 0.0f)
		{
			const float glow = field.glow[n];
			ShownPoint& point = shownPoints[shown++];
			point.position[0] = field.x[n];
			point.position[1] = field.y[n];
			point.position[2] = field.z[n];
			point.colour[0] = 0.4f * glow;
			point.colour[1] = 0.17f * glow;
			point.colour[2] = 0.1f * glow;
		}
	}

	glBlendFunc(GL_ONE, GL_ONE);
	glEnable(GL_BLEND);
	glPointSize(8.0f);
	glBindBuffer(GL_ARRAY_BUFFER, 0); // the pointers below are client memory, not buffer offsets
	glEnableClientState(GL_VERTEX_ARRAY);
	glEnableClientState(GL_COLOR_ARRAY);
	glVertexPointer(3, GL_FLOAT, sizeof(ShownPoint), shownPoints[0].position);
	glColorPointer(3, GL_FLOAT, sizeof(ShownPoint), shownPoints[0].colour);
	glDrawArrays(GL_POINTS, 0, shown);
	glDisableClientState(GL_COLOR_ARRAY);
	glDisableClientState(GL_VERTEX_ARRAY);
	glDisable(GL_BLEND);
}

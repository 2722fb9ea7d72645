// The architecture scene's point layer: the field is evaluated for every grid point first (one
// vectorised pass), then the points above their threshold go out in immediate mode.
#include "BallField.h"

#include "Extensions.h"
#include "Sync.h"

using ArchitectureLayouts::pointCount;

BallField::BallField()
	: thresholds(new float[pointCount]), points(new ArchitectureLayouts::BallPoints())
{
	ArchitectureLayouts::makeThresholds(thresholds.get());
}

void BallField::draw(double t)
{
	glBlendFunc(GL_ONE, GL_ONE);
	glEnable(GL_BLEND);
	glPointSize(8.0f);
	glBegin(GL_POINTS);

	const float m = Sync::getValue("Arch Ball Motion") * 3.0f;
	Tarn::Vector3 centres[ArchitectureLayouts::centreCount];
	ArchitectureLayouts::attractorCentres(m, (float)t, centres);
	const float brightness = Sync::getValue("Arch Balls");
	const float flicker = Sync::getValue("Arch Balls Flicker");

	ArchitectureLayouts::BallPoints& field = *points;
	ArchitectureLayouts::evaluateField(centres, brightness, field);
	for (int n = 0; n < pointCount; n++)
	{
		if (thresholds[n] + flicker > 0.0f)
		{
			const float glow = field.glow[n];
			glColor3f(0.4f * glow, 0.17f * glow, 0.1f * glow);
			glVertex3f(field.x[n], field.y[n], field.z[n]);
		}
	}

	glEnd();
	glDisable(GL_BLEND);
}

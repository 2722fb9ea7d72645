// The three skies of the show, each a colour as a function of view direction (y is up).
#pragma once

#include "Vector.h"

// Deep blue-black night: a faint band of nebula, stars, and a warm glow along the horizon that
// is strongest towards -z. The dark scene's sky box.
Vec3 nightSky(Vec3 direction);

// A soft, bright version of the night for reflections: no stars, broad warm and cool lights.
// Symmetric under z -> -z, so a reflection agrees with the sky behind it whichever way a
// shader orients its lookups along z.
Vec3 environmentSky(Vec3 direction);

// Neutral grey clouds with a bright horizon for the column scene, which tints its sky box.
Vec3 columnSky(Vec3 direction);

// The three skies of the show, each a colour as a function of view direction (y is up).
// The two cube skies hold the square root of light (a gamma of 2): a shader squares what it
// samples to get light back, and dark skies keep their detail in 8 bits.
#pragma once

#include "Vector.h"

// Deep blue-black night: a faint band of nebula, stars, and a low sun towards
// (-0.25, 0.3, -0.92) whose amber glow runs along the horizon. The dark scene's sky box.
Vec3 nightSky(Vec3 direction);

// A soft, bright version of the night for reflections: no stars, broad warm and cool lights.
// Symmetric under z -> -z, so a reflection agrees with the sky behind it whichever way a
// shader orients its lookups along z.
Vec3 environmentSky(Vec3 direction);

// Neutral grey clouds with a bright horizon for the column scene, which tints its sky box.
Vec3 columnSky(Vec3 direction);

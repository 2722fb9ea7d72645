// The architecture scene's slab layer: 4000 thin stone slabs scattered around the view axis,
// about 200 of them inside the drawn window at a time, streaming along it as the music plays.
#pragma once

#include "ArchitectureLayouts.h"

#include <memory>

class ShaderProgram;
class Texture;

class Tunnel
{
public:
	// Loads the rock colour and normal images and the tunnel program, then lays out the slabs.
	// Throws what Texture and ShaderProgram throw.
	Tunnel();
	~Tunnel();

	Tunnel(const Tunnel&) = delete;
	Tunnel& operator=(const Tunnel&) = delete;

	// Draws every slab inside the window at time t when its fade track is above 0; otherwise
	// touches nothing. Leaves depth testing off, program 0, unit 0 active with the rock colour
	// bound and the normal map bound on unit 1.
	void draw(double t);

	// One slab on the modelview matrix at time t, skipped outside the window.
	static void drawSlab(const ArchitectureLayouts::Slab& slab, double t);

	// A box centred at the origin as one batch of quads; the two faces across z have their
	// normals (and winding) pointing into the box.
	static void drawBox(float width, float height, float depth);

	static constexpr const char* fadeTrack = "Arch Slab Fade";

private:
	std::unique_ptr<Texture> rockTexture;
	std::unique_ptr<Texture> rockNormalTexture;
	std::unique_ptr<ShaderProgram> program;
	std::unique_ptr<ArchitectureLayouts::Slab[]> slabs;
};

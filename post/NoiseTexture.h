// NoiseTexture: a 256 x 256 x 256 volume of smooth RGB noise, drawn once on the graphics card at
// start-up from a 16 x 16 x 16 volume of seeded random bytes, so no noise is computed per frame.
#pragma once

#include "Declaration.h"
#include "GLSingleton.h"

class NoiseTexture : public GLSingleton<NoiseTexture>
{
public:
	// get() gives the one instance, generating the volume on the first call; release() deletes it.

	static const Declaration declaration; // reads no track

	static constexpr int size = 256;
	static constexpr int seedSize = 16;
	static constexpr int seedByteCount = seedSize * seedSize * seedSize;

	// The seed volume's bytes, x fastest, then y, then z: the low byte of each result of the
	// generator "state * 214013 + 2531011, (state >> 16) & 0x7FFF" seeded with 12345.
	static void makeSeedBytes(unsigned char (&bytes)[seedByteCount]);

	// The GL_TEXTURE_3D name: GL_RGB8, linear, repeating on all three axes.
	unsigned int id = 0;

private:
	NoiseTexture() = default;
	~NoiseTexture();
	NoiseTexture(const NoiseTexture&) = delete;
	NoiseTexture& operator=(const NoiseTexture&) = delete;

	friend class GLSingleton<NoiseTexture>;
	bool hasObjects() const { return id != 0; }
	void createObjects();
	void deleteObjects();
};

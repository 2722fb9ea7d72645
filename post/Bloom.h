// Bloom: shrinks the processed picture to 128 x 128, blurs it, and composes the sharp picture,
// the glow and the bokeh image into the window.
#pragma once

#include "Declaration.h"
#include "GLSingleton.h"

class RenderTarget;
class ShaderProgram;
class Texture;

class Bloom : public GLSingleton<Bloom>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	// The weights of mix(): the frame reads them, dry first, and hands them over.
	static constexpr const char* dryTrack = "Bloom Dry";
	static constexpr const char* wetTrack = "Bloom Wet";
	static const Declaration declaration;

	// Reads inputTarget and leaves the blurred picture in blurTargets[0]. Restores the caller's
	// viewport, leaves framebuffer 0 bound, no program in use and depth testing disabled.
	void blur();

	// Draws the composite into the bound framebuffer and viewport: intensity weighs the glow,
	// bgIntensity the sharp picture.
	void mix(float intensity, float bgIntensity);

	// The 128 x 128 texture blur() leaves its result in.
	unsigned int getBlurredTexture() const;

	RenderTarget* inputTarget = nullptr; // output size, with depth: the final pass draws here

private:
	static const int downsampleCount = 3;
	static const int blurCount = 2;

	Bloom() = default;
	~Bloom();
	Bloom(const Bloom&) = delete;
	Bloom& operator=(const Bloom&) = delete;

	friend class GLSingleton<Bloom>;
	bool hasObjects() const { return bokehTexture != nullptr; }
	void createObjects();
	void deleteObjects();
	void drawPass(const RenderTarget* destination, const RenderTarget* source);

	RenderTarget* downsampleTargets[downsampleCount] = {}; // 512, 256, 128
	RenderTarget* blurTargets[blurCount] = {};             // both 128
	ShaderProgram* blitProgram = nullptr;
	ShaderProgram* blurProgram = nullptr;
	ShaderProgram* mixProgram = nullptr;
	Texture* bokehTexture = nullptr;
};

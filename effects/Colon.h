// Colon: a column of 1500 glowing ring segments in 100 turning layers, a lit tube of 100 bands
// along its axis and 3000 floating sprites, two thirds of which gather onto a ball, in a sky box.
#pragma once

#include "ColonLayouts.h"
#include "Declaration.h"
#include "Effect.h"
#include "GLSingleton.h"

#include <memory>

class ShaderProgram;
class Texture;

class Colon : public Effect, public GLSingleton<Colon>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).
	// The layouts are built once, with the instance, and never change.

	static const Declaration declaration; // "Colon" and its nine tracks

	// Draws into the bound framebuffer (targetFramebuffer) with the uniform matrices only.
	// Leaves blending off with (GL_SRC_COLOR, GL_ONE), line width 0.5, depth writes on,
	// program 0 and the sky image bound to GL_TEXTURE_2D on unit 0.
	void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) override;

private:
	Colon();
	~Colon();
	Colon(const Colon&) = delete;
	Colon& operator=(const Colon&) = delete;

	friend class GLSingleton<Colon>;
	bool hasObjects() const { return program != nullptr; }
	void createObjects();
	void deleteObjects();

	void drawSky(const Tarn::Matrix4& view, const Tarn::Matrix4& projection);
	void drawRings(float T);
	void drawTube(float T);
	void drawFloaters(float T, const Tarn::Matrix4& view, const Tarn::Matrix4& projection);

	const ColonLayouts::Layout layout;

	std::unique_ptr<ShaderProgram> program;      // rings and bands
	std::unique_ptr<ShaderProgram> skyProgram;
	std::unique_ptr<ShaderProgram> partsProgram; // the floaters
	std::unique_ptr<Texture> skyTexture;

	struct SpriteCorner
	{
		float position[3]; // the sprite's centre
		float colour[3];
		float corner[2];   // 0 or 1 each: which corner the vertex program moves it to
	};
	std::unique_ptr<SpriteCorner[]> spriteCorners; // four per floater; a frame fills the shown ones
};

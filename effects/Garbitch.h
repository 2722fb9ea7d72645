// Garbitch: a corridor of 400 noise-patterned slices streaming at the camera, every other group
// of four carrying a partial ring, drawn additively off screen and then shown only through two
// edge-detection passes: luminous outlines on black, tinted by the "Garbitch" colour tracks.
#pragma once

#include "Declaration.h"
#include "Effect.h"
#include "GLSingleton.h"

#include <tarn/List.h>

#include <memory>

class Program;
class RenderTarget;
class ShaderProgram;
struct OutputSize;

class Garbitch : public Effect, public GLSingleton<Garbitch>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	// One rectangle of the corridor; offsets and scroll are scaled by their tracks every frame.
	struct Slice
	{
		float distance;   // along the corridor, 4 apart
		float offsetX;    // in half-widths
		float offsetY;    // in half-heights
		float fadeBias;   // how long the slice resists the fadeout
		float roll;       // degrees about the view axis
		float scrollX;    // direction the noise pattern slides
		float scrollY;
		float ringAngle;  // radians where the ring starts
		float ringSpeed;  // how fast and which way the ring turns
	};

	static constexpr int sliceCount = 400;
	static constexpr float speed = 12.0f;          // units per second toward the camera
	static constexpr float visibleDepth = 200.0f;  // slices further ahead are not drawn

	static const Declaration declaration; // "Garbitch" and its twenty tracks

	// Reads the slices' tracks once a frame, their offset once per visible slice, then each edge
	// pass's own; the second pass draws into targetFramebuffer without blending.
	void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) override;

	// The corridor's layout from the generator seeded (1, 2), appended to slices.
	static void generateSlices(Tarn::List<Slice>& slices);

	// Whether a slice that far ahead (d = camera depth - distance, negative ahead) is drawn:
	// from just ahead of the camera (d < 0) out to visibleDepth (d = -200) inclusive.
	static bool isInView(float d);

	// The slice's brightness: nearer is brighter, the fadeout darkens it once it passes half its
	// fadeBias, and sinMix blends in a pulse that runs down the corridor.
	static float brightness(const Slice& slice, float d, double time, float fadeout, float sinMix);

	// Rings belong to the slices whose index n has n mod 8 < 4.
	static bool carriesRing(int n) { return (n & 4) == 0; }

private:
	Garbitch();
	~Garbitch();
	Garbitch(const Garbitch&) = delete;
	Garbitch& operator=(const Garbitch&) = delete;

	friend class GLSingleton<Garbitch>;
	bool hasObjects() const { return sliceProgram != nullptr; }
	void createObjects();
	void deleteObjects();
	void drawSlices(unsigned int noise, double time, const Tarn::Matrix4& view, const Tarn::Matrix4& projection);
	const Program& beginEdgePass(const RenderTarget& source, const OutputSize& size);
	static void endEdgePass();

	Tarn::List<Slice> slices;
	std::unique_ptr<RenderTarget> targets[2]; // the slices, then their first edges; no depth
	std::unique_ptr<ShaderProgram> sliceProgram;
	std::unique_ptr<ShaderProgram> edgeProgram;
};

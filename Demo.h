// Demo: the production itself. Owns the music (or the clock that stands in for it), the scene
// list and the credit images, and draws one frame of the show per render() call.
#pragma once

#include "Declaration.h"

#include <tarn/List.h>
#include <tarn/Math.h>

#include <memory>
#include <vector>

class Audio;
class Effect;
class FmodAudio;
class Texture;

// A row of the show's table: what a part of the show declares, its index in the effect list,
// which the "Part" track selects (Demo::notAScene for the frame's own tracks and the post passes),
// and its accessor and release (null for the frame, which the Demo itself is). The accessor makes
// the object's GL objects if it has none and returns the scene (null for a pass).
struct ShowEntry
{
	const Declaration* declaration;
	int sceneIndex;
	Effect* (*create)();
	void (*release)();
};

class Demo
{
public:
	static constexpr int notAScene = -1;

	// The frame's own tracks: the camera, "Part" and the credits' fades and offsets.
	static const Declaration declaration;

	// The show in order: the frame's own declaration first, then the passes and the scenes in the
	// order they are created.
	static const std::vector<ShowEntry>& showTable();
	static int sceneCount();
	// The name a scene declares, or null for an index no scene has.
	static const char* sceneName(int index);
	// "Part" truncated toward zero; a value no int holds (NaN included) becomes -1, which no scene
	// has, instead of an undefined conversion.
	static int sceneOfPart(float part);
	// sceneOfPart of "Part" at the current row: the scene the frame draws (or fails on).
	static int currentScene();

	// Plays the music, which drives the clock.
	Demo();

	// Runs on the caller's clock instead of the music (the render tool sets its position frame by
	// frame); no music is played. The clock must outlive the Demo.
	explicit Demo(Audio& clock);

	// Frees the credit images, stops the music, and releases the GL objects of every scene and
	// post pass: the window's context must still exist.
	virtual ~Demo();

	Demo(const Demo&) = delete;
	Demo& operator=(const Demo&) = delete;

	// Draws one frame into the window's framebuffer; false once the show is over (70.8 s).
	virtual bool render();

	// Releases the GL objects of every pass and scene and creates them again from Data/, in the
	// show's order, with the current context (the preview's shader reload). Throws what creation
	// throws; the objects made before the failure stay, the failing one is left without objects.
	void rebuildGraphics();

private:
	void build();
	void drawCredits();
	void deleteCredits();
	void drawCredit(const Texture* texture, float alpha, float xOffset);
	static void releaseGraphics();

	static constexpr int creditCount = 8;

	std::unique_ptr<FmodAudio> music; // null when an outside clock drives the show
	Audio& audio;
	Tarn::List<Effect*> effects;
	Texture* credits[creditCount] = {}; // corvale, tamsk, wenlo, gathra, pirrow, g, o, end
};

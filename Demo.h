// Demo: the production itself. Owns the music (or the clock that stands in for it), the scene
// list and the credit images, and draws one frame of the show per render() call.
#pragma once

#include <tarn/List.h>
#include <tarn/Math.h>

#include <memory>

class Audio;
class Effect;
class FmodAudio;
class Texture;

class Demo
{
public:
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

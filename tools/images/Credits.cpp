#include "Credits.h"

#include <cmath> // Required for: std::exp

namespace
{
	const float nameSize = 118.0f;
	const float titleSize = 150.0f;
	const float letterSize = 300.0f;
	const float captionSize = 30.0f;
	const float nameTracking = 0.08f;
	const float captionTracking = 0.55f;
	const Vec3 textColour(1.0f, 0.98f, 0.95f);
	const Vec3 glowColour(1.0f, 0.78f, 0.52f);
	const Vec3 shadeColour(0.01f, 0.015f, 0.03f);
	const float shadeStrength = 0.45f;
	const float glowStrength = 0.45f;
	// The dark halo hugs the letters: over the brightest scene the few pixels around each stroke
	// stay dark enough for the type to stand out at 4.5 : 1 or more.
	const float haloStrength = 0.92f;
	const float haloReach = 7.0f;

	// Draws text centred horizontally with its x-height centred on centreY.
	void drawCentred(Canvas& canvas, const Font& font, const std::string& text, float size, float tracking,
		float centreY, int onlyIndex = -1)
	{
		const float left = (static_cast<float>(canvas.getWidth()) - font.measure(text, size, tracking)) * 0.5f;
		font.draw(canvas, text, left, centreY + font.xHeight(size) * 0.5f, size, tracking, onlyIndex);
	}

	// Laid over one another, each straight-alpha "over" the ones before, premultiplied.
	void layOver(Vec3& premultiplied, float& alpha, Vec3 colour, float coverage)
	{
		premultiplied = colour * coverage + premultiplied * (1.0f - coverage);
		alpha = coverage + alpha * (1.0f - coverage);
	}

	// Turns the letter coverage in alpha into the final picture, four layers laid over one
	// another: a wide, faint dark shade that keeps the type readable over bright scenes, a warm
	// glow further out, a tight dark halo around the strokes, and the white letters. The glow
	// lies under the halo, so it shows as a soft aura and never lights the letters' surround. The
	// result is straight alpha; where alpha is 0 the colour is the shade's, so filtering at the
	// picture's edge of visibility pulls in no other colour.
	void addGlow(Canvas& canvas)
	{
		for (int y = 0; y < canvas.getHeight(); ++y)
		{
			for (int x = 0; x < canvas.getWidth(); ++x)
			{
				float* p = canvas.pixel(x, y);
				p[0] = p[1] = p[2] = p[3];
			}
		}
		canvas.blurChannel(0, 3, false);
		canvas.blurChannel(1, 16, false);
		canvas.blurChannel(2, 30, false);
		for (int y = 0; y < canvas.getHeight(); ++y)
		{
			for (int x = 0; x < canvas.getWidth(); ++x)
			{
				float* p = canvas.pixel(x, y);
				Vec3 premultiplied(0.0f, 0.0f, 0.0f);
				float alpha = 0.0f;
				layOver(premultiplied, alpha, shadeColour, clamp01(p[2] * 2.5f) * shadeStrength);
				// The glow saturates softly and never turns opaque.
				layOver(premultiplied, alpha, glowColour, glowStrength * (1.0f - std::exp(-p[1] * 2.5f)));
				layOver(premultiplied, alpha, shadeColour, clamp01(p[0] * haloReach) * haloStrength);
				layOver(premultiplied, alpha, textColour, p[3]);
				// Texels whose alpha rounds to 0 keep the shade's colour, as the faintest visible ones do.
				const Vec3 colour = alpha >= 0.5f / 255.0f ? premultiplied * (1.0f / alpha) : shadeColour;
				p[0] = colour.x;
				p[1] = colour.y;
				p[2] = colour.z;
				p[3] = alpha;
			}
		}
	}
}

Canvas Credits::name(const Font& font, const std::string& text)
{
	Canvas canvas(width, height);
	drawCentred(canvas, font, text, nameSize, nameTracking, height * 0.5f);
	addGlow(canvas);
	return canvas;
}

Canvas Credits::title(const Font& font, const std::string& text)
{
	Canvas canvas(width, height);
	drawCentred(canvas, font, text, titleSize, nameTracking, height * 0.5f);
	addGlow(canvas);
	return canvas;
}

Canvas Credits::titled(const Font& font, const Font& captionFont, const std::string& text, const std::string& caption)
{
	Canvas canvas(width, height);
	drawCentred(canvas, font, text, titleSize, nameTracking, height * 0.47f);
	drawCentred(canvas, captionFont, caption, captionSize, captionTracking, height * 0.47f + titleSize * 0.62f);
	addGlow(canvas);
	return canvas;
}

Canvas Credits::letterOf(const Font& font, const std::string& word, int index)
{
	Canvas canvas(width, height);
	drawCentred(canvas, font, word, letterSize, nameTracking, height * 0.5f, index);
	addGlow(canvas);
	return canvas;
}

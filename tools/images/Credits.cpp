#include "Credits.h"

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

	// Draws text centred horizontally with its x-height centred on centreY.
	void drawCentred(Canvas& canvas, const Font& font, const std::string& text, float size, float tracking,
		float centreY, int onlyIndex = -1)
	{
		const float left = (static_cast<float>(canvas.getWidth()) - font.measure(text, size, tracking)) * 0.5f;
		font.draw(canvas, text, left, centreY + font.xHeight(size) * 0.5f, size, tracking, onlyIndex);
	}

	// Turns the letter coverage in alpha into the final picture: white letters over a tight and
	// a wide glow. Colour stays at the glow's hue where alpha is 0, so filtering never pulls
	// dark fringes into the edges.
	void addGlow(Canvas& canvas)
	{
		for (int y = 0; y < canvas.getHeight(); ++y)
		{
			for (int x = 0; x < canvas.getWidth(); ++x)
			{
				float* p = canvas.pixel(x, y);
				p[0] = p[3];
				p[1] = p[3];
			}
		}
		canvas.blurChannel(0, 3, false);
		canvas.blurChannel(1, 14, false);
		for (int y = 0; y < canvas.getHeight(); ++y)
		{
			for (int x = 0; x < canvas.getWidth(); ++x)
			{
				float* p = canvas.pixel(x, y);
				const float letter = p[3];
				const float glow = clamp01(p[0] * 1.0f + p[1] * 1.7f) * (1.0f - letter);
				const float alpha = letter + glow;
				const Vec3 colour = alpha > 0.0f ? (textColour * letter + glowColour * glow) * (1.0f / alpha) : glowColour;
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

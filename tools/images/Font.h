// Font: a TrueType face read from disk and drawn with stb_truetype into a Canvas's alpha.
#pragma once

#include "Canvas.h"

#include <stb_truetype.h> // Required for: stbtt_fontinfo

#include <string> // Required for: std::string
#include <vector> // Required for: std::vector

class Font
{
public:
	// Throws Tarn::Exception when the file is missing or is not a font.
	explicit Font(const std::string& path);

	Font(const Font&) = delete;
	Font& operator=(const Font&) = delete;

	// Size is the em size in pixels; tracking is extra space after each letter, in ems.
	float measure(const std::string& text, float size, float tracking) const;

	// Height of the lower-case x above the baseline, in pixels.
	float xHeight(float size) const;

	// Draws text starting at x on the given baseline, keeping the brightest coverage where
	// letters overlap. With onlyIndex >= 0 the layout is the whole text's but just that
	// letter is drawn.
	void draw(Canvas& canvas, const std::string& text, float x, float baseline, float size, float tracking,
		int onlyIndex = -1) const;

private:
	float advance(const std::string& text, size_t index, float scale, float tracking, float size) const;

	std::vector<unsigned char> data;
	stbtt_fontinfo info;
};

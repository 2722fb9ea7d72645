// The credit images: light lower-case type with a soft glow on a transparent 16:9 picture.
// The frame stretches each picture over the whole screen (a 16:9 band on 4:3), straight alpha
// blended, so the letters are centred here and drawn at the screen's proportions.
#pragma once

#include "Canvas.h"
#include "Font.h"

#include <string> // Required for: std::string

namespace Credits
{
	const int width = 1280;
	const int height = 720;

	// One name, centred.
	Canvas name(const Font& font, const std::string& text);

	// One large word on its own: the show's name.
	Canvas title(const Font& font, const std::string& text);

	// A large word with a small spaced caption under it (the group's opening).
	Canvas titled(const Font& font, const Font& captionFont, const std::string& text, const std::string& caption);

	// One letter of a word laid out centred on the screen: the pictures of all its letters,
	// drawn at the same place, spell the word together.
	Canvas letterOf(const Font& font, const std::string& word, int index);
}

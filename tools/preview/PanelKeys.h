// The tracks panel's keys, declared once: the panel's key handling, its help line, the
// preview's --help (and so its manual page) and the README's table are all made from this table.
#pragma once

#include <SDL.h>

#include <cstddef> // Required for: size_t
#include <string>

class TrackSheet;

struct PanelKey
{
	// As the help writes the key; empty for a key the row above already names.
	const char* keys;
	const char* help;
	SDL_Keycode key; // SDLK_UNKNOWN: any character of a number (a digit, "." or "-")
	Uint16 modifiers; // exactly these of KMOD_CTRL and KMOD_SHIFT are held
	// False when the key had nothing to do (Escape with nothing to clear quits the preview).
	bool (*command)(TrackSheet& sheet, char typed);
};

extern const PanelKey panelKeys[];
extern const size_t panelKeyCount;

// Runs the command of the key; false when the table has none for it or it did nothing. Only T
// acts while the panel is closed.
bool runPanelKey(TrackSheet& sheet, SDL_Keycode key, Uint16 modifiers);

// "keys: help" for each documented key, each between before and after.
std::string panelKeyText(const std::string& before, const std::string& after);
// The README's table of the panel's keys, in Markdown.
std::string panelKeyMarkdown();

#include "PanelKeys.h"

#include "TrackSheet.h"

namespace
{
	const Uint16 none = 0;
	const Uint16 ctrl = KMOD_CTRL;
	const Uint16 shift = KMOD_SHIFT;

	// The characters of a typed number, from the main keys or the keypad.
	char typedCharacter(SDL_Keycode key)
	{
		if (key >= SDLK_0 && key <= SDLK_9)
			return (char)('0' + (key - SDLK_0));
		if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
			return (char)('1' + (key - SDLK_KP_1));
		if (key == SDLK_KP_0)
			return '0';
		if (key == SDLK_MINUS || key == SDLK_KP_MINUS)
			return '-';
		if (key == SDLK_PERIOD || key == SDLK_KP_PERIOD)
			return '.';
		return 0;
	}

	// Each modifier counts as held whichever side it is on.
	Uint16 heldOf(Uint16 modifiers)
	{
		return (Uint16)(((modifiers & KMOD_CTRL) ? ctrl : 0) | ((modifiers & KMOD_SHIFT) ? shift : 0));
	}
}

const PanelKey panelKeys[] = {
	{ "T", "open or close the tracks panel (the keys below work while it is open)", SDLK_t, none, [](TrackSheet& s, char) { s.toggleOpen(); return true; } },
	{ "Up / Down", "one row; the show moves with the cursor", SDLK_UP, none, [](TrackSheet& s, char) { s.moveRows(-1, false); return true; } },
	{ "", "", SDLK_DOWN, none, [](TrackSheet& s, char) { s.moveRows(1, false); return true; } },
	{ "Page Up / Page Down", "one bar (32 rows)", SDLK_PAGEUP, none, [](TrackSheet& s, char) { s.moveRows(-Show::rowsPerBar, false); return true; } },
	{ "", "", SDLK_PAGEDOWN, none, [](TrackSheet& s, char) { s.moveRows(Show::rowsPerBar, false); return true; } },
	{ "Left / Right", "the previous or next track", SDLK_LEFT, none, [](TrackSheet& s, char) { s.moveColumns(-1, false); return true; } },
	{ "", "", SDLK_RIGHT, none, [](TrackSheet& s, char) { s.moveColumns(1, false); return true; } },
	{ "Ctrl+Up / Ctrl+Down", "the previous or next key of the track", SDLK_UP, ctrl, [](TrackSheet& s, char) { s.moveToKey(-1); return true; } },
	{ "", "", SDLK_DOWN, ctrl, [](TrackSheet& s, char) { s.moveToKey(1); return true; } },
	{ "Shift+arrows, Shift+Page Up/Down", "select a block across rows and tracks", SDLK_UP, shift, [](TrackSheet& s, char) { s.moveRows(-1, true); return true; } },
	{ "", "", SDLK_DOWN, shift, [](TrackSheet& s, char) { s.moveRows(1, true); return true; } },
	{ "", "", SDLK_LEFT, shift, [](TrackSheet& s, char) { s.moveColumns(-1, true); return true; } },
	{ "", "", SDLK_RIGHT, shift, [](TrackSheet& s, char) { s.moveColumns(1, true); return true; } },
	{ "", "", SDLK_PAGEUP, shift, [](TrackSheet& s, char) { s.moveRows(-Show::rowsPerBar, true); return true; } },
	{ "", "", SDLK_PAGEDOWN, shift, [](TrackSheet& s, char) { s.moveRows(Show::rowsPerBar, true); return true; } },
	{ "0-9 . -", "type a value (Backspace: erase a character); any float, written back exactly", SDLK_UNKNOWN, none, [](TrackSheet& s, char c) { s.type(c); return true; } },
	{ "", "", SDLK_BACKSPACE, none, [](TrackSheet& s, char) { s.eraseTyped(); return true; } },
	{ "Enter", "set the typed value as the row's key; alone: a key of the value there now (a key stays as it is)", SDLK_RETURN, none, [](TrackSheet& s, char) { s.enter(); return true; } },
	{ "", "", SDLK_KP_ENTER, none, [](TrackSheet& s, char) { s.enter(); return true; } },
	{ "Escape", "drop the typed value, else the selection, else quit the preview", SDLK_ESCAPE, none, [](TrackSheet& s, char) { return s.escape(); } },
	{ "Delete", "remove the keys under the cursor or the selection", SDLK_DELETE, none, [](TrackSheet& s, char) { s.removeSelected(); return true; } },
	{ "I", "cycle the interpolation: step, linear, smooth, ramp", SDLK_i, none, [](TrackSheet& s, char) { s.cycleInterpolation(); return true; } },
	{ "[ / ]", "nudge the selected keys by -/+0.1", SDLK_LEFTBRACKET, none, [](TrackSheet& s, char) { s.nudge(-0.1); return true; } },
	{ "", "", SDLK_RIGHTBRACKET, none, [](TrackSheet& s, char) { s.nudge(0.1); return true; } },
	{ "Ctrl+[ / Ctrl+]", "nudge by -/+0.01", SDLK_LEFTBRACKET, ctrl, [](TrackSheet& s, char) { s.nudge(-0.01); return true; } },
	{ "", "", SDLK_RIGHTBRACKET, ctrl, [](TrackSheet& s, char) { s.nudge(0.01); return true; } },
	{ "Shift+[ / Shift+]", "nudge by -/+1", SDLK_LEFTBRACKET, shift, [](TrackSheet& s, char) { s.nudge(-1.0); return true; } },
	{ "", "", SDLK_RIGHTBRACKET, shift, [](TrackSheet& s, char) { s.nudge(1.0); return true; } },
	{ "Ctrl+Shift+[ / ]", "nudge by -/+10", SDLK_LEFTBRACKET, ctrl | shift, [](TrackSheet& s, char) { s.nudge(-10.0); return true; } },
	{ "", "", SDLK_RIGHTBRACKET, ctrl | shift, [](TrackSheet& s, char) { s.nudge(10.0); return true; } },
	{ "Ctrl+C", "copy the block", SDLK_c, ctrl, [](TrackSheet& s, char) { s.copy(); return true; } },
	{ "Ctrl+X", "cut the block", SDLK_x, ctrl, [](TrackSheet& s, char) { s.cut(); return true; } },
	{ "Ctrl+V", "paste at the cursor; what falls past the show's last row or last track is left out", SDLK_v, ctrl, [](TrackSheet& s, char) { s.paste(); return true; } },
	{ "Ctrl+Z", "undo (1000 steps)", SDLK_z, ctrl, [](TrackSheet& s, char) { s.undo(); return true; } },
	{ "Ctrl+Shift+Z", "redo", SDLK_z, ctrl | shift, [](TrackSheet& s, char) { s.redo(); return true; } },
};
const size_t panelKeyCount = sizeof panelKeys / sizeof panelKeys[0];

bool runPanelKey(TrackSheet& sheet, SDL_Keycode key, Uint16 modifiers)
{
	const Uint16 held = heldOf(modifiers);
	const char typed = typedCharacter(key);
	for (const PanelKey& entry : panelKeys)
	{
		const bool matches = entry.key == SDLK_UNKNOWN ? typed != 0 : entry.key == key;
		if (!matches || entry.modifiers != held || (!sheet.isOpen() && entry.key != SDLK_t))
			continue;
		return entry.command(sheet, typed);
	}
	return false;
}

std::string panelKeyText(const std::string& before, const std::string& after)
{
	std::string text;
	for (const PanelKey& entry : panelKeys)
		if (*entry.keys)
			text += before + entry.keys + ": " + entry.help + after;
	return text;
}

std::string panelKeyMarkdown()
{
	std::string text = "| Key | Does |\n|---|---|\n";
	for (const PanelKey& entry : panelKeys)
		if (*entry.keys)
			text += std::string("| ") + entry.keys + " | " + entry.help + " |\n";
	return text;
}

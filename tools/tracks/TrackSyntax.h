// The words of the track text form: positions, values, interpolation types and track names.
// Each parser returns false (with a reason) instead of guessing at text it does not understand.
#pragma once

#include <Show.h>
#include <SyncKey.h>

#include <array>
#include <cstdint> // Required for: int32_t
#include <string>

using Show::beatsPerBar;
using Show::rowsPerBeat;

// A row ("140", "-8") or bar:beat ("4:0", "4:2.5") that lands on a whole row.
bool parsePosition(const std::string& text, int32_t& row, std::string& reason);

// A decimal number that fits a float ("70", "-0.25", "1.5e-3").
bool parseValue(const std::string& text, float& value, std::string& reason);

// "step", "linear", "smooth" or "ramp".
bool parseKeyType(const std::string& text, SyncKeyType& type);

// The text form's word for a key type, or null for a type outside the four.
const char* keyTypeName(int32_t type);

// A name that can become the file "_NAME.track" on any system the data is read on, and whose
// path under "Data/" fits the player's path buffer.
bool checkTrackName(const std::string& name, std::string& reason);

// Plain decimal, never exponent form, with the fewest digits that read back as exactly this float.
std::string formatValue(float value);
// The same into text, for a caller that must not allocate; the longest (3.4e38 written out,
// the smallest subnormal) fit.
using ValueText = std::array<char, 64>;
const char* formatValue(float value, ValueText& text);


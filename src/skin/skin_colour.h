// Conversion between the skin file's 15-bit colour texts ("0x7fff", red in bits 0-4) and the
// packed 24-bit colours the program holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/image.h"

namespace skin {

// Reads a colour text: every "0x" is removed, the last four characters are kept (fewer are padded
// with "0" on the left) and read as hexadecimal up to the first non-digit. Each 5-bit field becomes
// a channel shifted left by 3 (31 gives 248); bit 15 is dropped. Never fails: no digits give black.
imaging::Rgb ParseSkinColour(std::string_view text);

// Reads a colour code as a person types or pastes it: the skin file's notation ("0x" or "0X" and one
// to four hexadecimal digits up to 0x7fff, read as ParseSkinColour reads them) or "#" and six or
// three hexadecimal digits (#RRGGBB, #RGB), each channel rounded to the nearest of the 32 steps the
// skin file holds (0 to 248). Blanks around the code are ignored; anything else, including a longer
// text and a code with bit 15 set, is no colour.
std::optional<imaging::Rgb> ParseColourCode(std::string_view text);

// Writes a colour as "0x" and four lower-case hexadecimal digits, keeping the top five bits of each
// channel (no rounding) and bit 15 clear.
std::string FormatSkinColour(imaging::Rgb colour);

// The colour with each channel cut to its top five bits, as the skin file will store it.
constexpr imaging::Rgb QuantiseToRgb555(imaging::Rgb colour) { return colour & 0xF8F8F8; }

}  // namespace skin

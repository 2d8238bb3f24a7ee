// Reading uisettings.ini into a SkinDocument.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "skin/skin_document.h"

namespace skin {

// The largest uisettings.ini the program opens, and so the largest it writes. Real ones are about
// 5 kB.
inline constexpr std::uint64_t kMaxSettingsFileBytes = 1024 * 1024;

// Sets every field of `doc` that the settings text names; everything else keeps its value, except
// x and y of [file handle menu], which become 0 when the text does not set them. Lines end with
// CR LF, LF or a lone CR; a last line without a line end is not read. Key names and headers are
// matched with spaces removed and without regard to case. The [SkinInfo] texts are decoded from
// `code_page` (see code_page.h). Never fails and reports nothing.
void ReadSkinSettings(std::span<const std::uint8_t> bytes, SkinDocument& doc, int code_page);

// The reader's number rule: leading blanks and tabs skipped, an optional sign, then "$" for
// hexadecimal, "%" for binary or decimal digits, read up to the first character that does not fit.
// No digits give 0; the result wraps to a signed 32-bit integer.
std::int32_t ParseSkinNumber(std::string_view text);

}  // namespace skin

// The 8-bit Windows code page that the texts of uisettings.ini are stored in. Skins are made on
// Windows desktops, whose settings files use the system's ANSI code page; the program picks the one
// that belongs to the user's locale and converts with iconv.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skin {

inline constexpr int kDefaultCodePage = 1252;

// The Windows code page of a POSIX locale name such as "zh_CN.UTF-8": 936 for Simplified Chinese,
// 950 for Traditional Chinese, 932 for Japanese, 949 for Korean, 1251 for Cyrillic languages and
// 1252 for everything else, "C" and "" included.
int AnsiCodePageForLocale(std::string_view locale);

// AnsiCodePageForLocale of the locale the environment selects for character handling (LC_ALL,
// then LC_CTYPE, then LANG).
int AnsiCodePageFromEnvironment();

// The length of the well-formed UTF-8 character at the start of `text`: 1 for an ASCII byte, 2 to
// 4 for a longer sequence, 0 when it is malformed (a stray continuation byte, an overlong form, a
// surrogate, beyond U+10FFFF, or cut short by the end of `text`) and for an empty `text`.
std::size_t Utf8CharLength(std::string_view text);

// Decodes bytes in `code_page` to UTF-8. A byte sequence the code page does not define becomes
// U+FFFD and decoding goes on with the next byte.
std::string DecodeAnsi(std::string_view bytes, int code_page);

// Encodes UTF-8 text in `code_page`. A character the code page cannot hold, and a malformed UTF-8
// sequence, becomes "?".
std::string EncodeAnsi(std::string_view utf8, int code_page);

}  // namespace skin

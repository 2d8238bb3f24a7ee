// The 8-bit Windows code pages that the texts of uisettings.ini (the system's ANSI code page) and
// the names in ZIP archives (the DOS page 437) are stored in, and UTF-8, which the program holds
// every text in. Converted through iconv on POSIX systems and the Win32 functions on Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

inline constexpr int kDefaultCodePage = 1252;

// The Windows code page of a POSIX locale name such as "zh_CN.UTF-8": 936 for Simplified Chinese,
// 950 for Traditional Chinese, 932 for Japanese, 949 for Korean, 1251 for Cyrillic languages and
// 1252 for everything else, "C" and "" included.
int AnsiCodePageForLocale(std::string_view locale);

// The user's ANSI code page: GetACP() on Windows; elsewhere AnsiCodePageForLocale of the locale
// the environment selects for character handling (LC_ALL, then LC_CTYPE, then LANG).
int SystemAnsiCodePage();

// The length of the well-formed UTF-8 character at the start of `text`: 1 for an ASCII byte, 2 to
// 4 for a longer sequence, 0 when it is malformed (a stray continuation byte, an overlong form, a
// surrogate, beyond U+10FFFF, or cut short by the end of `text`) and for an empty `text`.
std::size_t Utf8CharLength(std::string_view text);

// Decodes bytes in `code_page` (437, 932, 936, 949, 950, 1251 or 1252; any other is read as 1252)
// to UTF-8. A byte sequence the code page does not define becomes U+FFFD and decoding goes on with
// the next byte. C1 control characters count as undefined, as they are in the code pages' tables.
std::string DecodeAnsi(std::string_view bytes, int code_page);

// Encodes UTF-8 text in `code_page`. A character the code page cannot hold (a C1 control character
// among them), and a malformed UTF-8 sequence, becomes "?".
std::string EncodeAnsi(std::string_view utf8, int code_page);

namespace detail {
// The system's conversions of text that is not all ASCII, with the replacements above.
std::string DecodeNonAscii(std::string_view bytes, int code_page);
std::string EncodeNonAscii(std::string_view utf8, int code_page);
// The code page the conversions take: `code_page` when it is one of those above, else 1252.
int SupportedCodePage(int code_page);
// Length of the UTF-8 sequence that starts with `lead`, 1 for a byte that cannot start one: how
// far an encoder skips at a malformed sequence.
std::size_t Utf8LeadLength(unsigned char lead);
}  // namespace detail

}  // namespace base

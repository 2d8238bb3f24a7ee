// What the Win32 implementations of the platform layer share: UTF-8 and UTF-16 text and paths.
// Only included by the *_win32.cpp sources.
#pragma once

#include <string>
#include <string_view>

namespace base::detail {

// UTF-16 of UTF-8 text (a malformed sequence becomes U+FFFD) and UTF-8 of UTF-16 text (an unpaired
// surrogate becomes U+FFFD).
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The path as the Win32 functions take it: UTF-16, "\" between folders.
std::wstring WidePath(std::string_view utf8);

}  // namespace base::detail

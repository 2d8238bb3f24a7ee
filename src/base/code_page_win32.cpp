// Code page conversion through MultiByteToWideChar and WideCharToMultiByte, one character at a
// time so that each one the code page lacks gets its own replacement; the ANSI code page from
// GetACP().
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "base/code_page.h"
#include "base/win32_internal.h"

namespace base {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsC1Control(std::uint32_t c) { return c >= 0x80 && c <= 0x9F; }

}  // namespace

int SystemAnsiCodePage() { return static_cast<int>(::GetACP()); }

namespace detail {

std::string DecodeNonAscii(std::string_view bytes, int code_page) {
  const UINT page = static_cast<UINT>(code_page);
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    const std::size_t length = i + 1 < bytes.size() && ::IsDBCSLeadByteEx(page, lead) ? 2 : 1;
    wchar_t wide[2];
    const int n = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data() + i,
                                        static_cast<int>(length), wide, 2);
    // The Win32 tables give the bytes that a code page leaves undefined the C1 control of the same
    // number; those are no text.
    if (n <= 0 || (n == 1 && (IsC1Control(wide[0]) || (length == 2 && wide[0] == L'?')))) {
      out += kReplacementCharacter;
      ++i;
      continue;
    }
    out += Utf8FromWide(std::wstring_view(wide, static_cast<std::size_t>(n)));
    i += length;
  }
  return out;
}

std::string EncodeNonAscii(std::string_view utf8, int code_page) {
  const UINT page = static_cast<UINT>(code_page);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = Utf8CharLength(utf8.substr(i));
    if (length == 0) {
      out += '?';
      i += std::min(utf8.size() - i, Utf8LeadLength(static_cast<unsigned char>(utf8[i])));
      continue;
    }
    if (length == 1) {
      out += utf8[i++];
      continue;
    }
    const std::wstring wide = WideFromUtf8(utf8.substr(i, length));
    i += length;
    char bytes[8];
    BOOL used_default = FALSE;
    const int n = ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(),
                                        static_cast<int>(wide.size()), bytes, sizeof bytes, "?",
                                        &used_default);
    if (n <= 0 || used_default || (wide.size() == 1 && IsC1Control(wide[0]))) {
      out += '?';
    } else {
      out.append(bytes, static_cast<std::size_t>(n));
    }
  }
  return out;
}

}  // namespace detail
}  // namespace base

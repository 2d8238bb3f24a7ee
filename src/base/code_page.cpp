// Code page rules that are the same on every system.
#include "base/code_page.h"

#include <algorithm>

namespace base {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

int AnsiCodePageForLocale(std::string_view locale) {
  const std::string_view lang = locale.substr(0, locale.find_first_of("_.@"));
  if (lang == "zh") {
    for (std::string_view region : {"_TW", "_HK", "_MO"}) {
      if (locale.find(region) != std::string_view::npos) return 950;
    }
    return 936;
  }
  if (lang == "ja") return 932;
  if (lang == "ko") return 949;
  if (locale.find("@latin") != std::string_view::npos) return kDefaultCodePage;
  for (std::string_view cyrillic :
       {"ru", "uk", "be", "bg", "sr", "mk", "kk", "ky", "mn", "tt", "ba", "tg"}) {
    if (lang == cyrillic) return 1251;
  }
  return kDefaultCodePage;
}

std::size_t Utf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  // The range of the second byte: narrower after E0 and F0 (no overlong forms), ED (no
  // surrogates) and F4 (nothing beyond U+10FFFF). C0, C1 and F5 to FF start no character.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::string DecodeAnsi(std::string_view bytes, int code_page) {
  if (IsAscii(bytes)) return std::string(bytes);
  return detail::DecodeNonAscii(bytes, detail::SupportedCodePage(code_page));
}

std::string EncodeAnsi(std::string_view utf8, int code_page) {
  if (IsAscii(utf8)) return std::string(utf8);
  return detail::EncodeNonAscii(utf8, detail::SupportedCodePage(code_page));
}

namespace detail {

int SupportedCodePage(int code_page) {
  switch (code_page) {
    case 437:  // the DOS code page of ZIP entry names
    case 932:
    case 936:
    case 949:
    case 950:
    case 1251:
    case 1252:
      return code_page;
    default:
      return kDefaultCodePage;
  }
}

std::size_t Utf8LeadLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace detail
}  // namespace base

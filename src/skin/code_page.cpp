// Code page conversion through glibc's iconv.
#include "skin/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace skin {
namespace {

std::string IconvName(int code_page) {
  switch (code_page) {
    case 437:  // the DOS code page of ZIP entry names
    case 932:
    case 936:
    case 949:
    case 950:
    case 1251:
    case 1252:
      return "CP" + std::to_string(code_page);
    default:
      return "CP1252";
  }
}

// Length of the UTF-8 sequence that starts with `lead`, 1 for a byte that cannot start one.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; at every sequence iconv rejects, appends `replacement` and skips the number of
  // input bytes `skip` gives for the byte where the sequence starts.
  template <typename Skip>
  std::string Run(std::string_view in, std::string_view replacement, Skip skip) {
    std::string out;
    std::array<char, 256> buffer;
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    while (src_left > 0) {
      char* dst = buffer.data();
      std::size_t dst_left = buffer.size();
      const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer.data(), buffer.size() - dst_left);
      if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ, or EINVAL for a sequence cut off by the end of the text.
      out += replacement;
      const std::size_t n = std::min(src_left, skip(static_cast<unsigned char>(*src)));
      src += n;
      src_left -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

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

int AnsiCodePageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return AnsiCodePageForLocale(value);
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
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(bytes);
  Converter converter("UTF-8", IconvName(code_page));
  if (!converter.Ok()) return std::string(bytes);
  return converter.Run(bytes, "\xEF\xBF\xBD", [](unsigned char) -> std::size_t { return 1; });
}

std::string EncodeAnsi(std::string_view utf8, int code_page) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  Converter converter(IconvName(code_page), "UTF-8");
  if (!converter.Ok()) return std::string(utf8);
  return converter.Run(utf8, "?", Utf8Length);
}

}  // namespace skin

// Code page conversion through glibc's iconv; the ANSI code page from the locale's name.
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "base/code_page.h"

namespace base {
namespace {

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

std::string IconvName(int code_page) { return "CP" + std::to_string(code_page); }

}  // namespace

int SystemAnsiCodePage() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return AnsiCodePageForLocale(value);
  }
  return kDefaultCodePage;
}

namespace detail {

std::string DecodeNonAscii(std::string_view bytes, int code_page) {
  Converter converter("UTF-8", IconvName(code_page));
  if (!converter.Ok()) return std::string(bytes);
  return converter.Run(bytes, "\xEF\xBF\xBD", [](unsigned char) -> std::size_t { return 1; });
}

std::string EncodeNonAscii(std::string_view utf8, int code_page) {
  Converter converter(IconvName(code_page), "UTF-8");
  if (!converter.Ok()) return std::string(utf8);
  return converter.Run(utf8, "?", Utf8LeadLength);
}

}  // namespace detail
}  // namespace base

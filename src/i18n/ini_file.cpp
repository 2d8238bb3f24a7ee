// INI parsing.
#include "i18n/ini_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/file_io.h"

namespace i18n {
namespace {

constexpr std::uint64_t kMaxIniBytes = 4 * 1024 * 1024;

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

}  // namespace

bool WriteSettingsFile(const std::string& path, std::string_view text) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    std::error_code ignored;  // a folder that cannot be made shows in the write
    std::filesystem::create_directories(path.substr(0, slash), ignored);
  }
  return base::WriteFileAtomically(
      path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

int ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
  }
  return static_cast<int>(negative ? 0u - value : value);
}

IniFile IniFile::Parse(std::span<const std::uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const bool utf8 = text.starts_with("\xEF\xBB\xBF");
  if (utf8) text.remove_prefix(3);
  const std::string decoded = utf8 ? std::string(text) : Latin1ToUtf8(text);

  IniFile ini;
  Group* current = nullptr;  // nullptr before the first group and inside a repeated group
  std::string_view rest = decoded;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    if (end == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    line.remove_prefix(start);
    if (line.front() == ';') continue;
    if (line.front() == '[') {
      const std::string_view name = line.substr(1, line.find(']') - 1);
      current = nullptr;
      bool seen = false;
      for (const Group& g : ini.groups_) seen = seen || EqualsIgnoringCase(g.name, name);
      if (!seen) {
        ini.groups_.push_back({std::string(name), {}});
        current = &ini.groups_.back();
      }
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    bool seen = false;
    for (const Entry& e : current->entries) seen = seen || EqualsIgnoringCase(e.key, key);
    if (!seen)
      current->entries.push_back({std::string(key), std::string(Trim(line.substr(eq + 1)))});
  }
  return ini;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kMaxIniBytes) return std::nullopt;
  }
  return Parse(bytes);
}

std::optional<std::string> IniFile::Value(std::string_view group, std::string_view key) const {
  for (const Group& g : groups_) {
    if (!EqualsIgnoringCase(g.name, group)) continue;
    for (const Entry& e : g.entries) {
      if (EqualsIgnoringCase(e.key, key)) return e.value;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace i18n

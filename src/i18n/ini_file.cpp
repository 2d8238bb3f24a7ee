// INI parsing.
#include "i18n/ini_file.h"

#include <algorithm>
#include <utility>

#include "base/file_io.h"
#include "base/paths.h"

namespace i18n {
namespace {

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
  if (first == std::string_view::npos) return s.substr(s.size());  // empty, but still within s
  const std::size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

}  // namespace

bool WriteSettingsFile(const std::string& path, std::string_view text) {
  // A folder that cannot be made shows in the write.
  if (const std::string_view folder = base::FolderOf(path); !folder.empty()) {
    base::MakeFolders(std::string(folder));
  }
  return base::WriteFileAtomically(
      path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const auto upper = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? u - 32 : u;
  };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]) ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
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

  IniFile ini;
  ini.text_ = utf8 ? std::string(text) : Latin1ToUtf8(text);
  const std::string_view decoded = ini.text_;
  const auto range = [&](std::string_view part) {
    return Range{static_cast<std::size_t>(part.data() - decoded.data()), part.size()};
  };

  // Every group line opens a block; the entries of a block follow each other in entries_.
  struct Block {
    Range name;
    std::size_t first_entry;
  };
  std::vector<Block> blocks;
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
      blocks.push_back({range(line.substr(1, line.find(']') - 1)), ini.entries_.size()});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (blocks.empty() || eq == std::string_view::npos) continue;
    ini.entries_.push_back(
        {blocks.back().name, range(Trim(line.substr(0, eq))), range(Trim(line.substr(eq + 1)))});
  }

  // Of blocks with equal names only the first counts: a stable sort puts it first among them.
  std::vector<std::size_t> order(blocks.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return CompareIgnoringCase(ini.View(blocks[a].name), ini.View(blocks[b].name)) < 0;
  });
  std::vector<bool> counts(blocks.size(), false);
  for (std::size_t i = 0; i < order.size(); ++i) {
    counts[order[i]] = i == 0 || !EqualsIgnoringCase(ini.View(blocks[order[i]].name),
                                                     ini.View(blocks[order[i - 1]].name));
  }
  std::vector<Entry> kept;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const std::size_t end = b + 1 < blocks.size() ? blocks[b + 1].first_entry : ini.entries_.size();
    if (counts[b]) {
      kept.insert(kept.end(),
                  ini.entries_.begin() + static_cast<std::ptrdiff_t>(blocks[b].first_entry),
                  ini.entries_.begin() + static_cast<std::ptrdiff_t>(end));
    }
  }

  // Of equal keys in a group the first counts: a stable sort keeps the file's order among them,
  // and unique keeps the first of each run.
  const auto compare = [&](const Entry& a, const Entry& b) {
    const int by_group = CompareIgnoringCase(ini.View(a.group), ini.View(b.group));
    return by_group != 0 ? by_group : CompareIgnoringCase(ini.View(a.key), ini.View(b.key));
  };
  std::stable_sort(kept.begin(), kept.end(),
                   [&](const Entry& a, const Entry& b) { return compare(a, b) < 0; });
  kept.erase(std::unique(kept.begin(), kept.end(),
                         [&](const Entry& a, const Entry& b) { return compare(a, b) == 0; }),
             kept.end());
  ini.entries_ = std::move(kept);
  return ini;
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  const base::ReadResult file = base::ReadWholeFile(path, kMaxIniFileBytes);
  if (file.status != base::ReadStatus::kOk) return std::nullopt;
  return Parse(file.bytes);
}

std::string_view IniFile::View(Range range) const {
  return std::string_view(text_).substr(range.begin, range.size);
}

std::optional<std::string> IniFile::Value(std::string_view group, std::string_view key) const {
  const auto found = std::lower_bound(
      entries_.begin(), entries_.end(), std::pair(group, key),
      [&](const Entry& e, const std::pair<std::string_view, std::string_view>& wanted) {
        const int by_group = CompareIgnoringCase(View(e.group), wanted.first);
        return by_group != 0 ? by_group < 0 : CompareIgnoringCase(View(e.key), wanted.second) < 0;
      });
  if (found == entries_.end() || !EqualsIgnoringCase(View(found->group), group) ||
      !EqualsIgnoringCase(View(found->key), key)) {
    return std::nullopt;
  }
  return std::string(View(found->value));
}

}  // namespace i18n

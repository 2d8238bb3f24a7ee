// The INI reader of language files and the program settings file, and the writer of whole files
// of settings.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace i18n {

// A parsed INI text. Syntax: a UTF-8 byte-order mark means UTF-8, otherwise every byte is one
// ISO 8859-1 character; lines end with LF, CR LF or CR; blanks and tabs at the start of a line are
// skipped; ";" starts a comment line; "[name]" starts a group (the rest of the line after "]" is
// ignored); any other line is key "=" value, with blanks and tabs trimmed around both. Group and
// key names compare without regard to ASCII case; of two equal groups, or two equal keys in one
// group, the first counts.
class IniFile {
 public:
  // Parses `bytes` in O(n log n) time, whatever the number of groups and keys; never fails.
  static IniFile Parse(std::span<const std::uint8_t> bytes);

  // Reads the file at `path` through base::ReadWholeFile: nothing when it is missing, unreadable,
  // not a regular file (a named pipe or a device is never opened so that it could block) or larger
  // than kMaxIniFileBytes.
  static std::optional<IniFile> Load(const std::string& path);

  // The value of `key` in `group` as UTF-8, or nothing when either is missing. A key present with
  // an empty value gives "". O(log n).
  std::optional<std::string> Value(std::string_view group, std::string_view key) const;

 private:
  struct Range {
    std::size_t begin = 0;
    std::size_t size = 0;
  };
  struct Entry {
    Range group;
    Range key;
    Range value;
  };
  std::string_view View(Range range) const;

  std::string text_;  // the decoded text, UTF-8; the entries point into it
  // Sorted by group, then key, without regard to ASCII case; one per pair, the one that counts.
  std::vector<Entry> entries_;
};

// The largest settings or language file that is read: far beyond any real one (the shipped language
// files have some 10 KB each).
inline constexpr std::uint64_t kMaxIniFileBytes = 1024 * 1024;

// Writes `text` as the whole file at `path`, creating its folder and all missing parents first (on
// a fresh account not even ~/.config may exist). The file is replaced only once the new one is
// complete: a crash or a full disk leaves the old file as it was. False when it cannot be written;
// nothing is reported.
bool WriteSettingsFile(const std::string& path, std::string_view text);

// ASCII-case-insensitive equality.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// ASCII-case-insensitive order: negative, 0 or positive as `a` sorts before, with or after `b`.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// The leading decimal number of `text`: blanks skipped, optional sign, digits up to the first other
// character; no digits give 0.
int ParseDecimal(std::string_view text);

}  // namespace i18n

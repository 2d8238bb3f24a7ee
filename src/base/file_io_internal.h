// What the POSIX and the Win32 implementations of base/file_io.h share: the rules for temporary
// names and single names. Only included by the file_io sources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace base::detail {

inline constexpr std::string_view kTemporaryMark = ".skinsmith-";
inline constexpr std::size_t kTemporaryRandom = 6;  // the letters and digits in place of XXXXXX
// How many names a write tries for its temporary before it gives up; each try clashes only with a
// file that has the same six random characters.
inline constexpr int kTemporaryTries = 100;

// The temporary's name for the file `name` without its six random characters.
std::string TemporaryPrefix(std::string_view name);

// Whether `entry` is a name TemporaryNameFor gives for the file `file_name`.
bool IsLeftoverOf(std::string_view entry, std::string_view file_name);

// Whether `name` is a single name within a folder, which cannot lead anywhere else.
bool IsPlainName(std::string_view name);

// Six random letters and digits for a temporary's name.
std::string RandomCharacters();

// Fills `bytes` from the system's random source; false when it has none to give now.
bool SystemRandomBytes(std::span<std::uint8_t> bytes);

// Runs `write` for the temporary names of `name` until one is new: `write` returns 1 when it made
// and wrote the temporary, 0 when the name was taken, -1 when it failed otherwise. The temporary's
// name when one was written, "" when none was.
template <typename Write>
std::string WriteNewTemporary(std::string_view name, Write write) {
  const std::string prefix = TemporaryPrefix(name);
  for (int tries = 0; tries < kTemporaryTries; ++tries) {
    std::string temp = prefix + RandomCharacters();
    const int made = write(temp);
    if (made > 0) return temp;
    if (made < 0) return {};
  }
  return {};
}

}  // namespace base::detail

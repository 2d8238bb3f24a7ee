// The program's built-in files (default skin pictures, hinge, banner, preview font), compiled in
// from assets/ so that nothing is read from disk at run time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace assets {

struct EmbeddedFile {
  std::string_view name;  // path relative to assets/, with "/" between folders
  std::span<const unsigned char> data;
};

// Every embedded file, in the order the build listed them.
std::span<const EmbeddedFile> EmbeddedFiles();

// The bytes of the file at `name` (relative to assets/), or an empty span when there is none.
std::span<const std::uint8_t> FindEmbeddedFile(std::string_view name);

}  // namespace assets

// Lookup of the compiled-in asset files by name.
#include "embedded.h"

namespace assets {

std::span<const std::uint8_t> FindEmbeddedFile(std::string_view name) {
  for (const EmbeddedFile& file : EmbeddedFiles()) {
    if (file.name == name) return {file.data.data(), file.data.size()};
  }
  return {};
}

}  // namespace assets

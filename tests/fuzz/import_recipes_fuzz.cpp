// Fuzz target: any bytes as a skin's recipe file. Whatever is read lies within the settings'
// ranges, and writing it and reading it again gives what the first writing gave.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "session/import_recipes.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

#ifdef _WIN32
constexpr std::string_view kFolder = "C:/skins/mine/";
#else
constexpr std::string_view kFolder = "/skins/mine/";
#endif

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const session::ParsedRecipes read = session::ParseImportRecipes({data, size}, kFolder);
  for (const session::SlotRecipe& r : read.recipes) {
    const imaging::FitSettings& s = r.recipe.settings;
    Check(!r.recipe.path.empty() && r.recipe.path.find('\0') == std::string::npos);
    Check(s.width >= 0 && s.width <= 4096 && s.height >= 0 && s.height <= 4096);
    Check(s.zoom >= 1 && s.zoom <= imaging::kMaxZoom && s.strength >= 0 && s.strength <= 100);
    Check(s.focus_x >= 0 && s.focus_x <= 1 && s.focus_y >= 0 && s.focus_y <= 1);
    if (s.key) Check(s.key->tolerance >= 0 && s.key->tolerance <= imaging::kMaxKeyTolerance);
  }
  const std::string once = session::FormatImportRecipes(read.recipes, kFolder);
  const session::ParsedRecipes again = session::ParseImportRecipes(Bytes(once), kFolder);
  Check(again.unread == 0 && again.recipes.size() == read.recipes.size());
  Check(session::FormatImportRecipes(again.recipes, kFolder) == once);
  return 0;
}

// The import recipes kept beside a skin: for each slot whose picture was fitted from a file, the
// file and the settings that fitted it, so that Adjust import on a reopened skin starts from the
// original picture. They live in a small text file of the skin folder that the console's menu does
// not read and that an export leaves out.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/image.h"
#include "imaging/picture_fit.h"
#include "skin/skin_tables.h"

namespace session {

// How a slot's picture was imported: the file (an absolute path, or as the user gave it) and the
// settings that fitted it into the slot.
struct ImportRecipe {
  std::string path;
  imaging::FitSettings settings;

  friend bool operator==(const ImportRecipe&, const ImportRecipe&) = default;
};

inline constexpr std::string_view kRecipeFileName = "skinsmith-recipes.ini";
// Far above what 53 recipes take, even with long paths.
inline constexpr std::uint64_t kMaxRecipeFileBytes = 256 * 1024;

// A 64-bit digest of a picture's size and pixels, which tells whether a slot still holds the
// picture a recipe made.
std::uint64_t PictureDigest(const imaging::Image& picture);

struct SlotRecipe {
  skin::SlotId slot{};
  ImportRecipe recipe;
  std::uint64_t picture = 0;  // PictureDigest of the picture the recipe made

  friend bool operator==(const SlotRecipe&, const SlotRecipe&) = default;
};

// The recipe file of a skin in the absolute `folder`: a section named by each slot's picture file
// ("[upper_screen.bmp]", "[icon/nds.bmp]") with its source, its picture's digest and every
// setting. A source inside the folder or beside it (in the folder that holds it) is written
// relative to the folder (base::NearRelativePath), any other as its path. Lines end in CR LF.
std::string FormatImportRecipes(std::span<const SlotRecipe> recipes, std::string_view folder);

// The recipes that `text` holds for a skin in the absolute `folder`, relative sources resolved
// against it (base::ResolveNearPath). A section with a line that cannot be read (a section that
// names no slot or a slot named before, a setting out of its range or not a number, a source that
// climbs above the folder beside the skin, a network path or a path with a NUL, a line that is not
// a setting) or without a source or a digest is left out and counted in `unread`; keys the reader
// does not know are passed over, as a newer editor may write them.
struct ParsedRecipes {
  std::vector<SlotRecipe> recipes;
  int unread = 0;  // sections and lines outside a section that were left out
};
ParsedRecipes ParseImportRecipes(std::span<const std::uint8_t> text, std::string_view folder);

}  // namespace session

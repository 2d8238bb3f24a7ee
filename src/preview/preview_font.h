// The preview font, Quillmark: a pixel font drawn monochrome at 8 pixels per em through FreeType,
// so that preview texts look the same on every machine.
#pragma once

#include <string>
#include <string_view>

#include "imaging/image.h"
#include "preview/draw.h"

namespace preview {

// The height of a line of text: glyphs reach from the cell's top to this many pixels below it.
inline constexpr int kTextCellHeight = 12;

// The width of `text` (UTF-8) in pixels: the sum of its characters' advances.
int TextWidth(std::string_view text);

// Draws `text` (UTF-8) with its cell's top-left corner at (x, y) in `ink`; only the glyphs' pixels
// are painted, clipped to `target`.
void DrawText(const Target& target, Coord x, Coord y, std::string_view text, Ink ink);

// Shortens `text` from its end until it is narrower than `limit` pixels, removing at least one
// character; an empty text stays empty.
std::string FitText(std::string_view text, Coord limit);

}  // namespace preview

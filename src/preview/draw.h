// Drawing primitives of the preview: keyed pictures, boxes, lines, cut-outs and nearest-pixel
// scaling on 32-bit images. Everything is clipped to the target image.
#pragma once

#include <cstdint>

#include "imaging/image.h"

namespace preview {

// The key that makes pure green (0, 248, 0) and (0, 255, 0) transparent; every other pixel is
// drawn. kNoKey draws every pixel. Any other value makes exactly the pixels of that colour
// transparent.
inline constexpr std::int64_t kDefaultKey = 0xF800;
inline constexpr std::int64_t kNoKey = -1;

// Draws the whole of `picture` with its top-left corner at (x, y) of `target`, leaving out keyed
// pixels and whatever falls outside `target`. An empty picture draws nothing.
void DrawKeyed(imaging::Image& target, const imaging::Image& picture, int x, int y,
               std::int64_t key = kDefaultKey);

// A filled rectangle; a width or height of 0 or less draws nothing.
void FillBox(imaging::Image& target, int x, int y, int width, int height, imaging::Rgb colour);

// A line of the given length to the right (horizontal) or downwards (vertical).
void HorizontalLine(imaging::Image& target, int x, int y, int length, imaging::Rgb colour);
void VerticalLine(imaging::Image& target, int x, int y, int length, imaging::Rgb colour);

// The rectangle of `picture` at (x, y), width x height; pixels outside the picture are black.
// A width or height of 0 or less gives an empty image.
imaging::Image CutOut(const imaging::Image& picture, int x, int y, int width, int height);

// Nearest-pixel scaling from `source_size` pixels to `target_size`: the source pixel whose span
// holds the centre of target pixel `target` (0 to target_size - 1), at most source_size - 1.
// The CLI's scaler and the editor's view share it, so both show the same pixels.
inline int NearestSource(int target, int target_size, int source_size) {
  const std::int64_t source = (2 * static_cast<std::int64_t>(target) + 1) * source_size /
                              (2 * static_cast<std::int64_t>(target_size));
  return source < source_size ? static_cast<int>(source) : source_size - 1;
}

// `source` scaled to width x height, every target pixel taking its nearest source pixel.
imaging::Image ScaleNearest(const imaging::Image& source, int width, int height);

}  // namespace preview

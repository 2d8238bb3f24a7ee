// Drawing primitives of the preview: keyed pictures, parts of pictures, repeated pictures, boxes,
// lines and nearest-pixel scaling on 32-bit images.
//
// Positions and sizes come from a skin's element numbers, which may hold any 32-bit value, and the
// screens add offsets to them. They are therefore taken as 64-bit `Coord`s, in which the few sums
// a screen forms cannot overflow, and every primitive clips to its target before it touches a
// pixel: the work of a call is bounded by the target's size, never by the numbers it is given.
#pragma once

#include <cstdint>

#include "imaging/image.h"

namespace preview {

using Coord = std::int64_t;

// The key that makes pure green (0, 248, 0) and (0, 255, 0) transparent; every other pixel is
// drawn. kNoKey draws every pixel. Any other value makes exactly the pixels of that colour
// transparent.
inline constexpr std::int64_t kDefaultKey = 0xF800;
inline constexpr std::int64_t kNoKey = -1;

// Draws the whole of `picture` with its top-left corner at (x, y) of `target`, leaving out keyed
// pixels and whatever falls outside `target`. An empty picture draws nothing.
void DrawKeyed(imaging::Image& target, const imaging::Image& picture, Coord x, Coord y,
               std::int64_t key = kDefaultKey);

// Draws the width x height rectangle of `picture` whose top-left corner is (part_x, part_y) at
// (x, y) of `target`, as DrawKeyed does. Where the rectangle reaches outside the picture its pixels
// are black. A width or height of 0 or less draws nothing.
void DrawKeyedPart(imaging::Image& target, const imaging::Image& picture, Coord part_x,
                   Coord part_y, Coord width, Coord height, Coord x, Coord y,
                   std::int64_t key = kDefaultKey);

// Draws `picture` `count` times in a row, the i-th copy (from 0) at (x + i, y), each copy over the
// ones before it, with the result of as many DrawKeyed calls. Copies that cannot reach `target` are
// skipped, and without a key only the columns that stay visible are drawn.
void DrawRepeated(imaging::Image& target, const imaging::Image& picture, Coord x, Coord y,
                  Coord count, std::int64_t key = kDefaultKey);

// A filled rectangle; a width or height of 0 or less draws nothing.
void FillBox(imaging::Image& target, Coord x, Coord y, Coord width, Coord height,
             imaging::Rgb colour);

// A line of the given length to the right (horizontal) or downwards (vertical).
void HorizontalLine(imaging::Image& target, Coord x, Coord y, Coord length, imaging::Rgb colour);
void VerticalLine(imaging::Image& target, Coord x, Coord y, Coord length, imaging::Rgb colour);

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

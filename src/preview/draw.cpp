// Drawing primitives. Each one first narrows its work to the part of the target it can reach, in
// 64-bit arithmetic, and only then loops over pixels.
#include "preview/draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace preview {

using imaging::Image;
using imaging::Rgb;

namespace {

// The columns (or rows) i in [0, length) of a run that starts at `at` and lands inside [0, limit).
struct Span {
  Coord first = 0;
  Coord end = 0;  // one past the last
  bool Empty() const { return first >= end; }
};

Span Clip(Coord at, Coord length, Coord limit) {
  return {std::max<Coord>(0, -at), std::min<Coord>(length, limit - at)};
}

bool Keyed(Rgb colour, std::int64_t key) {
  return key == kDefaultKey ? (colour == 0x00F800 || colour == 0x00FF00)
                            : static_cast<std::int64_t>(colour) == key;
}

}  // namespace

void DrawKeyedPart(Image& target, const Image& picture, Coord part_x, Coord part_y, Coord width,
                   Coord height, Coord x, Coord y, std::int64_t key) {
  if (width <= 0 || height <= 0) return;
  const Span columns = Clip(x, width, target.width);
  const Span rows = Clip(y, height, target.height);
  if (columns.Empty() || rows.Empty()) return;
  // The columns whose source lies inside the picture; the others are black.
  const Coord inside_first = std::clamp<Coord>(-part_x, columns.first, columns.end);
  const Coord inside_end = std::clamp<Coord>(picture.width - part_x, inside_first, columns.end);
  const bool black_keyed = Keyed(0, key);
  for (Coord j = rows.first; j < rows.end; ++j) {
    Rgb* row = &target.pixels[static_cast<std::size_t>(y + j) * target.width];
    const Coord py = part_y + j;
    const bool row_inside = py >= 0 && py < picture.height;
    if (!black_keyed) {
      std::fill(row + (x + columns.first), row + (x + (row_inside ? inside_first : columns.end)),
                0);
      if (row_inside) std::fill(row + (x + inside_end), row + (x + columns.end), 0);
    }
    if (!row_inside || inside_first >= inside_end) continue;
    const Rgb* src = &picture.pixels[static_cast<std::size_t>(py) * picture.width +
                                     static_cast<std::size_t>(part_x + inside_first)];
    Rgb* dst = row + (x + inside_first);
    const std::size_t n = static_cast<std::size_t>(inside_end - inside_first);
    // One loop for each kind of key, each simple enough for the compiler to vectorise: the preview
    // draws about a quarter of a million pixels at every redraw.
    if (key == kNoKey) {
      for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] & 0xFFFFFF;
    } else if (key == kDefaultKey) {
      for (std::size_t i = 0; i < n; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = c == 0x00F800 || c == 0x00FF00 ? dst[i] : c;
      }
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = static_cast<std::int64_t>(c) == key ? dst[i] : c;
      }
    }
  }
}

void DrawKeyed(Image& target, const Image& picture, Coord x, Coord y, std::int64_t key) {
  if (picture.Empty()) return;
  DrawKeyedPart(target, picture, 0, 0, picture.width, picture.height, x, y, key);
}

void DrawRepeated(Image& target, const Image& picture, Coord x, Coord y, Coord count,
                  std::int64_t key) {
  if (picture.Empty() || count <= 0) return;
  const Coord width = picture.width;
  // Copy i covers the columns x + i to x + i + width - 1; only copies that overlap the target
  // leave a trace.
  const Coord first = std::max<Coord>(0, -x - width + 1);
  const Coord last = std::min<Coord>(count - 1, target.width - 1 - x);
  if (first > last) return;
  if (key != kNoKey) {
    for (Coord i = first; i <= last; ++i) DrawKeyed(target, picture, x + i, y, key);
    return;
  }
  // Without a key each copy hides all of the one before it but its first column: draw those
  // columns (only where they fall inside the target), then the last copy whole.
  for (Coord i = std::max(first, -x); i < last; ++i) {
    DrawKeyedPart(target, picture, 0, 0, 1, picture.height, x + i, y, kNoKey);
  }
  DrawKeyed(target, picture, x + last, y, kNoKey);
}

void FillBox(Image& target, Coord x, Coord y, Coord width, Coord height, Rgb colour) {
  if (width <= 0 || height <= 0) return;
  const Span columns = Clip(x, width, target.width);
  const Span rows = Clip(y, height, target.height);
  if (columns.Empty() || rows.Empty()) return;
  for (Coord j = rows.first; j < rows.end; ++j) {
    Rgb* row = &target.pixels[static_cast<std::size_t>(y + j) * target.width];
    std::fill(row + (x + columns.first), row + (x + columns.end), colour);
  }
}

void HorizontalLine(Image& target, Coord x, Coord y, Coord length, Rgb colour) {
  FillBox(target, x, y, length, 1, colour);
}

void VerticalLine(Image& target, Coord x, Coord y, Coord length, Rgb colour) {
  FillBox(target, x, y, 1, length, colour);
}

Image ScaleNearest(const Image& source, int width, int height) {
  if (source.Empty() || width <= 0 || height <= 0) return Image();
  Image out(width, height);
  // Each target column maps to one source column; the map is computed once and rows that map to
  // the same source row are copied instead of recomputed.
  std::vector<int> columns(width);
  for (int i = 0; i < width; ++i) columns[i] = NearestSource(i, width, source.width);
  int previous = -1;
  for (int j = 0; j < height; ++j) {
    const int sy = NearestSource(j, height, source.height);
    Rgb* dst = &out.pixels[static_cast<std::size_t>(j) * width];
    if (sy == previous) {
      std::memcpy(dst, dst - width, sizeof(Rgb) * width);
      continue;
    }
    const Rgb* src = &source.pixels[static_cast<std::size_t>(sy) * source.width];
    for (int i = 0; i < width; ++i) dst[i] = src[columns[i]];
    previous = sy;
  }
  return out;
}

}  // namespace preview

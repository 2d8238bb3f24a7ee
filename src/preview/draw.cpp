// Drawing primitives.
#include "preview/draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace preview {

using imaging::Image;
using imaging::Rgb;

void DrawKeyed(Image& target, const Image& picture, int x, int y, std::int64_t key) {
  if (picture.Empty()) return;
  const int x0 = std::max(0, -x);
  const int y0 = std::max(0, -y);
  const int x1 = std::min(picture.width, target.width - x);
  const int y1 = std::min(picture.height, target.height - y);
  // One loop for each kind of key, each simple enough for the compiler to vectorise: the preview
  // draws about a quarter of a million pixels at every redraw.
  for (int j = y0; j < y1; ++j) {
    const Rgb* src = &picture.pixels[static_cast<std::size_t>(j) * picture.width];
    Rgb* dst = &target.pixels[static_cast<std::size_t>(y + j) * target.width + x];
    if (key == kNoKey) {
      for (int i = x0; i < x1; ++i) dst[i] = src[i] & 0xFFFFFF;
    } else if (key == kDefaultKey) {
      for (int i = x0; i < x1; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = c == 0x00F800 || c == 0x00FF00 ? dst[i] : c;
      }
    } else {
      for (int i = x0; i < x1; ++i) {
        const Rgb c = src[i] & 0xFFFFFF;
        dst[i] = static_cast<std::int64_t>(c) == key ? dst[i] : c;
      }
    }
  }
}

void FillBox(Image& target, int x, int y, int width, int height, Rgb colour) {
  const int x0 = std::max(0, x);
  const int y0 = std::max(0, y);
  const int x1 = std::min(target.width, width > 0 ? x + width : x);
  const int y1 = std::min(target.height, height > 0 ? y + height : y);
  for (int j = y0; j < y1; ++j) {
    std::fill_n(&target.pixels[static_cast<std::size_t>(j) * target.width + x0],
                std::max(0, x1 - x0), colour);
  }
}

void HorizontalLine(Image& target, int x, int y, int length, Rgb colour) {
  FillBox(target, x, y, length, 1, colour);
}

void VerticalLine(Image& target, int x, int y, int length, Rgb colour) {
  FillBox(target, x, y, 1, length, colour);
}

Image CutOut(const Image& picture, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return Image();
  Image out(width, height, 0);
  for (int j = 0; j < height; ++j) {
    const int sy = y + j;
    if (sy < 0 || sy >= picture.height) continue;
    for (int i = 0; i < width; ++i) {
      const int sx = x + i;
      if (sx >= 0 && sx < picture.width) out.At(i, j) = picture.At(sx, sy);
    }
  }
  return out;
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

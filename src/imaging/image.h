// Image: an in-memory picture of 32-bit pixels, and the packed colour form shared by the whole
// program.
#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

// A colour packed as red + green * 256 + blue * 65536 (red in the lowest byte). The top byte is
// zero for skin colours; images may use it as an alpha channel. In memory the bytes are R, G, B, A,
// which is the byte order of PNG's RGBA and of QImage::Format_RGBA8888.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return static_cast<Rgb>(red & 0xFF) | static_cast<Rgb>(green & 0xFF) << 8 |
         static_cast<Rgb>(blue & 0xFF) << 16;
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

// A width x height picture stored row by row from the top. An empty image (0 x 0) is a valid
// value: it stands for "no picture".
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h, Rgb fill = 0)
      : width(w),
        height(h),
        pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  bool Empty() const { return width <= 0 || height <= 0; }
  Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

  friend bool operator==(const Image&, const Image&) = default;
};

}  // namespace imaging

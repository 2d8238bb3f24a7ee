// The colour key of an import: which pixels of a picture become transparent, by their distance in
// OKLab from a picked colour, over the whole picture or only where they touch the picked pixel.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/image.h"

namespace imaging {

// The sRGB transfer function undone: each 8-bit channel value in linear light, 0 to 1.
const std::array<double, 256>& LinearLightTable();

// A colour in OKLab: lightness 0 (black) to 1 (white) and two opponent axes.
struct Oklab {
  double l = 0, a = 0, b = 0;
};
Oklab ToOklab(Rgb colour);
// The Euclidean distance of two colours in OKLab; 0.02 is about the smallest difference seen.
double OklabDistance(const Oklab& a, const Oklab& b);
double OklabDistance(Rgb a, Rgb b);

// The largest tolerance a key takes: about the distance from black to a dark grey.
inline constexpr double kMaxKeyTolerance = 0.5;

struct ColourKey {
  Rgb colour = 0;  // the top byte is ignored
  // Pixels within this OKLab distance of `colour` are keyed (0 to kMaxKeyTolerance); at 0 only
  // `colour` itself.
  double tolerance = 0;
  // Only the keyed pixels that reach the picked one through keyed neighbours (left, right, up,
  // down), as an image editor's fuzzy selection takes a region.
  bool connected = false;
  // Where the colour was picked, as fractions of the picture's width and height, so that a
  // picture decoded at a smaller size finds the same place.
  double x = 0.5;
  double y = 0.5;

  friend bool operator==(const ColourKey&, const ColourKey&) = default;
};

// A key of `colour` alone, as a picked colour has always been keyed.
constexpr ColourKey ExactKey(Rgb colour) {
  ColourKey key;
  key.colour = colour;
  return key;
}

// The pixel of a picture of `width` x `height` at the key's place (clamped into the picture).
std::pair<int, int> KeyPixel(const ColourKey& key, int width, int height);

// For each pixel of `picture` (row by row) whether `key` makes it transparent (1) or not (0): its
// colour (the top byte ignored) is the key's or within the key's tolerance of it, and, for a
// connected key, it is reached from KeyPixel through such pixels; nothing when the picked pixel
// itself is not. A tolerance that is not a number counts as 0; one above kMaxKeyTolerance as the
// largest.
std::vector<std::uint8_t> KeyedPixels(const Image& picture, const ColourKey& key);

}  // namespace imaging

// The colour key. Distances are measured in OKLab from sRGB decoded to linear light; a connected
// key fills the region from the picked pixel a row run at a time, so that its stack holds runs
// rather than pixels.
#include "imaging/colour_key.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace imaging {

const std::array<double, 256>& LinearLightTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[static_cast<std::size_t>(i)] =
          c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return t;
  }();
  return table;
}

namespace {

double SquaredDistance(const Oklab& p, const Oklab& q) {
  return (p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b);
}

// Whether a colour is keyed: the key's own, or near it. Each colour is measured once: what was
// found is kept in two bits per colour (known, keyed), 4 MB for all 2^24 of them, as a photo
// repeats its colours many times.
class KeyTest {
 public:
  explicit KeyTest(const ColourKey& key)
      : colour_(key.colour & 0xFFFFFF),
        tolerance_(std::isnan(key.tolerance) ? 0.0
                                             : std::clamp(key.tolerance, 0.0, kMaxKeyTolerance)),
        limit_(tolerance_ * tolerance_),
        centre_(ToOklab(colour_)) {
    if (tolerance_ > 0) found_.assign((1u << 24) / 4, 0);
  }

  bool operator()(Rgb pixel) {
    const Rgb c = pixel & 0xFFFFFF;
    if (c == colour_) return true;
    if (tolerance_ <= 0) return false;
    std::uint8_t& cell = found_[c >> 2];
    const int shift = 2 * static_cast<int>(c & 3);
    if ((cell >> shift & 1) == 0) {
      const bool keyed = SquaredDistance(ToOklab(c), centre_) <= limit_;
      cell = static_cast<std::uint8_t>(cell | (keyed ? 3 : 1) << shift);
    }
    return (cell >> shift & 2) != 0;
  }

 private:
  Rgb colour_;
  double tolerance_;
  double limit_;
  Oklab centre_;
  std::vector<std::uint8_t> found_;
};

}  // namespace

Oklab ToOklab(Rgb c) {
  const auto& lin = LinearLightTable();
  const double r = lin[static_cast<std::size_t>(RedOf(c))],
               g = lin[static_cast<std::size_t>(GreenOf(c))],
               b = lin[static_cast<std::size_t>(BlueOf(c))];
  const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
  const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
  const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

double OklabDistance(const Oklab& a, const Oklab& b) { return std::sqrt(SquaredDistance(a, b)); }
double OklabDistance(Rgb a, Rgb b) { return OklabDistance(ToOklab(a), ToOklab(b)); }

std::pair<int, int> KeyPixel(const ColourKey& key, int width, int height) {
  const auto at = [](double fraction, int size) {
    if (std::isnan(fraction) || size <= 0) return 0;
    return static_cast<int>(std::clamp(std::floor(fraction * size), 0.0, size - 1.0));
  };
  return {at(key.x, width), at(key.y, height)};
}

std::vector<std::uint8_t> KeyedPixels(const Image& picture, const ColourKey& key) {
  const int w = picture.width, h = picture.height;
  std::vector<std::uint8_t> keyed(picture.Empty() ? 0 : picture.pixels.size(), 0);
  if (picture.Empty()) return keyed;
  KeyTest test(key);
  const auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };
  if (!key.connected) {
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) keyed[i] = test(picture.pixels[i]);
    return keyed;
  }
  // A pixel may be tested more than once (from the rows above and below); each is marked when its
  // run is taken, so that each run is taken once.
  const auto open = [&](int x, int y) { return !keyed[index(x, y)] && test(picture.At(x, y)); };
  std::vector<std::pair<int, int>> seeds;
  const auto [sx, sy] = KeyPixel(key, w, h);
  if (open(sx, sy)) seeds.emplace_back(sx, sy);
  while (!seeds.empty()) {
    const auto [x, y] = seeds.back();
    seeds.pop_back();
    if (keyed[index(x, y)]) continue;
    int left = x, right = x;
    while (left > 0 && open(left - 1, y)) --left;
    while (right + 1 < w && open(right + 1, y)) ++right;
    for (int i = left; i <= right; ++i) keyed[index(i, y)] = 1;
    // One seed for each run of open pixels next to this run, above and below.
    for (const int row : {y - 1, y + 1}) {
      if (row < 0 || row >= h) continue;
      bool in_run = false;
      for (int i = left; i <= right; ++i) {
        const bool o = open(i, row);
        if (o && !in_run) seeds.emplace_back(i, row);
        in_run = o;
      }
    }
  }
  return keyed;
}

}  // namespace imaging

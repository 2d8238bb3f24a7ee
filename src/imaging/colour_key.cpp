// The colour key. Distances are measured in OKLab from sRGB decoded to linear light; a connected
// key fills the region from the picked pixel a row run at a time, so that its stack holds runs
// rather than pixels.
#include "imaging/colour_key.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// Whether a colour is keyed: the key's own, or near it. The last colour asked about is kept, as
// neighbouring pixels of a photo often share theirs.
class KeyTest {
 public:
  explicit KeyTest(const ColourKey& key)
      : colour_(key.colour & 0xFFFFFF),
        tolerance_(std::isnan(key.tolerance) ? 0.0
                                             : std::clamp(key.tolerance, 0.0, kMaxKeyTolerance)),
        limit_(tolerance_ * tolerance_),
        centre_(ToOklab(colour_)) {}

  bool operator()(Rgb pixel) {
    const Rgb c = pixel & 0xFFFFFF;
    if (c == colour_) return true;
    if (tolerance_ <= 0) return false;
    if (c != last_) {
      last_ = c;
      last_keyed_ = SquaredDistance(ToOklab(c), centre_) <= limit_;
    }
    return last_keyed_;
  }

 private:
  Rgb colour_;
  double tolerance_;
  double limit_;
  Oklab centre_;
  Rgb last_ = 0xFF000000u;  // no colour: the top byte is cleared before the comparison
  bool last_keyed_ = false;
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

std::vector<bool> KeyedPixels(const Image& picture, const ColourKey& key) {
  const int w = picture.width, h = picture.height;
  std::vector<bool> keyed(picture.Empty() ? 0 : picture.pixels.size(), false);
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
    for (int i = left; i <= right; ++i) keyed[index(i, y)] = true;
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

// Reduction to 15-bit colour. The classic error diffusion works over two rows at a time: the row
// being quantised and the one below it, each as separate channel bytes with a one-pixel margin on
// both sides, so that the four neighbours of every pixel exist. The margins and the row below the
// last only receive error and are dropped.
#include "imaging/dither.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/limits.h"

namespace imaging {
namespace {

void LoadRow(const Image& image, int y, std::vector<std::uint8_t>& row) {
  std::fill(row.begin(), row.end(), 0);
  if (y >= image.height) return;
  PackRgb(&image.pixels[static_cast<std::size_t>(y) * image.width],
          static_cast<std::size_t>(image.width), &row[3]);
}

// Floyd-Steinberg as skins have always been reduced: each channel quantised downwards, each share
// of its error an integer division that drops the remainder.
void Diffuse(Image& image, int strength) {
  const int w = image.width;
  const std::size_t bytes = (static_cast<std::size_t>(w) + 2) * 3;
  std::vector<std::uint8_t> row(bytes);
  std::vector<std::uint8_t> below(bytes);
  LoadRow(image, 0, row);
  for (int y = 0; y < image.height; ++y) {
    LoadRow(image, y + 1, below);
    std::uint8_t* p = &row[3];
    std::uint8_t* q = &below[3];
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c, ++p, ++q) {
        const int t = *p;
        const int e = t & 7;
        if (e == 0) continue;
        const auto share = [&](int sixteenths) { return e * sixteenths * strength / 1600; };
        p[3] = static_cast<std::uint8_t>(ClampChannel(p[3], share(7)));
        q[-3] = static_cast<std::uint8_t>(ClampChannel(q[-3], share(3)));
        q[0] = static_cast<std::uint8_t>(ClampChannel(q[0], share(5)));
        q[3] = static_cast<std::uint8_t>(ClampChannel(q[3], share(1)));
        *p = static_cast<std::uint8_t>(t & 0xF8);
      }
    }
    UnpackRgb(&row[3], static_cast<std::size_t>(w), &image.pixels[static_cast<std::size_t>(y) * w]);
    // The row below, with the error it received, is the next row to quantise: it must not be
    // loaded again from the picture.
    std::swap(row, below);
  }
}

// The kinds aimed at the console's levels work in whole units of which full brightness is
// 63240 = 255 x 31 x 8: level c is exactly c x 2040, an 8-bit channel v of a picture exactly
// v x 248 and one of a 15-bit picture (c x 8 for level c) exactly v x 255, so that no share of an
// error is lost to rounding and a 15-bit picture's levels are met exactly.
constexpr int kLevelStep = 2040;
constexpr int kWhite = 31 * kLevelStep;

constexpr int UnitsPerChannel(ChannelScale scale) {
  return scale == ChannelScale::kFifteenBit ? 255 : 248;
}

// The level nearest to `t` units, 0 to 31.
constexpr int NearestLevel(int t) {
  return t <= 0 ? 0 : std::min(31, (t + kLevelStep / 2) / kLevelStep);
}

// Serpentine error diffusion: rows alternate in direction, each channel goes to the nearest console
// level, and its whole error, negative too, is passed on in sixteenths whose remainder goes to the
// last share, so that no light is lost. Key-coloured pixels are left as they are and take no
// error, which stops at them as at the picture's edge.
void DiffuseSerpentine(Image& image, int strength, int units) {
  const int w = image.width;
  // Error from the row above, in units, with a margin of one pixel on each side, and what the row
  // being quantised passes on to the next.
  std::vector<int> here(static_cast<std::size_t>(w + 2) * 3), next(here.size());
  for (int y = 0; y < image.height; ++y) {
    std::fill(next.begin(), next.end(), 0);
    const bool backward = (y & 1) != 0;
    const int ahead = backward ? -3 : 3;
    Rgb* row = &image.pixels[static_cast<std::size_t>(y) * w];
    // The share passed to the pixel ahead on the same row.
    int carried[3] = {0, 0, 0};
    for (int i = 0; i < w; ++i) {
      const int x = backward ? w - 1 - i : i;
      if (row[x] == kKeyColour) {
        carried[0] = carried[1] = carried[2] = 0;
        continue;
      }
      const int* const above = &here[static_cast<std::size_t>(x + 1) * 3];
      int* const below = &next[static_cast<std::size_t>(x + 1) * 3];
      Rgb stored = 0;
      for (int c = 0; c < 3; ++c) {
        // Error piling up where the picture stays beyond black or white is limited to half the
        // range, as far as a channel may overshoot.
        const int v = static_cast<int>((row[x] >> (8 * c)) & 0xFF);
        const int t = std::clamp(v * units + above[c] + carried[c], -kWhite / 2, kWhite * 3 / 2);
        const int level = NearestLevel(t);
        const int d = t - level * kLevelStep;
        const int e = strength == 100 ? d : d * strength / 100;
        const int s7 = e * 7 / 16, s3 = e * 3 / 16, s5 = e * 5 / 16;
        carried[c] = s7;
        below[c - ahead] += s3;
        below[c] += s5;
        below[c + ahead] += e - s7 - s3 - s5;
        stored |= static_cast<Rgb>(level * 8) << (8 * c);
      }
      row[x] = stored;
    }
    std::swap(here, next);
  }
}

// The classic recursive 8x8 Bayer pattern: each threshold 0..63 once.
constexpr std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

// A channel of t units rounds up past level floor(t / step) when its remainder reaches past the
// threshold: the 64 thresholds of the pattern sit at (b + 1/2) / 64 of a level step (scaled
// towards the middle of the step by `strength`), so that on average a flat area shows its own
// brightness, and at strength 0 each channel goes to the nearest level.
void Order(Image& image, int strength, int units) {
  int offset[64];
  for (int b = 0; b < 64; ++b)
    offset[b] = kLevelStep / 2 + (2 * b - 63) * strength * kLevelStep / (128 * 100);
  for (int y = 0; y < image.height; ++y) {
    Rgb* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
      if (row[x] == kKeyColour) continue;
      const int o = offset[kBayer[y & 7][x & 7]];
      const auto level = [&](int v) { return std::min(31, (v * units + o) / kLevelStep) * 8; };
      row[x] = MakeRgb(level(RedOf(row[x])), level(GreenOf(row[x])), level(BlueOf(row[x])));
    }
  }
}

void Nearest(Image& image, int units) {
  for (Rgb& p : image.pixels) {
    if (p == kKeyColour) continue;
    const auto level = [&](int v) { return NearestLevel(v * units) * 8; };
    p = MakeRgb(level(RedOf(p)), level(GreenOf(p)), level(BlueOf(p)));
  }
}

}  // namespace

void DitherToRgb555(Image& image) { ReduceToRgb555(image, DitherKind::kFloydSteinberg, 100); }

void ReduceToRgb555(Image& image, DitherKind kind, int strength, ChannelScale scale) {
  if (image.Empty()) return;
  strength = std::clamp(strength, 0, 100);
  const int units = UnitsPerChannel(scale);
  if (strength == 0 && kind != DitherKind::kFloydSteinberg) kind = DitherKind::kNone;
  switch (kind) {
    case DitherKind::kFloydSteinberg:
      Diffuse(image, strength);
      break;
    case DitherKind::kSerpentine:
      DiffuseSerpentine(image, strength, units);
      break;
    case DitherKind::kOrdered:
      Order(image, strength, units);
      break;
    case DitherKind::kNone:
      Nearest(image, units);
      break;
  }
}

}  // namespace imaging

// Error diffusion over two rows at a time: the row being quantised and the one below it, each as
// separate channel bytes with a one-pixel margin on both sides, so that the four neighbours of
// every pixel exist. The margins and the row below the last only receive error and are dropped.
#include "imaging/dither.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace imaging {
namespace {

void LoadRow(const Image& image, int y, std::vector<std::uint8_t>& row) {
  std::fill(row.begin(), row.end(), 0);
  if (y >= image.height) return;
  const Rgb* in = &image.pixels[static_cast<std::size_t>(y) * image.width];
  std::uint8_t* out = &row[3];
  for (int x = 0; x < image.width; ++x, out += 3) {
    out[0] = static_cast<std::uint8_t>(RedOf(in[x]));
    out[1] = static_cast<std::uint8_t>(GreenOf(in[x]));
    out[2] = static_cast<std::uint8_t>(BlueOf(in[x]));
  }
}

// Floyd-Steinberg; `serpentine` visits odd rows right to left with the pattern mirrored.
void Diffuse(Image& image, bool serpentine, int strength) {
  const int w = image.width;
  const std::size_t bytes = (static_cast<std::size_t>(w) + 2) * 3;
  std::vector<std::uint8_t> row(bytes);
  std::vector<std::uint8_t> below(bytes);
  LoadRow(image, 0, row);
  for (int y = 0; y < image.height; ++y) {
    LoadRow(image, y + 1, below);
    const bool backward = serpentine && (y & 1) != 0;
    // `ahead` is the next pixel in the direction of travel, `behind` the one before it.
    const std::ptrdiff_t ahead = backward ? -3 : 3, behind = -ahead;
    std::ptrdiff_t at = backward ? 3 * static_cast<std::ptrdiff_t>(w) : 3;
    for (int x = 0; x < w; ++x, at += ahead) {
      std::uint8_t* p = &row[static_cast<std::size_t>(at)];
      std::uint8_t* q = &below[static_cast<std::size_t>(at)];
      for (int c = 0; c < 3; ++c) {
        const int t = p[c];
        const int e = t & 7;
        if (e == 0) continue;
        const auto share = [&](int sixteenths) { return e * sixteenths * strength / 1600; };
        p[c + ahead] = static_cast<std::uint8_t>(ClampChannel(p[c + ahead], share(7)));
        q[c + behind] = static_cast<std::uint8_t>(ClampChannel(q[c + behind], share(3)));
        q[c] = static_cast<std::uint8_t>(ClampChannel(q[c], share(5)));
        q[c + ahead] = static_cast<std::uint8_t>(ClampChannel(q[c + ahead], share(1)));
        p[c] = static_cast<std::uint8_t>(t & 0xF8);
      }
    }
    Rgb* out = &image.pixels[static_cast<std::size_t>(y) * w];
    const std::uint8_t* in = &row[3];
    for (int x = 0; x < w; ++x, in += 3) out[x] = MakeRgb(in[0], in[1], in[2]);
    // The row below, with the error it received, is the next row to quantise: it must not be
    // loaded again from the picture.
    std::swap(row, below);
  }
}

// The classic recursive 8x8 Bayer pattern: each threshold 0..63 once.
constexpr std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

// A channel v and threshold b (0..63, in 64ths of a step of 8) round up to the next multiple of 8
// when v's remainder in eighths of a step reaches past b: floor((8v + b) / 64) * 8.
void Order(Image& image, int strength) {
  for (int y = 0; y < image.height; ++y) {
    Rgb* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
      const int b = kBayer[y & 7][x & 7] * strength / 100;
      const auto level = [b](int v) { return std::min(248, (v * 8 + b) / 64 * 8); };
      row[x] = MakeRgb(level(RedOf(row[x])), level(GreenOf(row[x])), level(BlueOf(row[x])));
    }
  }
}

}  // namespace

void DitherToRgb555(Image& image) { ReduceToRgb555(image, DitherKind::kFloydSteinberg, 100); }

void ReduceToRgb555(Image& image, DitherKind kind, int strength) {
  if (image.Empty()) return;
  strength = std::clamp(strength, 0, 100);
  if (strength == 0) kind = DitherKind::kNone;
  switch (kind) {
    case DitherKind::kFloydSteinberg:
    case DitherKind::kSerpentine:
      Diffuse(image, kind == DitherKind::kSerpentine, strength);
      break;
    case DitherKind::kOrdered:
      Order(image, strength);
      break;
    case DitherKind::kNone:
      for (Rgb& p : image.pixels) p &= 0xF8F8F8;
      break;
  }
}

}  // namespace imaging

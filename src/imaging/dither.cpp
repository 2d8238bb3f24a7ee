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
  const Rgb* in = &image.pixels[static_cast<std::size_t>(y) * image.width];
  std::uint8_t* out = &row[3];
  for (int x = 0; x < image.width; ++x, out += 3) {
    out[0] = static_cast<std::uint8_t>(RedOf(in[x]));
    out[1] = static_cast<std::uint8_t>(GreenOf(in[x]));
    out[2] = static_cast<std::uint8_t>(BlueOf(in[x]));
  }
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
    Rgb* out = &image.pixels[static_cast<std::size_t>(y) * w];
    const std::uint8_t* in = &row[3];
    for (int x = 0; x < w; ++x, in += 3) out[x] = MakeRgb(in[0], in[1], in[2]);
    // The row below, with the error it received, is the next row to quantise: it must not be
    // loaded again from the picture.
    std::swap(row, below);
  }
}

// Serpentine error diffusion: rows alternate in direction, each channel goes to the nearest
// multiple of 8 (at most 248), and its whole error, negative too, is passed on in sixteenths whose
// remainder goes to the last share, so that no light is lost. Key-coloured pixels are left as they
// are and take no error, which stops at them as at the picture's edge.
void DiffuseSerpentine(Image& image, int strength) {
  const int w = image.width;
  // Accumulated error in sixteenths of a channel step, with a margin of one pixel on each side.
  std::vector<int> here(static_cast<std::size_t>(w + 2) * 3), next(here.size());
  for (int y = 0; y < image.height; ++y) {
    std::fill(next.begin(), next.end(), 0);
    const bool backward = (y & 1) != 0;
    const int step = backward ? -1 : 1;
    Rgb* row = &image.pixels[static_cast<std::size_t>(y) * w];
    for (int i = 0; i < w; ++i) {
      const int x = backward ? w - 1 - i : i;
      if (row[x] == kKeyColour) continue;
      int channel[3] = {RedOf(row[x]), GreenOf(row[x]), BlueOf(row[x])};
      for (int c = 0; c < 3; ++c) {
        const auto at = [&](int column) { return static_cast<std::size_t>(column + 1) * 3 + c; };
        const int t = std::clamp(channel[c] * 16 + here[at(x)], -128 * 16, 384 * 16);
        const int level = std::clamp((t + 64) >> 7, 0, 31) * 8;
        const int e = (t - level * 16) * strength / 100;
        const int s7 = e * 7 / 16, s3 = e * 3 / 16, s5 = e * 5 / 16;
        here[at(x + step)] += s7;
        next[at(x - step)] += s3;
        next[at(x)] += s5;
        next[at(x + step)] += e - s7 - s3 - s5;
        channel[c] = level;
      }
      row[x] = MakeRgb(channel[0], channel[1], channel[2]);
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
      Diffuse(image, strength);
      break;
    case DitherKind::kSerpentine:
      DiffuseSerpentine(image, strength);
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

// Error diffusion to 15-bit colour.
#include "imaging/dither.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace imaging {
namespace {

TEST(ClampChannel, LimitsTheSum) {
  EXPECT_EQ(ClampChannel(250, 3), 253);
  EXPECT_EQ(ClampChannel(254, 3), 255);
  EXPECT_EQ(ClampChannel(0, -5), 0);
  EXPECT_EQ(ClampChannel(5, -5), 0);
}

TEST(DitherToRgb555, MultiplesOfEightPassUnchanged) {
  Image image(5, 4);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    image.pixels[i] = MakeRgb(i * 8 % 256, 248, i * 40 % 256);
  }
  const Image before = image;
  DitherToRgb555(image);
  EXPECT_EQ(image, before);
}

TEST(DitherToRgb555, UniformRedSevenAlternatesOnTheFirstRow) {
  Image image(8, 3, MakeRgb(7, 0, 0));
  DitherToRgb555(image);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(RedOf(image.At(x, 0)), x % 2 == 0 ? 0 : 8) << x;
  for (Rgb p : image.pixels) {
    EXPECT_LE(RedOf(p), 8);
    EXPECT_EQ(p & ~0xF8F8F8u, 0u);
  }
}

TEST(DitherToRgb555, DiffusesDownwardsIntoTheNextRow) {
  // A single pixel of 7: 7*5/16 = 2 goes below, 7*3/16 = 1 below left, 7*1/16 = 0 below right.
  Image image(3, 2, MakeRgb(0, 0, 0));
  image.At(1, 0) = MakeRgb(7, 7, 7);
  image.At(1, 1) = MakeRgb(6, 0, 0);
  image.At(0, 1) = MakeRgb(7, 0, 0);
  DitherToRgb555(image);
  // Below: 6 + 2 = 8 stays 8; below left: 7 + 1 = 8.
  EXPECT_EQ(RedOf(image.At(1, 1)), 8);
  EXPECT_EQ(RedOf(image.At(0, 1)), 8);
  EXPECT_EQ(image.At(1, 0), MakeRgb(0, 0, 0));
}

// The rule written out on a whole work canvas with a one-pixel margin, one channel at a time: the
// decoder's row-by-row version must give exactly the same picture.
Image DitherOnCanvas(const Image& image) {
  const int w = image.width, h = image.height;
  std::vector<std::vector<int>> canvas(3, std::vector<int>((w + 2) * (h + 2), 0));
  for (int c = 0; c < 3; ++c) {
    auto at = [&](int x, int y) -> int& { return canvas[c][y * (w + 2) + x]; };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) at(x + 1, y + 1) = (image.At(x, y) >> (8 * c)) & 0xFF;
    for (int y = 1; y <= h; ++y) {
      for (int x = 1; x <= w; ++x) {
        const int t = at(x, y), e = t - (t & 0xF8);
        at(x + 1, y) = ClampChannel(at(x + 1, y), e * 7 / 16);
        at(x - 1, y + 1) = ClampChannel(at(x - 1, y + 1), e * 3 / 16);
        at(x, y + 1) = ClampChannel(at(x, y + 1), e * 5 / 16);
        at(x + 1, y + 1) = ClampChannel(at(x + 1, y + 1), e / 16);
        at(x, y) = t & 0xF8;
      }
    }
  }
  Image out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.At(x, y) =
          MakeRgb(canvas[0][(y + 1) * (w + 2) + x + 1], canvas[1][(y + 1) * (w + 2) + x + 1],
                  canvas[2][(y + 1) * (w + 2) + x + 1]);
  return out;
}

TEST(DitherToRgb555, MatchesTheRuleOnAWholeCanvas) {
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (const auto& [w, h] :
       {std::pair{1, 7}, std::pair{7, 1}, std::pair{13, 9}, std::pair{64, 33}}) {
    Image image(w, h);
    // Random channels, many near 255 so that clamping is reached, and an alpha byte that must go.
    for (Rgb& p : image.pixels) p = next() | (next() % 3 == 0 ? 0x00F8F8F8u : 0u);
    const Image expected = DitherOnCanvas(image);
    DitherToRgb555(image);
    EXPECT_EQ(image, expected) << w << " x " << h;
  }
}

TEST(DitherToRgb555, EmptyAndOnePixelPictures) {
  Image empty;
  DitherToRgb555(empty);
  EXPECT_TRUE(empty.Empty());
  Image one(1, 1, MakeRgb(255, 9, 0));
  DitherToRgb555(one);
  EXPECT_EQ(one.At(0, 0), MakeRgb(248, 8, 0));
}

}  // namespace
}  // namespace imaging

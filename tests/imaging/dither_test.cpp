// Error diffusion to 15-bit colour.
#include "imaging/dither.h"

#include <gtest/gtest.h>

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

// The 16-bit BMP of skin pictures: exact bytes written, lossless reading, hostile headers.
#include "imaging/bmp16.h"

#include <gtest/gtest.h>

#include <cstring>

namespace imaging {
namespace {

std::uint32_t Field32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Image Probe(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      image.At(x, y) = MakeRgb(x * 8 % 256, y * 8 % 256, (x + y) * 24 % 256);
  }
  return image;
}

struct SizeCase {
  int width, height;
  std::size_t file_size, image_size;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class Bmp16SizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(Bmp16SizeTest, HeaderAndSizesAreExactAndPixelsRoundTrip) {
  const SizeCase& c = GetParam();
  const Image image = Probe(c.width, c.height);
  const std::vector<std::uint8_t> bytes = EncodeBmp16(image);
  ASSERT_EQ(bytes.size(), c.file_size);
  EXPECT_EQ(Field32(bytes, 2), c.file_size);
  EXPECT_EQ(Field32(bytes, 34), c.image_size);
  static const std::uint8_t kHeader[] = {'B', 'M'};
  EXPECT_EQ(std::memcmp(bytes.data(), kHeader, 2), 0);
  EXPECT_EQ(Field32(bytes, 10), 54u);
  EXPECT_EQ(Field32(bytes, 14), 40u);
  EXPECT_EQ(Field32(bytes, 18), static_cast<std::uint32_t>(c.width));
  EXPECT_EQ(Field32(bytes, 22), static_cast<std::uint32_t>(c.height));
  EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
  EXPECT_EQ(bytes[28] | bytes[29] << 8, 16);
  EXPECT_EQ(Field32(bytes, 30), 0u);
  EXPECT_EQ(Field32(bytes, 38), 2834u);
  EXPECT_EQ(Field32(bytes, 42), 2834u);
  EXPECT_EQ(bytes[bytes.size() - 1] | bytes[bytes.size() - 2], 0);

  const auto back = DecodeBmp16(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, image);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Bmp16SizeTest,
                         ::testing::Values(SizeCase{256, 192, 98360, 98306},
                                           SizeCase{11, 10, 296, 242},
                                           SizeCase{1, 3, 54 + 12 + 2, 14}, SizeCase{0, 0, 56, 2}));

TEST(Bmp16, PixelLayoutBottomUpWithRedInHighBits) {
  Image image(1, 2);
  image.At(0, 0) = MakeRgb(255, 0, 0);  // top row
  image.At(0, 1) = MakeRgb(0, 0, 8);    // bottom row, stored first
  const std::vector<std::uint8_t> bytes = EncodeBmp16(image);
  EXPECT_EQ(bytes[54] | bytes[55] << 8, 0x0001);
  EXPECT_EQ(bytes[58] | bytes[59] << 8, 0x7C00);
  EXPECT_EQ(bytes[56] | bytes[57] | bytes[60] | bytes[61], 0) << "pad words are zero";
}

TEST(Bmp16, DecodingIgnoresBit15AndDoesNotRound) {
  std::vector<std::uint8_t> bytes = EncodeBmp16(Image(1, 1));
  bytes[54] = 0xFF;
  bytes[55] = 0xFF;
  const auto image = DecodeBmp16(bytes);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), MakeRgb(248, 248, 248));
}

TEST(Bmp16, RejectsWhatTheDirectRouteCannotReadSafely) {
  const std::vector<std::uint8_t> good = EncodeBmp16(Probe(11, 10));
  auto with32 = [&](std::size_t at, std::uint32_t v) {
    std::vector<std::uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
    return b;
  };
  EXPECT_FALSE(DecodeBmp16(std::vector<std::uint8_t>(good.begin(), good.begin() + 53)));
  EXPECT_FALSE(DecodeBmp16(std::vector<std::uint8_t>(good.begin(), good.end() - 23)))
      << "last row cut short";
  EXPECT_FALSE(DecodeBmp16(with32(22, static_cast<std::uint32_t>(-10)))) << "top-down";
  EXPECT_FALSE(DecodeBmp16(with32(18, static_cast<std::uint32_t>(-11))));
  EXPECT_FALSE(DecodeBmp16(with32(18, 0x7FFFFFFF))) << "huge width, no allocation";
  EXPECT_FALSE(DecodeBmp16(with32(10, 0xFFFFFFF0))) << "pixel offset beyond the data";
  EXPECT_FALSE(DecodeBmp16(with32(30, 3))) << "bit fields are not the direct route";
  EXPECT_TRUE(DecodeBmp16(std::vector<std::uint8_t>(good.begin(), good.end() - 4)))
      << "the trailing bytes and the last pad word are not needed";

  const auto empty = DecodeBmp16(with32(18, 0));
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->Empty()) << "a width of 0 is an empty slot";
}

}  // namespace
}  // namespace imaging

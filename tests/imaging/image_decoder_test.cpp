// The general decoder against the public test suites, hostile headers, alpha and the encoders.
#include "imaging/image_decoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "imaging/bmp_decoder.h"
#include "imaging/jpeg_codec.h"
#include "imaging/limits.h"
#include "imaging/png_codec.h"
#include "imaging/screenshot_writer.h"
#include "test_support.h"

namespace imaging {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path Suite(const std::string& sub) {
  if (std::string(SKINSMITH_SHARED_TESTDATA).empty()) return {};
  return fs::path(SKINSMITH_SHARED_TESTDATA) / sub;
}

std::vector<fs::path> Files(const fs::path& folder) {
  std::vector<fs::path> files;
  if (folder.empty() || !fs::is_directory(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The mean difference per channel of two pictures of one size.
double MeanDifference(const Image& a, const Image& b) {
  long long total = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    total += std::abs(RedOf(a.pixels[i]) - RedOf(b.pixels[i])) +
             std::abs(GreenOf(a.pixels[i]) - GreenOf(b.pixels[i])) +
             std::abs(BlueOf(a.pixels[i]) - BlueOf(b.pixels[i]));
  }
  return total / (3.0 * a.pixels.size());
}

// The reference rendering of a good bmpsuite file: its own name, or the picture it shares.
std::string BmpReference(const std::string& name) {
  static const std::pair<const char*, const char*> kShared[] = {
      {"rgb24pal", "rgb24"},   {"rgb32", "rgb24"},      {"rgb32bf", "rgb24"},
      {"rgb32bfdef", "rgb24"}, {"rgb16bfdef", "rgb16"}, {"rgb16-565pal", "rgb16-565"},
      {"pal1wb", "pal1"},      {"pal4rle", "pal4"},     {"pal8-0", "pal8"},
      {"pal8os2", "pal8"},     {"pal8rle", "pal8"},     {"pal8topdown", "pal8"},
      {"pal8v4", "pal8"},      {"pal8v5", "pal8"}};
  for (const auto& [file, reference] : kShared) {
    if (name == file) return reference;
  }
  return name;
}

TEST(BmpSuite, GoodFilesMatchTheirReferenceRenderings) {
  const std::vector<fs::path> files = Files(Suite("bmpsuite/g"));
  if (files.empty()) GTEST_SKIP() << "bmpsuite not available";
  EXPECT_EQ(files.size(), 27u);
  for (const fs::path& file : files) {
    const std::string name = file.stem().string();
    const auto image = DecodeImage(ReadBytes(file));
    ASSERT_TRUE(image) << name;
    if (name == "pal8nonsquare") {  // the references show it stretched to square pixels
      EXPECT_EQ(image->width, 127);
      EXPECT_EQ(image->height, 32);
      continue;
    }
    const fs::path reference = Suite("bmpsuite/reference") / (BmpReference(name) + ".png");
    const auto expected = DecodePng(ReadBytes(reference));
    ASSERT_TRUE(expected) << reference;
    EXPECT_TRUE(*image == *expected) << name;
  }
}

TEST(BmpSuite, QuestionableAndBadFilesNeverCrashAndHugeOnesAllocateNothing) {
  const std::vector<fs::path> files = Files(Suite("bmpsuite"));
  if (files.empty()) GTEST_SKIP() << "bmpsuite not available";
  for (const fs::path& file : files) {
    const auto image = DecodeImage(ReadBytes(file));
    if (image) {
      EXPECT_TRUE(SizeAllowed(image->width, image->height)) << file;
    }
  }
  EXPECT_FALSE(DecodeImage(ReadBytes(Suite("bmpsuite/b/reallybig.bmp"))));
  EXPECT_FALSE(DecodeImage(ReadBytes(Suite("bmpsuite/b/shortfile.bmp"))));
  EXPECT_FALSE(DecodeImage(ReadBytes(Suite("bmpsuite/q/rgb24png.bmp")))) << "PNG inside a BMP";
}

TEST(PngSuite, EveryValidFileDecodesAndInterlacingChangesNothing) {
  const std::vector<fs::path> files = Files(Suite("pngsuite"));
  if (files.empty()) GTEST_SKIP() << "PngSuite not available";
  int valid = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    const auto image = DecodeImage(ReadBytes(file));
    if (name[0] == 'x') {
      EXPECT_FALSE(image) << name << " is broken";
      continue;
    }
    ++valid;
    ASSERT_TRUE(image) << name;
    for (Rgb p : image->pixels) ASSERT_EQ(p >> 24, 0u) << name;
    if (name.starts_with("basi")) {
      const auto plain = DecodeImage(ReadBytes(file.parent_path() / ("basn" + name.substr(4))));
      ASSERT_TRUE(plain) << name;
      EXPECT_TRUE(*image == *plain) << name;
    }
  }
  EXPECT_EQ(valid, 162);
}

TEST(PngSuite, PinnedPixels) {
  if (Suite("pngsuite").empty()) GTEST_SKIP();
  auto pixel = [](const char* file, int x, int y) {
    return DecodeImage(ReadBytes(Suite("pngsuite") / file))->At(x, y);
  };
  // 16-bit channels keep their high byte; grey expands to three equal channels.
  EXPECT_EQ(pixel("basn0g16.png", 0, 0), MakeRgb(0, 0, 0));
  EXPECT_EQ(pixel("basn0g01.png", 0, 0), MakeRgb(255, 255, 255));
  EXPECT_EQ(pixel("basn2c16.png", 0, 0), MakeRgb(255, 255, 0));
  // A fully transparent corner becomes the key colour.
  EXPECT_EQ(pixel("basn6a08.png", 0, 0), kKeyColour);
  EXPECT_EQ(pixel("tbbn3p08.png", 0, 0), kKeyColour);
}

TEST(JpegSuites, GoodFilesDecodeAndBrokenOnesFailCleanly) {
  const std::vector<fs::path> files = Files(Suite("jpeg"));
  if (files.empty()) GTEST_SKIP() << "JPEG suites not available";
  for (const fs::path& file : files) {
    const std::string path = file.string();
    const auto image = DecodeImage(ReadBytes(file));
    const bool unsupported =
        path.find("/lossless/") != std::string::npos || path.find("12.jpg") != std::string::npos;
    if (path.find("/good/") != std::string::npos ||
        path.find("libjpeg-turbo/") != std::string::npos) {
      EXPECT_EQ(static_cast<bool>(image), !unsupported) << path;
    } else if (unsupported) {
      EXPECT_FALSE(image) << path;
    }
  }
  const fs::path testorig = Suite("jpeg/libjpeg-turbo/testorig.jpg");
  const auto a = DecodeImage(ReadBytes(testorig));
  const auto b = DecodeImage(ReadBytes(Suite("jpeg/libjpeg-turbo/testimgp.jpg")));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->width, 227);
  EXPECT_EQ(a->height, 149);
  ASSERT_EQ(a->pixels.size(), b->pixels.size());
  EXPECT_LT(MeanDifference(*a, *b), 3.0) << "progressive and baseline encodings of one picture";
}

TEST(JpegSuites, CmykAndYcckComeOutAsPlausibleRgb) {
  if (Suite("jpeg").empty()) GTEST_SKIP();
  const auto ycck = DecodeImage(ReadBytes(Suite("jpeg/jpeg-decoder/good/ycck.jpg")));
  const auto rgb = DecodeImage(ReadBytes(Suite("jpeg/jpeg-decoder/good/rgb.jpg")));
  ASSERT_TRUE(ycck && rgb);
  ASSERT_EQ(ycck->pixels.size(), rgb->pixels.size());
  EXPECT_LT(MeanDifference(*ycck, *rgb), 12.0) << "the same photograph in two colour spaces";
}

TEST(Decoder, FormatIsRecognisedByContentAndHostileSizesAreRefused) {
  Image image(3, 2, MakeRgb(10, 20, 30));
  EXPECT_TRUE(*DecodeImage(EncodePng(image)) == image);
  EXPECT_TRUE(*DecodeImage(EncodeBmp24(image)) == image);
  EXPECT_EQ(DecodeImage(EncodeJpeg(image, 90))->width, 3);
  const std::string text = "just some text, not a picture";
  EXPECT_FALSE(DecodeImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
  EXPECT_FALSE(DecodeImage({}));

  // A PNG whose header claims 20000 x 1 pixels.
  std::vector<std::uint8_t> png = EncodePng(Image(1, 1));
  png[16] = 0;
  png[17] = 0;
  png[18] = 0x4E;
  png[19] = 0x20;
  EXPECT_FALSE(DecodeImage(png));
  // A BMP claiming 10000 x 10000 (100 megapixels) with almost no data.
  std::vector<std::uint8_t> bmp = EncodeBmp24(Image(1, 1));
  bmp[18] = 0x10;
  bmp[19] = 0x27;
  bmp[22] = 0x10;
  bmp[23] = 0x27;
  EXPECT_FALSE(DecodeImage(bmp));
}

TEST(Decoder, AlphaBelowHalfBecomesTheKeyColour) {
  // A 32-bit BMP with bit fields including an alpha mask: alpha 127, then 128.
  std::vector<std::uint8_t> bmp(14 + 56 + 8, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(10, 14 + 56);
  put32(14, 56);
  put32(18, 2);
  put32(22, 1);
  bmp[26] = 1;
  bmp[28] = 32;
  put32(30, 3);
  put32(54, 0x00FF0000);
  put32(58, 0x0000FF00);
  put32(62, 0x000000FF);
  put32(66, 0xFF000000);
  put32(70, 0x7F102030);
  put32(74, 0x80102030);
  const auto image = DecodeBmp(bmp);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), kKeyColour);
  EXPECT_EQ(image->At(1, 0), MakeRgb(0x10, 0x20, 0x30));
}

TEST(ScreenshotWriter, WritesEachFormatAndReportsFailure) {
  testing_support::TempDir dir;
  Image shot(256, 384);
  for (std::size_t i = 0; i < shot.pixels.size(); ++i)
    shot.pixels[i] = MakeRgb(i % 256, i / 256 % 256, 99);
  const std::pair<ScreenshotFormat, const char*> kFormats[] = {
      {ScreenshotFormat::kPng, "shot.png"},
      {ScreenshotFormat::kBmp, "shot.bmp"},
      {ScreenshotFormat::kJpeg, "shot.jpg"}};
  for (const auto& [format, name] : kFormats) {
    const fs::path path = dir.path() / name;
    ASSERT_TRUE(WriteScreenshot(shot, path.string(), format)) << name;
    const auto back = DecodeImage(ReadBytes(path));
    ASSERT_TRUE(back) << name;
    EXPECT_EQ(back->width, 256);
    EXPECT_EQ(back->height, 384);
    if (format != ScreenshotFormat::kJpeg) {
      EXPECT_TRUE(*back == shot) << name;
    }
  }
  EXPECT_FALSE(WriteScreenshot(shot, (dir.path() / "missing" / "shot.png").string(),
                               ScreenshotFormat::kPng));
}

}  // namespace
}  // namespace imaging

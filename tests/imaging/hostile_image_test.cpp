// Decoders against hostile pictures: positions that would wrap, sizes above the limits or the
// budget, and declared sizes whose data is absent. Each is clipped or refused, and a refusal comes
// before the picture is allocated.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>

#include "allocation_probe.h"
#include "imaging/bmp16.h"
#include "imaging/bmp_decoder.h"
#include "imaging/image_decoder.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"
#include "imaging/screenshot_writer.h"
#include "jpeg_writer.h"
#include "test_support.h"

namespace imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::LargestAllocation;
using testing_support::PeakHeld;
using testing_support::ResetLargestAllocation;
using testing_support::ResetPeakHeld;

constexpr std::size_t kSmall = 1 << 20;  // what a refusal may allocate at most

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
void PutBig16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = (v >> 8) & 0xFF;
  b[at + 1] = v & 0xFF;
}

// The PNG of a 1 x 1 picture whose header, CRC included, declares `width` x `height`.
Bytes PngDeclaring(std::uint32_t width, std::uint32_t height) {
  Bytes png = EncodePng(Image(1, 1));
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
  }
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, &png[12], 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  return png;
}

void PutBig32(Bytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

// One PNG chunk: length, type, data, CRC.
Bytes PngChunk(const char (&type)[5], const Bytes& data) {
  Bytes chunk;
  PutBig32(chunk, static_cast<std::uint32_t>(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  const auto crc = static_cast<std::uint32_t>(crc32(0, chunk.data() + 4, chunk.size() - 4));
  PutBig32(chunk, crc);
  return chunk;
}

Bytes Deflated(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9), Z_OK);
  out.resize(size);
  return out;
}

// A non-interlaced PNG of the given header fields whose unfiltered rows are `rows` (each row's
// filter byte included), with `ancillary` chunks between its header and its data.
Bytes PngOf(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colour,
            const Bytes& rows, const std::vector<Bytes>& ancillary = {}) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutBig32(header, width);
  PutBig32(header, height);
  header.insert(header.end(), {depth, colour, 0, 0, 0});
  const Bytes ihdr = PngChunk("IHDR", header);
  png.insert(png.end(), ihdr.begin(), ihdr.end());
  for (const Bytes& chunk : ancillary) png.insert(png.end(), chunk.begin(), chunk.end());
  for (const Bytes& chunk : {PngChunk("IDAT", Deflated(rows)), PngChunk("IEND", {})}) {
    png.insert(png.end(), chunk.begin(), chunk.end());
  }
  return png;
}

// A JPEG of `width` x `height` whose scan holds the data of an 8 x 8 picture only: the frame
// header of a small file patched to the new size (`progressive` uses a progressive file).
Bytes TruncatedJpeg(int width, int height, bool progressive) {
  Bytes jpeg = testing_support::WriteTestJpeg(Image(8, 8), progressive);
  const std::uint8_t marker = progressive ? 0xC2 : 0xC0;
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) {
      PutBig16(jpeg, i + 5, static_cast<std::uint32_t>(height));
      PutBig16(jpeg, i + 7, static_cast<std::uint32_t>(width));
      break;
    }
  }
  return jpeg;
}

// An RLE BMP of the given size: 8-bit (or 4-bit) with the palette {red, green}, then `stream`.
Bytes RleBmp(int width, int height, const Bytes& stream, bool four = false) {
  Bytes b(14 + 40 + 8, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, static_cast<std::uint32_t>(b.size()));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(width));
  Put32(b, 22, static_cast<std::uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, four ? 4 : 8);
  Put32(b, 30, four ? 2 : 1);
  Put32(b, 46, 2);
  Put32(b, 54, 0x00F80000);  // B G R 0: red
  Put32(b, 58, 0x0000F800);  // green
  b.insert(b.end(), stream.begin(), stream.end());
  return b;
}

// Commands that move the column past INT_MAX: runs of 255 pixels with no end of line, or deltas
// of 255 columns.
Bytes PastIntMax(bool deltas) {
  const std::uint8_t step[4] = {0, 2, 255, 0};  // a delta of 255 columns, or two runs of 255
  const std::size_t steps = ((std::size_t{1} << 31) / 255 + 2) / (deltas ? 1 : 2);
  Bytes stream(steps * 4);
  for (std::size_t i = 0; i < stream.size(); i += 4) {
    if (deltas) {
      std::memcpy(&stream[i], step, 4);
    } else {
      stream[i] = stream[i + 2] = 255;
      stream[i + 1] = stream[i + 3] = 1;
    }
  }
  stream.insert(stream.end(), {4, 1, 0, 0, 2, 0, 0, 1});  // 4 green, end of line, 2 red, end
  return stream;
}

TEST(HostileBmp, RleRunsAndDeltasPastIntMaxAreDroppedNotWrapped) {
  for (bool deltas : {false, true}) {
    const Bytes bmp = RleBmp(16, 2, PastIntMax(deltas));
    ResetLargestAllocation();
    const auto image = DecodeBmp(bmp);
    EXPECT_LT(LargestAllocation(), kSmall);
    ASSERT_TRUE(image) << deltas;
    const Rgb red = MakeRgb(248, 0, 0), green = MakeRgb(0, 248, 0);
    // The bottom row: green where runs land inside it, nothing of what went beyond.
    for (int x = 0; x < 16; ++x) EXPECT_EQ(image->At(x, 1), deltas ? 0u : green) << x;
    EXPECT_EQ(image->At(0, 0), red) << "the next row after the end of line";
    EXPECT_EQ(image->At(2, 0), 0u);
  }
}

TEST(HostileBmp, RleStopsAtThePicturesEnd) {
  // A delta far below the last row, then runs that would land there: nothing is written.
  const Bytes bmp = RleBmp(4, 2, {0, 2, 0, 200, 4, 0x11, 4, 0x11, 0, 1}, true);
  const auto image = DecodeBmp(bmp);
  ASSERT_TRUE(image);
  for (Rgb p : image->pixels) EXPECT_EQ(p, 0u);
}

// Every decoder applies the size limits before it allocates, whatever else the data holds.
TEST(SizeLimits, EveryRouteRefusesOversizedPicturesBeforeAllocating) {
  const auto expect_too_large = [](const Bytes& data, const char* what) {
    ResetLargestAllocation();
    const Decoded picture = DecodeImage(data);
    ASSERT_FALSE(picture) << what;
    EXPECT_EQ(picture.error(), DecodeError::kTooLarge) << what;
    EXPECT_LT(LargestAllocation(), kSmall) << what;
  };
  // The direct 16-bit route: 16385 x 1 with all its data present (it used to skip the limits).
  Bytes bmp16 = EncodeBmp16(Image(16386, 1));
  Put32(bmp16, 18, 16385);
  ResetLargestAllocation();
  const Decoded direct = DecodeBmp16(bmp16);
  ASSERT_FALSE(direct);
  EXPECT_EQ(direct.error(), DecodeError::kTooLarge);
  EXPECT_LT(LargestAllocation(), kSmall);

  Bytes bmp = EncodeBmp24(Image(1, 1));
  Put32(bmp, 18, 8193);
  Put32(bmp, 22, 8193);
  expect_too_large(bmp, "BMP above 64 megapixels");
  expect_too_large(PngDeclaring(16385, 1), "PNG above 16384 pixels a side");
  expect_too_large(TruncatedJpeg(9000, 9000, false), "JPEG above 64 megapixels");
}

TEST(Budget, EveryDecoderRefusesAPictureAboveItsBudgetBeforeAllocating) {
  const Image picture(100, 100, MakeRgb(8, 16, 24));
  const std::uint64_t exact = 100 * 100 * kBytesPerPixel;
  const std::pair<Bytes, const char*> kFiles[] = {{EncodeBmp16(picture), "16-bit BMP"},
                                                  {EncodeBmp24(picture), "24-bit BMP"},
                                                  {EncodePng(picture), "PNG"},
                                                  {EncodeJpeg(picture, 90), "JPEG"}};
  for (const auto& [data, what] : kFiles) {
    ResetLargestAllocation();
    const Decoded refused =
        IsBmp16(data) ? DecodeBmp16(data, exact - 1) : DecodeImage(data, exact - 1);
    ASSERT_FALSE(refused) << what;
    EXPECT_EQ(refused.error(), DecodeError::kOverBudget) << what;
    EXPECT_LT(LargestAllocation(), exact) << what;
    EXPECT_TRUE(IsBmp16(data) ? DecodeBmp16(data, exact) : DecodeImage(data, exact)) << what;
  }
}

TEST(ShortData, APngWithoutDataForItsRowsIsRefusedBeforeItsPictureIsAllocated) {
  // 16384 x 4096 declared in a file of a few dozen bytes.
  const Bytes png = PngDeclaring(16384, 4096);
  ASSERT_LT(png.size(), 200u);
  ResetLargestAllocation();
  const Decoded picture = DecodePng(png);
  ASSERT_FALSE(picture);
  EXPECT_EQ(picture.error(), DecodeError::kUnknownFormat);
  EXPECT_LT(LargestAllocation(), kSmall);
}

// Ancillary chunks cost nothing: compressed texts of many megabytes each, an ICC profile and an
// unknown chunk are skipped unread, and libpng's own memory stays small.
TEST(PngChunks, TextsAndProfilesThatInflateToGigabytesCostNothing) {
  const Bytes text = Deflated(Bytes(12 << 20, 'a'));  // 12 KiB that inflate to 12 MiB
  const auto with_prefix = [&](std::string prefix) {
    Bytes data(prefix.begin(), prefix.end());
    data.insert(data.end(), text.begin(), text.end());
    return data;
  };
  std::vector<Bytes> chunks;
  for (int i = 0; i < 8; ++i) {
    chunks.push_back(PngChunk("zTXt", with_prefix(std::string("Comment\0\0", 9))));
    chunks.push_back(PngChunk("iTXt", with_prefix(std::string("Comment\0\1\0\0\0", 12))));
    chunks.push_back(PngChunk("iCCP", with_prefix(std::string("icc\0\0", 5))));
    chunks.push_back(PngChunk("tEXt", Bytes(1 << 20, 'b')));
    chunks.push_back(PngChunk("blOb", Bytes(1 << 20, 'c')));
  }
  const Bytes bomb = PngOf(1, 1, 8, 2, {0, 10, 20, 30}, chunks);

  ResetPeakHeld();
  const auto start = std::chrono::steady_clock::now();
  const Decoded picture = DecodePng(bomb);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, std::vector<Rgb>{MakeRgb(10, 20, 30)});
  EXPECT_LT(PeakHeld(), 256u << 10);
  EXPECT_LT(took, std::chrono::milliseconds(500));
}

// libpng's memory is bounded, and the bound leaves room for the widest, deepest rows.
TEST(PngChunks, TheWidestSixteenBitRowsStillDecode) {
  constexpr std::uint32_t kWidth = 16384;
  Bytes rows;
  for (int y = 0; y < 2; ++y) {
    rows.push_back(0);
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      rows.insert(rows.end(), {static_cast<std::uint8_t>(x), 0, 7, 0, 9, 0, 255, 0});
    }
  }
  const Decoded picture = DecodePng(PngOf(kWidth, 2, 16, 6, rows));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels[kWidth + 5], MakeRgb(5, 7, 9));
}

// A write that runs out of memory inside libpng's callback comes out of EncodePng as bad_alloc,
// with libpng's structures freed, and the next encoding works.
TEST(PngChunks, RunningOutOfMemoryWhileWritingThrowsFromEncodePng) {
  Image noise(512, 512);
  std::mt19937 random(7);
  for (Rgb& p : noise.pixels) p = random() & 0xFFFFFF;
  testing_support::FailAllocationsAbove(800 << 10);  // the picture's rows fit, the file does not
  EXPECT_THROW(EncodePng(noise), std::bad_alloc);
  testing_support::FailAllocationsAbove(SIZE_MAX);
  EXPECT_TRUE(DecodePng(EncodePng(noise)));
}

// A file whose data ends before its picture does is broken, wherever it is cut: libjpeg would
// fill in what is missing and call it a warning.
TEST(ShortData, AJpegCutShortIsRefusedWherePartOfItWouldBeGrey) {
  const Image photo = testing_support::PhotoLikePicture(96, 64);
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const Bytes whole = testing_support::WriteTestJpeg(photo, progressive);
    ASSERT_TRUE(DecodeJpeg(whole));
    const std::size_t first_scan = testing_support::ScanStart(whole, 0);
    const std::size_t second_scan = testing_support::ScanStart(whole, 1);
    ASSERT_LT(first_scan + 20, whole.size());
    for (const std::size_t cut :
         {std::size_t{4}, first_scan / 2, first_scan + 20, (first_scan + second_scan) / 2,
          second_scan + 1, whole.size() / 2, whole.size() - 40}) {
      if (cut >= whole.size()) continue;
      const Decoded picture = DecodeImage(Bytes(whole.begin(), whole.begin() + cut));
      ASSERT_FALSE(picture) << "cut at " << cut << " of " << whole.size();
      EXPECT_EQ(picture.error(), DecodeError::kUnknownFormat);
    }
  }
  // A frame header that declares more rows and columns than the scan holds: the fit's shrinking
  // route and the whole-size route refuse it alike.
  for (const bool progressive : {false, true}) {
    const Bytes declaring = TruncatedJpeg(512, 256, progressive);
    EXPECT_FALSE(DecodeJpeg(declaring)) << progressive;
    EXPECT_FALSE(DecodeJpeg(declaring, kNoBudget, [](int, int) { return 2; })) << progressive;
  }
}

TEST(ShortData, AJpegDeclaringAHugePictureIsRefusedWithinItsBudget) {
  // The 8192 x 8192 picture of a few hundred bytes takes 256 MiB: refused by a smaller budget.
  ResetLargestAllocation();
  const Decoded big = DecodeJpeg(TruncatedJpeg(8192, 8192, false), 200u << 20);
  ASSERT_FALSE(big);
  EXPECT_EQ(big.error(), DecodeError::kOverBudget);
  EXPECT_LT(LargestAllocation(), kSmall);
}

TEST(ShortData, AProgressiveJpegsCoefficientsComeOutOfTheBudget) {
  // 4096 x 4096 progressive: the picture takes 64 MiB, the library's coefficients about 48 MiB.
  const Bytes jpeg = TruncatedJpeg(4096, 4096, true);
  const Decoded refused = DecodeJpeg(jpeg, (64u << 20) + (1u << 20));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), DecodeError::kOverBudget);
}

}  // namespace
}  // namespace imaging

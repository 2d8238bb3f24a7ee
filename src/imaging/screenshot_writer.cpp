// Screenshot encoders.
#include "imaging/screenshot_writer.h"

#include "base/file_io.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"

namespace imaging {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Image& image) {
  const std::size_t w = image.Empty() ? 0 : image.width;
  const std::size_t h = image.Empty() ? 0 : image.height;
  const std::size_t stride = (w * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> out(54 + stride * h, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(out.size()));
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<std::uint32_t>(w));
  Put32(out, 22, static_cast<std::uint32_t>(h));
  out[26] = 1;
  out[28] = 24;
  Put32(out, 34, static_cast<std::uint32_t>(stride * h));
  Put32(out, 38, 2835);
  Put32(out, 42, 2835);
  for (std::size_t y = 0; y < h; ++y) {
    std::uint8_t* row = &out[54 + (h - 1 - y) * stride];
    for (std::size_t x = 0; x < w; ++x) {
      const Rgb c = image.pixels[y * w + x];
      row[3 * x] = static_cast<std::uint8_t>(BlueOf(c));
      row[3 * x + 1] = static_cast<std::uint8_t>(GreenOf(c));
      row[3 * x + 2] = static_cast<std::uint8_t>(RedOf(c));
    }
  }
  return out;
}

bool WriteScreenshot(const Image& image, const std::string& path, ScreenshotFormat format) {
  std::vector<std::uint8_t> bytes;
  switch (format) {
    case ScreenshotFormat::kPng:
      bytes = EncodePng(image);
      break;
    case ScreenshotFormat::kBmp:
      bytes = EncodeBmp24(image);
      break;
    case ScreenshotFormat::kJpeg:
      bytes = EncodeJpeg(image, kScreenshotJpegQuality);
      break;
  }
  return !bytes.empty() && base::WriteFileAtomically(path, bytes);
}

}  // namespace imaging

// 16-bit BMP reading and writing for skin pictures.
#include "imaging/bmp16.h"

#include <cstddef>

namespace imaging {
namespace {

constexpr std::size_t kHeaderSize = 54;
constexpr std::uint32_t kPixelsPerMetre = 2834;

std::uint32_t Read16(std::span<const std::uint8_t> d, std::size_t at) {
  return d[at] | (d[at + 1] << 8);
}
std::uint32_t Read32(std::span<const std::uint8_t> d, std::size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = v & 0xFF;
  out[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

// Bytes per stored row: two per pixel, plus one pad word when the width is odd.
std::size_t RowStride(std::size_t width) { return 2 * (width + (width & 1)); }

}  // namespace

std::vector<std::uint8_t> EncodeBmp16(const Image& image) {
  const std::size_t w = image.Empty() ? 0 : image.width;
  const std::size_t h = image.Empty() ? 0 : image.height;
  const std::size_t stride = RowStride(w);
  // The pixel block carries two extra bytes after the rows; the image-size field counts them.
  const std::size_t block = h * stride + 2;
  std::vector<std::uint8_t> out(kHeaderSize + block, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(out.size()));
  Put32(out, 10, kHeaderSize);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<std::uint32_t>(w));
  Put32(out, 22, static_cast<std::uint32_t>(h));
  Put16(out, 26, 1);
  Put16(out, 28, 16);
  Put32(out, 34, static_cast<std::uint32_t>(block));
  Put32(out, 38, kPixelsPerMetre);
  Put32(out, 42, kPixelsPerMetre);
  for (std::size_t y = 0; y < h; ++y) {
    std::size_t at = kHeaderSize + (h - 1 - y) * stride;
    const Rgb* row = &image.pixels[y * w];
    for (std::size_t x = 0; x < w; ++x, at += 2) {
      const Rgb c = row[x];
      Put16(out, at, (RedOf(c) >> 3) << 10 | (GreenOf(c) >> 3) << 5 | (BlueOf(c) >> 3));
    }
  }
  return out;
}

bool IsBmp16(std::span<const std::uint8_t> data) {
  return data.size() >= kHeaderSize && data[0] == 'B' && data[1] == 'M' && Read16(data, 28) == 16 &&
         Read32(data, 30) == 0;
}

Decoded DecodeBmp16(std::span<const std::uint8_t> data, std::uint64_t budget) {
  if (!IsBmp16(data)) return DecodeError::kUnknownFormat;
  const auto width = static_cast<std::int32_t>(Read32(data, 18));
  const auto height = static_cast<std::int32_t>(Read32(data, 22));
  if (width < 0 || height < 0) return DecodeError::kUnknownFormat;
  if (width == 0 || height == 0) return Image();
  if (const auto refused = CheckPictureSize(width, height, budget)) return *refused;
  const std::uint64_t offset = Read32(data, 10);
  const std::uint64_t stride = RowStride(static_cast<std::size_t>(width));
  // The last row needs only its pixels, not its pad word, to be present.
  const std::uint64_t needed = offset + (static_cast<std::uint64_t>(height) - 1) * stride +
                               2 * static_cast<std::uint64_t>(width);
  if (needed > data.size()) return DecodeError::kUnknownFormat;

  Image image(width, height);
  for (std::int32_t k = 0; k < height; ++k) {
    const std::uint8_t* src = data.data() + offset + k * stride;
    Rgb* dst = &image.pixels[static_cast<std::size_t>(height - 1 - k) * width];
    for (std::int32_t x = 0; x < width; ++x, src += 2) {
      const std::uint32_t v = src[0] | (src[1] << 8);
      dst[x] = MakeRgb(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
    }
  }
  return image;
}

}  // namespace imaging

// BMP decoding. Every header value is checked against the data before it is used, and the picture
// is allocated only once its size has passed the limits.
#include "imaging/bmp_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "imaging/limits.h"

namespace imaging {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Has(std::uint64_t at, std::uint64_t n) const { return at + n <= data_.size(); }
  std::uint32_t U16(std::size_t at) const { return data_[at] | data_[at + 1] << 8; }
  std::uint32_t U32(std::size_t at) const {
    return U16(at) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
  }
  std::uint8_t U8(std::size_t at) const { return data_[at]; }
  std::size_t size() const { return data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
};

// One channel of a bit-field pixel: its mask's bits shifted down and scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  int Get(std::uint32_t pixel) const {
    if (max == 0) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<int>((v * 255 + max / 2) / max);
  }
};

// Masks are valid when each is one contiguous run of bits.
bool Contiguous(std::uint32_t mask) {
  if (mask == 0) return true;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

struct Header {
  std::uint32_t pixel_offset = 0;
  std::uint32_t header_size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t colours_used = 0;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  bool has_masks = false;
};

std::optional<Header> ReadHeader(const Reader& r) {
  if (!r.Has(0, 18) || r.U8(0) != 'B' || r.U8(1) != 'M') return std::nullopt;
  Header h;
  h.pixel_offset = r.U32(10);
  h.header_size = r.U32(14);
  if (h.header_size == 12) {  // OS/2 1.x core header: 16-bit sizes
    if (!r.Has(14, 12)) return std::nullopt;
    h.width = r.U16(18);
    h.height = static_cast<std::int16_t>(r.U16(20));
    h.bits = r.U16(24);
    return h;
  }
  if (h.header_size < 16 || h.header_size > 4096 ||
      !r.Has(14, std::min<std::uint32_t>(h.header_size, 40))) {
    return std::nullopt;
  }
  h.width = static_cast<std::int32_t>(r.U32(18));
  h.height = static_cast<std::int32_t>(r.U32(22));
  h.bits = r.U16(28);
  if (h.header_size >= 20) h.compression = r.U32(30);
  if (h.header_size >= 36) h.colours_used = r.U32(46);
  if (h.header_size == 64 && h.compression == 3) h.compression = 0xFFFF;  // OS/2 Huffman 1D
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    // Masks follow a 40-byte header, or are part of a larger one.
    const std::size_t at = 14 + 40;
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    if (!r.Has(at, 4 * count)) return std::nullopt;
    for (int i = 0; i < count; ++i) h.masks[i] = r.U32(at + 4 * i);
    if (h.header_size >= 56 && r.Has(at + 12, 4)) h.masks[3] = r.U32(at + 12);
    h.has_masks = true;
  }
  return h;
}

// The decoder keeps each pixel's alpha in its top byte until the end. Many writers leave the alpha
// channel at zero: when every alpha is zero the picture is opaque.
void ApplyAlpha(Image& image) {
  bool any = false;
  for (Rgb p : image.pixels) any = any || (p >> 24) != 0;
  for (Rgb& p : image.pixels) p = any && (p >> 24) < 128 ? kKeyColour : p & 0xFFFFFF;
}

// RLE4 and RLE8. Runs and deltas may move the position anywhere, also far beyond the picture, so
// it is kept in 64 bits, which a file of any length cannot overflow; pixels outside the picture are
// skipped without a loop over them, and decoding stops once the rows are used up.
void DecodeRle(const Reader& r, const Header& h, const std::vector<Rgb>& palette, Image& image) {
  const bool four = h.compression == kRle4;
  const std::int64_t width = image.width;
  const std::int64_t height = image.height;
  std::size_t at = h.pixel_offset;
  std::int64_t x = 0;
  std::int64_t row = 0;  // stored row, from the bottom
  // Puts `count` pixels at x, the i-th of them palette[index(i)], and moves x past them.
  auto run = [&](int count, auto index) {
    const std::int64_t inside = std::clamp<std::int64_t>(width - x, 0, count);
    Rgb* out = &image.pixels[static_cast<std::size_t>(height - 1 - row) * image.width];
    for (int i = 0; i < inside; ++i) {
      const std::size_t entry = index(i);
      out[x + i] = entry < palette.size() ? palette[entry] : 0;
    }
    x += count;
  };
  while (row < height && r.Has(at, 2)) {
    const int count = r.U8(at);
    const int value = r.U8(at + 1);
    at += 2;
    if (count > 0) {
      run(count, [&](int i) { return four ? (i % 2 == 0 ? value >> 4 : value & 15) : value; });
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (!r.Has(at, 2)) return;
      x += r.U8(at);
      row += r.U8(at + 1);
      at += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const int bytes = four ? (value + 1) / 2 : value;
      if (!r.Has(at, bytes)) return;  // cut short: keep what was decoded
      run(value, [&](int i) {
        const int b = r.U8(at + (four ? i / 2 : i));
        return four ? (i % 2 == 0 ? b >> 4 : b & 15) : b;
      });
      at += bytes + (bytes & 1);
    }
  }
}

}  // namespace

bool IsBmp(std::span<const std::uint8_t> data) {
  return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

Decoded DecodeBmp(std::span<const std::uint8_t> data, std::uint64_t budget) {
  const Reader r(data);
  const std::optional<Header> header = ReadHeader(r);
  if (!header) return DecodeError::kUnknownFormat;
  const Header& h = *header;
  const std::int64_t height = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0) return DecodeError::kUnknownFormat;
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  if (rle && h.height < 0) return DecodeError::kUnknownFormat;
  if (h.compression == kRle8 && h.bits != 8) return DecodeError::kUnknownFormat;
  if (h.compression == kRle4 && h.bits != 4) return DecodeError::kUnknownFormat;
  if (!rle && h.compression != kRgb && h.compression != kBitFields &&
      h.compression != kAlphaBitFields) {
    return DecodeError::kUnknownFormat;  // JPEG, PNG or Huffman inside a BMP
  }
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32) {
    return DecodeError::kUnknownFormat;
  }
  if (h.has_masks && h.bits != 16 && h.bits != 32) return DecodeError::kUnknownFormat;

  // The palette follows the headers: 3-byte entries after an OS/2 1.x header, 4-byte otherwise.
  std::vector<Rgb> palette;
  if (h.bits <= 8) {
    const std::size_t entry = h.header_size == 12 ? 3 : 4;
    std::size_t count =
        h.colours_used == 0 || h.colours_used > (1u << h.bits) ? (1u << h.bits) : h.colours_used;
    std::size_t at = 14 + h.header_size;
    // A palette cut off by the pixel data or the end of the file keeps the entries present.
    const std::size_t end =
        std::min<std::size_t>(r.size(), h.pixel_offset >= at ? h.pixel_offset : r.size());
    count = std::min(count, end > at ? (end - at) / entry : 0);
    if (count == 0) return DecodeError::kUnknownFormat;
    for (std::size_t i = 0; i < count; ++i, at += entry) {
      palette.push_back(MakeRgb(r.U8(at + 2), r.U8(at + 1), r.U8(at)));
    }
  }

  if (const auto refused = CheckPictureSize(h.width, height, budget)) return *refused;
  const int width = static_cast<int>(h.width);
  const int rows = static_cast<int>(height);
  if (rle) {
    if (h.pixel_offset >= r.size()) return DecodeError::kUnknownFormat;
    Image image(width, rows, 0);
    DecodeRle(r, h, palette, image);
    return image;
  }

  // Uncompressed rows must all be present before the picture is allocated.
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * h.bits + 31) / 32) * 4;
  if (!r.Has(h.pixel_offset, stride * rows)) return DecodeError::kUnknownFormat;

  std::array<Channel, 4> channels;
  if (h.bits == 16 || h.bits == 32) {
    std::array<std::uint32_t, 4> masks = h.masks;
    if (!h.has_masks) {
      masks = h.bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                           : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
    }
    for (std::uint32_t m : masks) {
      if (!Contiguous(m)) return DecodeError::kUnknownFormat;
    }
    for (int i = 0; i < 4; ++i) channels[i] = Channel(masks[i]);
  }

  Image image(width, rows);
  const bool has_alpha = channels[3].mask != 0;
  for (int k = 0; k < rows; ++k) {
    const std::size_t at = h.pixel_offset + k * stride;
    const int y = h.height < 0 ? k : rows - 1 - k;
    for (int x = 0; x < width; ++x) {
      Rgb& out = image.At(x, y);
      switch (h.bits) {
        case 1:
        case 4:
        case 8: {
          const std::size_t bit = static_cast<std::size_t>(x) * h.bits;
          const int byte = r.U8(at + bit / 8);
          const int index = (byte >> (8 - h.bits - bit % 8)) & ((1 << h.bits) - 1);
          out = static_cast<std::size_t>(index) < palette.size() ? palette[index] : 0;
          break;
        }
        case 24: {
          const std::size_t p = at + 3 * static_cast<std::size_t>(x);
          out = MakeRgb(r.U8(p + 2), r.U8(p + 1), r.U8(p));
          break;
        }
        default: {
          const std::size_t p = at + static_cast<std::size_t>(x) * (h.bits / 8);
          const std::uint32_t v = h.bits == 16 ? r.U16(p) : r.U32(p);
          out = MakeRgb(channels[0].Get(v), channels[1].Get(v), channels[2].Get(v)) |
                static_cast<Rgb>(channels[3].Get(v)) << 24;
        }
      }
    }
  }
  if (has_alpha) ApplyAlpha(image);
  return image;
}

}  // namespace imaging

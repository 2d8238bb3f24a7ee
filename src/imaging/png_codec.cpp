// PNG through libpng. libpng reports errors by longjmp, so each operation keeps its C++ objects
// outside the jump's reach and owns nothing that needs a destructor inside it.
#include "imaging/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "imaging/limits.h"

namespace imaging {
namespace {

struct ReadSource {
  std::span<const std::uint8_t> data;
  std::size_t offset = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
  if (length > source->data.size() - source->offset) png_error(png, "read past end");
  std::memcpy(out, source->data.data() + source->offset, length);
  source->offset += length;
}

void WriteToVector(png_structp png, png_bytep in, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), in, in + length);
}

void FlushNothing(png_structp) {}

void SilentWarning(png_structp, png_const_charp) {}

void ErrorJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Decodes into `rgba` (width * height * 4 bytes); false on any libpng error. Kept apart from
// DecodePng so that no object with a destructor lives in the frame that setjmp returns to twice.
bool DecodeRgba(png_structp png, png_infop info, std::vector<std::uint8_t>& rgba,
                std::vector<png_bytep>& rows, png_uint_32& width, png_uint_32& height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  width = png_get_image_width(png, info);
  height = png_get_image_height(png, info);
  if (!SizeAllowed(width, height)) return false;
  const int colour_type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (depth == 16) png_set_strip_16(png);  // keep the high byte, no rounding
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;
  rgba.resize(static_cast<std::size_t>(width) * height * 4);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = rgba.data() + static_cast<std::size_t>(y) * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  return true;
}

bool EncodeRows(png_structp png, png_infop info, const Image& image, std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}

std::optional<Image> DecodePng(std::span<const std::uint8_t> data) {
  if (!IsPng(data)) return std::nullopt;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorJump, SilentWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return std::nullopt;
  }
  // Bound what ancillary chunks may allocate.
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, 16 * 1024 * 1024);
  ReadSource source{data, 0};
  png_set_read_fn(png, &source, ReadFromMemory);

  std::vector<std::uint8_t> rgba;
  std::vector<png_bytep> rows;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  const bool ok = DecodeRgba(png, info, rgba, rows, width, height);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::nullopt;

  Image image(static_cast<int>(width), static_cast<int>(height));
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint8_t* p = &rgba[i * 4];
    image.pixels[i] = FromRgba(p[0], p[1], p[2], p[3]);
  }
  return image;
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.Empty()) return {};
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorJump, SilentWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {};
  }
  std::vector<std::uint8_t> out;
  png_set_write_fn(png, &out, WriteToVector, FlushNothing);

  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(RedOf(image.pixels[i]));
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(GreenOf(image.pixels[i]));
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(BlueOf(image.pixels[i]));
  }
  std::vector<png_bytep> rows(image.height);
  for (int y = 0; y < image.height; ++y)
    rows[y] = &rgb[static_cast<std::size_t>(y) * image.width * 3];
  const bool ok = EncodeRows(png, info, image, rows);
  png_destroy_write_struct(&png, &info);
  if (!ok) out.clear();
  return out;
}

}  // namespace imaging

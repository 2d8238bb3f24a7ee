// PNG through libpng. libpng reports errors by longjmp, so each operation keeps its C++ objects
// outside the jump's reach and owns nothing that needs a destructor inside it; no callback lets a
// C++ exception into libpng's C frames.
#include "imaging/png_codec.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>

#include "imaging/limits.h"

namespace imaging {
namespace {

static_assert(std::endian::native == std::endian::little,
              "rows are decoded straight into Rgb pixels, whose bytes are R, G, B, A");

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

struct WriteTarget {
  std::vector<std::uint8_t> bytes;
  bool out_of_memory = false;
};

// An exception must not unwind through libpng: a failed allocation is noted and becomes libpng's
// own error, and EncodePng throws it again once libpng is done.
void WriteToVector(png_structp png, png_bytep in, png_size_t length) {
  auto* out = static_cast<WriteTarget*>(png_get_io_ptr(png));
  try {
    out->bytes.insert(out->bytes.end(), in, in + length);
  } catch (const std::bad_alloc&) {
    out->out_of_memory = true;
  }
  if (out->out_of_memory) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

void SilentWarning(png_structp, png_const_charp) {}

void ErrorJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// libpng's own memory while it reads: its structures, the inflater and a few rows. The picture
// itself is allocated by DecodeRgba, outside this count. Rows are at most 16384 pixels of 8 bytes,
// so a real file needs well under 1 MiB; a file that would make libpng hold more is refused.
constexpr std::size_t kLibraryMemory = 8 * 1024 * 1024;
constexpr std::size_t kMaxChunkBytes = 1024 * 1024;

struct LibraryMemory {
  std::size_t in_use = 0;
};

// Each block is preceded by its size, so that freeing it can give its bytes back to the count.
constexpr std::size_t kBlockHeader = alignof(std::max_align_t);

png_voidp AllocateCounted(png_structp png, png_alloc_size_t size) {
  auto* memory = static_cast<LibraryMemory*>(png_get_mem_ptr(png));
  if (size > kLibraryMemory - memory->in_use) return nullptr;  // libpng makes it its own error
  void* block = ::operator new(size + kBlockHeader, std::nothrow);
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  memory->in_use += size;
  return static_cast<std::byte*>(block) + kBlockHeader;
}

void FreeCounted(png_structp png, png_voidp pointer) {
  if (pointer == nullptr) return;
  std::byte* block = static_cast<std::byte*>(pointer) - kBlockHeader;
  png_alloc_size_t size;
  std::memcpy(&size, block, sizeof size);
  static_cast<LibraryMemory*>(png_get_mem_ptr(png))->in_use -= size;
  ::operator delete(block);
}

// A picture costs what its pixels cost: libpng is told to skip, unread, every ancillary chunk the
// decoder has no use for (texts, compressed or not, ICC profiles, gamma, unknown chunks) rather
// than inflate and keep them, so a small file of many compressed texts cannot take gigabytes. Only
// tRNS, which gives palettes and grey or RGB pictures their transparency, is kept.
void LimitLibrary(png_structp png) {
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, 16);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
}

// The size the header chunk declares, checked before libpng sees the file, so that a picture
// above the size limits is told apart from a corrupt file (libpng refuses both alike).
std::optional<DecodeError> CheckDeclaredSize(std::span<const std::uint8_t> data) {
  constexpr std::size_t kIhdr = 8;  // after the signature: length, "IHDR", width, height
  if (data.size() < kIhdr + 16 || std::memcmp(data.data() + kIhdr + 4, "IHDR", 4) != 0) {
    return std::nullopt;  // libpng reports the broken header
  }
  const auto field = [&](std::size_t at) {
    return std::uint32_t{data[at]} << 24 | std::uint32_t{data[at + 1]} << 16 |
           std::uint32_t{data[at + 2]} << 8 | data[at + 3];
  };
  const std::uint32_t width = field(kIhdr + 8);
  const std::uint32_t height = field(kIhdr + 12);
  if (width == 0 || height == 0) return std::nullopt;
  return CheckPictureSize(width, height, kNoBudget);
}

// Deflate turns one byte into at most 1032; a file whose remaining bytes cannot hold its pixels
// even at that ratio is cut short, and is refused before its picture is allocated.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

int Channels(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Decodes into `image`, whose pixels take the RGBA rows in place (an Rgb holds R, G, B, A in memory
// order); false with `error` set on any failure. Kept apart from DecodePng so that no object with
// a destructor lives in the frame that setjmp returns to twice.
bool DecodeRgba(png_structp png, png_infop info, const ReadSource& source, std::uint64_t budget,
                Image& image, std::vector<png_bytep>& rows, DecodeError& error) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (const auto refused = CheckPictureSize(width, height, budget)) {
    error = *refused;
    return false;
  }
  const int colour_type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  const std::uint64_t pixel_bits =
      static_cast<std::uint64_t>(width) * height * Channels(colour_type) * depth;
  if ((source.data.size() - source.offset) * kMaxDeflateRatio < pixel_bits / 8) return false;
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
  image = Image(static_cast<int>(width), static_cast<int>(height));
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(&image.pixels[static_cast<std::size_t>(y) * width]);
  }
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

Decoded DecodePng(std::span<const std::uint8_t> data, std::uint64_t budget) {
  if (!IsPng(data)) return DecodeError::kUnknownFormat;
  if (const auto refused = CheckDeclaredSize(data)) return *refused;
  LibraryMemory memory;
  png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ErrorJump,
                                             SilentWarning, &memory, AllocateCounted, FreeCounted);
  if (png == nullptr) return DecodeError::kUnknownFormat;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return DecodeError::kUnknownFormat;
  }
  LimitLibrary(png);
  ReadSource source{data, 0};
  png_set_read_fn(png, &source, ReadFromMemory);

  Image image;
  std::vector<png_bytep> rows;
  DecodeError error = DecodeError::kUnknownFormat;
  bool ok = false;
  try {
    ok = DecodeRgba(png, info, source, budget, image, rows, error);
  } catch (...) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return error;
  for (Rgb& pixel : image.pixels) {
    pixel = FromRgba(RedOf(pixel), GreenOf(pixel), BlueOf(pixel), static_cast<int>(pixel >> 24));
  }
  return image;
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
  if (image.Empty()) return {};
  // Allocated before libpng's structures, which a throw from here would otherwise leak.
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
  PackRgb(image.pixels.data(), image.pixels.size(), rgb.data());
  std::vector<png_bytep> rows(image.height);
  for (int y = 0; y < image.height; ++y)
    rows[y] = &rgb[static_cast<std::size_t>(y) * image.width * 3];
  WriteTarget out;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorJump, SilentWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {};
  }
  png_set_write_fn(png, &out, WriteToVector, FlushNothing);
  const bool ok = EncodeRows(png, info, image, rows);
  png_destroy_write_struct(&png, &info);
  if (out.out_of_memory) throw std::bad_alloc();
  if (!ok) return {};
  return std::move(out.bytes);
}

}  // namespace imaging

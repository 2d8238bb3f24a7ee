// JPEG through libjpeg. Errors leave the library by longjmp; the frames it jumps across hold no
// C++ objects with destructors.
#include "imaging/jpeg_codec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdlib>

#include "imaging/limits.h"

namespace imaging {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void SilentMessage(j_common_ptr) {}

// Corrupt-data warnings are recoverable; a file that triggers them too often is treated as broken
// rather than decoded for ever. The end of the data before the end of the picture is only a
// warning to the library, which fills in the rest grey; here it ends the decoding, so that a file
// cut short (the file ends) or one whose frame header declares more than its scans hold (a scan's
// data ends at the next marker with blocks still to come) is not taken as whole.
void CountWarnings(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || cinfo->err->num_warnings++ > 1000) {
    ErrorExit(cinfo);
  }
}

// A progressive file may hold any number of scans, each a pass over the whole picture; real files
// have a dozen. Stop hostile ones before they cost minutes.
void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->is_decompressor && d->input_scan_number > 100) ErrorExit(cinfo);
}

// One decoded row of `components` channels as RGB.
// Colour pictures are decoded into the pixels themselves where their memory order allows.
constexpr bool kDirect = std::endian::native == std::endian::little && sizeof(Rgb) == 4;

void ConvertRow(const std::uint8_t* in, int components, bool adobe_inverted, Rgb* out, int width) {
  for (int x = 0; x < width; ++x, in += components) {
    if (components == 1) {
      out[x] = MakeRgb(in[0], in[0], in[0]);
    } else if (components == 3) {
      out[x] = MakeRgb(in[0], in[1], in[2]);
    } else {
      // Adobe writes CMYK inverted (0 = full ink); others store it straight.
      int c = in[0], m = in[1], y = in[2], k = in[3];
      if (!adobe_inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      out[x] = MakeRgb(c * k / 255, m * k / 255, y * k / 255);
    }
  }
}

// A source that asks `read` for the file as the library goes through it.
struct StreamSource {
  jpeg_source_mgr base;
  const ReadMore* read;
  std::uint8_t* buffer;
  std::size_t size;
};

constexpr JOCTET kFakeEnd[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo) {
  auto* source = reinterpret_cast<StreamSource*>(cinfo->src);
  const std::int64_t n = (*source->read)(source->buffer, source->size);
  if (n <= 0) {
    // As the library's own sources do: a warning (which ends the decoding here, see
    // CountWarnings), and an end marker in case it is ever passed over.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source->base.next_input_byte = kFakeEnd;
    source->base.bytes_in_buffer = 2;
    return TRUE;
  }
  source->base.next_input_byte = source->buffer;
  source->base.bytes_in_buffer = static_cast<std::size_t>(n);
  return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* source = cinfo->src;
  while (count > static_cast<long>(source->bytes_in_buffer)) {
    count -= static_cast<long>(source->bytes_in_buffer);
    FillInput(cinfo);
  }
  if (count > 0) {
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
  }
}

// Library memory besides the picture, for a baseline file: a few rows of blocks.
constexpr std::uint64_t kLibraryMinimum = 16ull * 1024 * 1024;

// Decodes from `data`, or from `stream` when it is given.
bool DecodeRows(jpeg_decompress_struct& cinfo, ErrorManager& err, jpeg_progress_mgr& progress,
                std::span<const std::uint8_t> data, StreamSource* stream, std::uint64_t budget,
                const EighthsFor& eighths, Image& image, std::vector<std::uint8_t>& row,
                DecodeError& error) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  if (stream != nullptr) {
    cinfo.src = &stream->base;
  } else {
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  }
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  // The limits hold for the picture the file holds, whatever size it is decoded at.
  if (const auto refused = CheckPictureSize(cinfo.image_width, cinfo.image_height, kNoBudget)) {
    error = *refused;
    return false;
  }
  if (eighths) {
    // The inverse DCT of a smaller block size gives the picture scaled by n/8 while it decodes.
    const int n = std::clamp(
        eighths(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height)), 1, 8);
    cinfo.scale_num = static_cast<unsigned>(n);
    cinfo.scale_denom = 8;
    // A picture decoded smaller is resampled further: plain chroma upsampling is enough for it.
    if (n < 8) cinfo.do_fancy_upsampling = FALSE;
  }
  jpeg_calc_output_dimensions(&cinfo);
  if (const auto refused = CheckPictureSize(cinfo.output_width, cinfo.output_height, budget)) {
    error = *refused;
    return false;
  }
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;
      break;
    default:
      // Straight into the picture's pixels: red in the low byte, so R, G, B, X in memory.
      cinfo.out_color_space = kDirect ? JCS_EXT_RGBX : JCS_RGB;
      break;
  }
  const bool adobe_inverted = cinfo.saw_Adobe_marker;
  // A progressive file keeps every coefficient of the picture while it decodes; what the library
  // may hold besides the picture comes out of the same budget (with a floor that baseline files
  // always fit in). The library's memory manager has no backing store: a larger request fails.
  const std::uint64_t picture =
      static_cast<std::uint64_t>(cinfo.output_width) * cinfo.output_height * kBytesPerPixel;
  const std::uint64_t left = budget - picture;
  cinfo.mem->max_memory_to_use =
      static_cast<long>(std::clamp<std::uint64_t>(left, kLibraryMinimum, 512ull * 1024 * 1024));
  jpeg_start_decompress(&cinfo);
  const int components = cinfo.output_components;
  const int width = static_cast<int>(cinfo.output_width);
  image = Image(width, static_cast<int>(cinfo.output_height));
  if (cinfo.out_color_space == JCS_EXT_RGBX) {
    constexpr int kRowsAtOnce = 8;
    JSAMPROW rows[kRowsAtOnce];
    while (cinfo.output_scanline < cinfo.output_height) {
      const std::size_t y = cinfo.output_scanline;
      const int count = static_cast<int>(
          std::min<JDIMENSION>(kRowsAtOnce, cinfo.output_height - cinfo.output_scanline));
      for (int i = 0; i < count; ++i) {
        rows[i] = reinterpret_cast<JSAMPROW>(&image.pixels[(y + i) * width]);
      }
      const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
      if (got == 0) return false;
      // The library sets the fourth byte; a picture's pixels carry none.
      for (Rgb *p = &image.pixels[y * width], *end = p + got * width; p != end; ++p) {
        *p &= 0xFFFFFF;
      }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
  }
  row.resize(static_cast<std::size_t>(width) * components);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) return false;
    ConvertRow(row.data(), components, adobe_inverted,
               &image.pixels[static_cast<std::size_t>(y) * width], width);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

bool EncodeRows(jpeg_compress_struct& cinfo, ErrorManager& err,
                const std::vector<std::uint8_t>& rgb, int width, int height, int quality,
                unsigned char*& buffer, unsigned long& size) {
  if (setjmp(err.jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) +
                   static_cast<std::size_t>(cinfo.next_scanline) * width * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

Decoded Decode(std::span<const std::uint8_t> data, StreamSource* stream, std::uint64_t budget,
               const EighthsFor& eighths) {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.output_message = SilentMessage;
  err.base.emit_message = CountWarnings;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = LimitScans;
  Image image;
  std::vector<std::uint8_t> row;
  DecodeError error = DecodeError::kUnknownFormat;
  bool ok = false;
  try {
    ok = DecodeRows(cinfo, err, progress, data, stream, budget, eighths, image, row, error);
  } catch (...) {
    jpeg_destroy_decompress(&cinfo);
    throw;
  }
  // The memory manager asks for a backing store when the coefficients outgrow what it may hold.
  if (!ok && err.base.msg_code == JERR_NO_BACKING_STORE) error = DecodeError::kOverBudget;
  jpeg_destroy_decompress(&cinfo);
  if (!ok) return error;
  return image;
}

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

Decoded DecodeJpeg(std::span<const std::uint8_t> data, std::uint64_t budget,
                   const EighthsFor& eighths) {
  if (!IsJpeg(data)) return DecodeError::kUnknownFormat;
  return Decode(data, nullptr, budget, eighths);
}

Decoded DecodeJpeg(const ReadMore& read, std::uint64_t budget, const EighthsFor& eighths) {
  constexpr std::size_t kChunk = 64 * 1024;
  std::vector<std::uint8_t> buffer(kChunk);
  // The first bytes say whether this is a JPEG at all.
  std::int64_t got = 0;
  while (got < 3) {
    const std::int64_t n = read(buffer.data() + got, kChunk - static_cast<std::size_t>(got));
    if (n <= 0) break;
    got += n;
  }
  if (!IsJpeg({buffer.data(), static_cast<std::size_t>(std::max<std::int64_t>(got, 0))}))
    return DecodeError::kUnknownFormat;
  StreamSource stream{};
  stream.base.init_source = InitSource;
  stream.base.fill_input_buffer = FillInput;
  stream.base.skip_input_data = SkipInput;
  stream.base.resync_to_restart = jpeg_resync_to_restart;
  stream.base.term_source = TermSource;
  stream.base.next_input_byte = buffer.data();
  stream.base.bytes_in_buffer = static_cast<std::size_t>(got);
  stream.read = &read;
  stream.buffer = buffer.data();
  stream.size = kChunk;
  return Decode({}, &stream, budget, eighths);
}

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
  if (image.Empty()) return {};
  std::vector<std::uint8_t> rgb(image.pixels.size() * 3);
  PackRgb(image.pixels.data(), image.pixels.size(), rgb.data());
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.output_message = SilentMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = EncodeRows(cinfo, err, rgb, image.width, image.height, quality, buffer, size);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out;
  if (ok && buffer != nullptr) out.assign(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace imaging

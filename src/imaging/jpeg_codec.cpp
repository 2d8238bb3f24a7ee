// JPEG through libjpeg. Errors leave the library by longjmp; the frames it jumps across hold no
// C++ objects with destructors.
#include "imaging/jpeg_codec.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

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
// rather than decoded for ever.
void CountWarnings(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->num_warnings++ > 1000) ErrorExit(cinfo);
}

// A progressive file may hold any number of scans, each a pass over the whole picture; real files
// have a dozen. Stop hostile ones before they cost minutes.
void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->is_decompressor && d->input_scan_number > 100) ErrorExit(cinfo);
}

bool DecodeRows(jpeg_decompress_struct& cinfo, ErrorManager& err, jpeg_progress_mgr& progress,
                std::span<const std::uint8_t> data, std::vector<std::uint8_t>& pixels,
                int& components, bool& adobe_inverted) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) return false;
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;
      break;
    default:
      cinfo.out_color_space = JCS_RGB;
      break;
  }
  adobe_inverted = cinfo.saw_Adobe_marker;
  cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
  jpeg_start_decompress(&cinfo);
  components = cinfo.output_components;
  const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * components;
  pixels.resize(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
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

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> data) {
  if (!IsJpeg(data)) return std::nullopt;
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.output_message = SilentMessage;
  err.base.emit_message = CountWarnings;
  std::vector<std::uint8_t> pixels;
  int components = 0;
  bool inverted = false;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = LimitScans;
  const bool ok = DecodeRows(cinfo, err, progress, data, pixels, components, inverted);
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  jpeg_destroy_decompress(&cinfo);
  if (!ok || width <= 0 || height <= 0) return std::nullopt;

  Image image(width, height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint8_t* p = &pixels[i * components];
    if (components == 1) {
      image.pixels[i] = MakeRgb(p[0], p[0], p[0]);
    } else if (components == 3) {
      image.pixels[i] = MakeRgb(p[0], p[1], p[2]);
    } else {
      // Adobe writes CMYK inverted (0 = full ink); others store it straight.
      int c = p[0], m = p[1], y = p[2], k = p[3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      image.pixels[i] = MakeRgb(c * k / 255, m * k / 255, y * k / 255);
    }
  }
  return image;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
  if (image.Empty()) return {};
  std::vector<std::uint8_t> rgb(image.pixels.size() * 3);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(RedOf(image.pixels[i]));
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(GreenOf(image.pixels[i]));
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(BlueOf(image.pixels[i]));
  }
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

// JPEG files for the decoders' tests, written by libjpeg's own compressor: baseline or
// progressive, of any picture.
#pragma once

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/image.h"

namespace testing_support {

// `picture` as a JPEG file at `quality`, progressive (libjpeg's simple progression of ten scans)
// or baseline.
inline std::vector<std::uint8_t> WriteTestJpeg(const imaging::Image& picture, bool progressive,
                                               int quality = 90) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < picture.width; ++x) {
      const imaging::Rgb p = picture.At(x, static_cast<int>(cinfo.next_scanline));
      row[x * 3] = static_cast<std::uint8_t>(imaging::RedOf(p));
      row[x * 3 + 1] = static_cast<std::uint8_t>(imaging::GreenOf(p));
      row[x * 3 + 2] = static_cast<std::uint8_t>(imaging::BlueOf(p));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> jpeg(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return jpeg;
}

// Where the `n`-th (from 0) start-of-scan marker of `jpeg` stands; the size when there is none.
inline std::size_t ScanStart(const std::vector<std::uint8_t>& jpeg, int n) {
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA && n-- == 0) return i;
  }
  return jpeg.size();
}

}  // namespace testing_support

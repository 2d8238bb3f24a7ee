// Fuzz target: the general decoder (BMP, PNG, JPEG by content) on any bytes, then dithering of
// whatever it decodes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/dither.h"
#include "imaging/image_decoder.h"
#include "imaging/limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  auto image = imaging::DecodeImage(bytes);
  if (!image) return 0;
  if (!imaging::SizeAllowed(image->width, image->height) ||
      image->pixels.size() != static_cast<std::size_t>(image->width) * image->height) {
    std::abort();
  }
  imaging::DitherToRgb555(*image);
  for (imaging::Rgb p : image->pixels) {
    if (p & ~0xF8F8F8u) std::abort();
  }
  return 0;
}

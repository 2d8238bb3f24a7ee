// Fuzz target: the direct 16-bit BMP decoder never reads outside its data, and what it decodes
// encodes and decodes again to the same picture.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bmp16.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Copy into an exactly sized buffer so that the sanitizer sees any read past the end.
  const std::vector<std::uint8_t> bytes(data, data + size);
  const auto image = imaging::DecodeBmp16(bytes);
  if (!image) return 0;
  const auto again = imaging::DecodeBmp16(imaging::EncodeBmp16(*image));
  if (!again || *again != *image) std::abort();
  return 0;
}

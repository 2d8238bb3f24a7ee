// Fuzz target: the BMP decoder alone, so that its header checks get all the attention.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bmp_decoder.h"
#include "imaging/limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Every input is a BMP: the signature is not what the fuzzer should spend its time on.
  std::vector<std::uint8_t> bytes{'B', 'M'};
  bytes.insert(bytes.end(), data, data + size);
  const auto image = imaging::DecodeBmp(bytes);
  if (image && !imaging::SizeAllowed(image->width, image->height)) std::abort();
  return 0;
}

// Format recognition by signature.
#include "imaging/image_decoder.h"

#include "imaging/bmp_decoder.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"

namespace imaging {

Decoded DecodeImage(std::span<const std::uint8_t> data, std::uint64_t budget) {
  if (IsPng(data)) return DecodePng(data, budget);
  if (IsJpeg(data)) return DecodeJpeg(data, budget);
  if (IsBmp(data)) return DecodeBmp(data, budget);
  return DecodeError::kUnknownFormat;
}

}  // namespace imaging

// Format recognition by signature.
#include "imaging/image_decoder.h"

#include "imaging/bmp_decoder.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"

namespace imaging {

std::optional<Image> DecodeImage(std::span<const std::uint8_t> data) {
  if (IsPng(data)) return DecodePng(data);
  if (IsJpeg(data)) return DecodeJpeg(data);
  if (IsBmp(data)) return DecodeBmp(data);
  return std::nullopt;
}

}  // namespace imaging

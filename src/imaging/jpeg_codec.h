// JPEG reading and writing through libjpeg.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/image.h"

namespace imaging {

// True when `data` starts with a JPEG start-of-image marker.
bool IsJpeg(std::span<const std::uint8_t> data);

// Decodes a baseline or progressive JPEG (greyscale, YCbCr, RGB, CMYK or YCCK, Adobe's inverted
// CMYK included) to 8-bit RGB. Returns nothing for a corrupt file, one the library cannot decode
// (12-bit, lossless) or one above the size limits.
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> data);

// Encodes `image` as a baseline JPEG at `quality` (0-100). Empty on failure.
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

}  // namespace imaging

// PNG reading and writing through libpng.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/image.h"

namespace imaging {

// True when `data` starts with the PNG signature.
bool IsPng(std::span<const std::uint8_t> data);

// Decodes any PNG (every colour type and depth, palettes with transparency, interlacing) to 8-bit
// RGB. 16-bit channels keep their high byte; pixels with alpha below 128 become the key colour.
// Returns nothing for a corrupt file or one above the size limits (checked before any large
// allocation).
std::optional<Image> DecodePng(std::span<const std::uint8_t> data);

// Encodes `image` as an 8-bit RGB PNG. Returns an empty vector when libpng fails.
std::vector<std::uint8_t> EncodePng(const Image& image);

}  // namespace imaging

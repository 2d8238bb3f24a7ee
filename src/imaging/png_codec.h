// PNG reading and writing through libpng.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

// True when `data` starts with the PNG signature.
bool IsPng(std::span<const std::uint8_t> data);

// Decodes any PNG (every colour type and depth, palettes with transparency, interlacing) to 8-bit
// RGB. 16-bit channels keep their high byte; pixels with alpha below 128 become the key colour.
// Gives no picture for a corrupt file, one above the size limits, or one whose picture would take
// more than `budget` bytes. The size is checked, and so is that the file holds enough compressed
// data for its rows, before the picture is allocated. Ancillary chunks other than tRNS (texts,
// profiles, unknown chunks) are skipped unread, and libpng's own memory is bounded, so a file
// costs what its pixels cost. Throws std::bad_alloc only when the picture itself cannot be
// allocated.
Decoded DecodePng(std::span<const std::uint8_t> data, std::uint64_t budget = kNoBudget);

// Encodes `image` as an 8-bit RGB PNG. Returns an empty vector when libpng fails; throws
// std::bad_alloc when memory runs out, also while libpng writes (never through libpng's frames).
std::vector<std::uint8_t> EncodePng(const Image& image);

}  // namespace imaging

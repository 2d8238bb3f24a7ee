// The general BMP decoder: every BMP kind except the skins' own 16-bit files' fast path.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

// True when `data` starts with "BM".
bool IsBmp(std::span<const std::uint8_t> data);

// Decodes 1-, 4- and 8-bit palette images, RLE4 and RLE8, 16- and 32-bit with or without bit-field
// masks, 24-bit, top-down rows and the OS/2 headers, to 8-bit RGB. A channel of n bits is scaled
// to 8 bits. Pixels that RLE leaves undefined are black. With an alpha mask (and not every alpha
// zero) pixels with alpha below 128 become the key colour. Gives no picture for a file it cannot
// read safely, one above the size limits or one whose picture would take more than `budget` bytes
// (checked before the picture is allocated); nothing outside `data` is read.
Decoded DecodeBmp(std::span<const std::uint8_t> data, std::uint64_t budget = kNoBudget);

}  // namespace imaging

// The 16-bit uncompressed BMP that skins store their pictures in: 5 bits per channel, red in bits
// 10-14, rows bottom-up and padded to four bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

// Writes `image` as a 16-bit BMP: a 54-byte header, the rows bottom-up, two extra zero bytes at
// the end. Each channel keeps its top five bits; bit 15 of every pixel is 0. An empty image gives
// the 56-byte file of a 0 x 0 bitmap.
std::vector<std::uint8_t> EncodeBmp16(const Image& image);

// True when `data` announces a 16-bit uncompressed BMP: "BM" at offset 0, 16 bits per pixel at
// offset 28 and compression 0 at offset 30. Shorter data is never one.
bool IsBmp16(std::span<const std::uint8_t> data);

// Decodes a 16-bit uncompressed BMP without loss of colour (a channel of 31 gives 248). Gives no
// picture when the data is not such a file or cannot be decoded safely (shorter than its 54-byte
// header, a negative (top-down) width or height, or pixel rows that run past the end of the data:
// kUnknownFormat), when it is above the size limits (kTooLarge), or when its picture would take
// more than `budget` bytes (kOverBudget); both are checked before anything is allocated. Nothing
// outside `data` is ever read. A width or height of 0 gives an empty image.
Decoded DecodeBmp16(std::span<const std::uint8_t> data, std::uint64_t budget = kNoBudget);

}  // namespace imaging

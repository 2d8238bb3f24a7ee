// The general image decoder: BMP, PNG and JPEG, recognised by their content.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

// Decodes BMP, PNG or JPEG data to 8-bit RGB at the picture's own size, whatever the file's name.
// Gives no picture for data of another format or corrupt data (kUnknownFormat), a picture above
// the size limits of 16384 pixels a side and 64 megapixels (kTooLarge), or one that would take more
// than `budget` bytes (kOverBudget); the size is checked before the picture is allocated.
Decoded DecodeImage(std::span<const std::uint8_t> data, std::uint64_t budget = kNoBudget);

}  // namespace imaging

// The general image decoder: BMP, PNG and JPEG, recognised by their content.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/image.h"

namespace imaging {

// Decodes BMP, PNG or JPEG data to 8-bit RGB at the picture's own size, whatever the file's name.
// Returns nothing for data of another format, corrupt data or a picture above the size limits
// (16384 pixels a side, 64 megapixels).
std::optional<Image> DecodeImage(std::span<const std::uint8_t> data);

}  // namespace imaging

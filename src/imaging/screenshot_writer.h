// Screenshots of the preview written as PNG, BMP or JPEG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace imaging {

enum class ScreenshotFormat { kPng, kBmp, kJpeg };

inline constexpr int kScreenshotJpegQuality = 70;

// A 24-bit uncompressed BMP of `image`, rows bottom-up.
std::vector<std::uint8_t> EncodeBmp24(const Image& image);

// Encodes `image` in `format` (JPEG at quality 70) and writes it to `path`, replacing an existing
// file only once the new one is complete. False when encoding or writing failed.
bool WriteScreenshot(const Image& image, const std::string& path, ScreenshotFormat format);

}  // namespace imaging

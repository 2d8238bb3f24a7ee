// JPEG reading and writing through libjpeg.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "imaging/image.h"
#include "imaging/limits.h"

namespace imaging {

// True when `data` starts with a JPEG start-of-image marker.
bool IsJpeg(std::span<const std::uint8_t> data);

// Decodes a baseline or progressive JPEG (greyscale, YCbCr, RGB, CMYK or YCCK, Adobe's inverted
// CMYK included) to 8-bit RGB. Gives no picture (kUnknownFormat) for a corrupt file, one whose data
// ends before its picture does (cut short, or declaring a larger picture than it holds), or one
// the library cannot decode (12-bit, lossless); nor for one above the size limits or one whose
// picture would take more than `budget` bytes, the library's own working memory counted against
// what the budget leaves.
//
// `eighths`, when given, is asked with the picture's width and height for n (1 to 8): the picture
// is then decoded at n/8 of its size (rounded up), which costs a fraction of a whole decode. The
// size limits hold for the picture's own size, the budget for the size decoded.
using EighthsFor = std::function<int(int width, int height)>;
Decoded DecodeJpeg(std::span<const std::uint8_t> data, std::uint64_t budget = kNoBudget,
                   const EighthsFor& eighths = {});

// Where a JPEG read piece by piece comes from: asked for up to `size` more bytes into `buffer`, it
// gives how many it gave, 0 at the end of the file and -1 on a read error (both end the decoding
// as a file cut short does).
using ReadMore = std::function<std::int64_t(std::uint8_t* buffer, std::size_t size)>;
// DecodeJpeg on a file read as the decoder goes, so that the file is never held whole.
Decoded DecodeJpeg(const ReadMore& read, std::uint64_t budget = kNoBudget,
                   const EighthsFor& eighths = {});

// Encodes `image` as a baseline JPEG at `quality` (0-100). Empty on failure.
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

}  // namespace imaging

// Size limits that protect the decoders against hostile files, and the result every decoder gives.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "imaging/image.h"

namespace imaging {

inline constexpr std::uint32_t kMaxImageSide = 16384;
inline constexpr std::uint64_t kMaxImagePixels = 64ull * 1024 * 1024;

// A decoded picture takes four bytes a pixel. The budget a decoder is given is the number of bytes
// its picture may take; kNoBudget leaves only the size limits.
inline constexpr std::uint64_t kBytesPerPixel = sizeof(Rgb);
inline constexpr std::uint64_t kNoBudget = UINT64_MAX;

// The colour that the menu keys out; decoded pixels with little alpha become it.
inline constexpr std::uint32_t kKeyColour = 0x00F800;  // red 0, green 248, blue 0

constexpr bool SizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

// Why a decoder gave no picture.
enum class DecodeError {
  kUnknownFormat,  // not BMP, PNG or JPEG, or corrupt
  kTooLarge,       // above the size limits
  kOverBudget,     // within the limits, but more than the memory it was allowed
};

// The check every decoder makes once it knows the picture's size and before it allocates it:
// nothing when a width x height picture (both above 0) may be decoded within `budget` bytes.
constexpr std::optional<DecodeError> CheckPictureSize(std::uint64_t width, std::uint64_t height,
                                                      std::uint64_t budget) {
  if (width == 0 || height == 0) return DecodeError::kUnknownFormat;
  if (!SizeAllowed(width, height)) return DecodeError::kTooLarge;
  if (width * height * kBytesPerPixel > budget) return DecodeError::kOverBudget;
  return std::nullopt;
}

// A decoder's result: the picture, or the reason there is none. Reads like std::optional<Image>.
// Decoders and encoders throw nothing but std::bad_alloc, when memory for a picture runs out; the
// operation that called them catches it (see docs/exceptions.md).
class Decoded {
 public:
  Decoded(Image image) : image_(std::move(image)) {}  // NOLINT: a picture is a result
  Decoded(DecodeError error) : error_(error) {}       // NOLINT: so is a reason

  explicit operator bool() const { return image_.has_value(); }
  Image& operator*() { return *image_; }
  const Image& operator*() const { return *image_; }
  Image* operator->() { return &*image_; }
  const Image* operator->() const { return &*image_; }
  // Meaningful only when there is no picture.
  DecodeError error() const { return error_; }

 private:
  std::optional<Image> image_;
  DecodeError error_ = DecodeError::kUnknownFormat;
};

// An RGBA pixel as decoded: alpha below 128 gives the key colour, otherwise alpha is dropped.
constexpr std::uint32_t FromRgba(int r, int g, int b, int a) {
  if (a < 128) return kKeyColour;
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b) << 16;
}

}  // namespace imaging

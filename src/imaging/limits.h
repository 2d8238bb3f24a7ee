// Size limits that protect the decoders against hostile files.
#pragma once

#include <cstdint>

namespace imaging {

inline constexpr std::uint32_t kMaxImageSide = 16384;
inline constexpr std::uint64_t kMaxImagePixels = 64ull * 1024 * 1024;

// The colour that the menu keys out; decoded pixels with little alpha become it.
inline constexpr std::uint32_t kKeyColour = 0x00F800;  // red 0, green 248, blue 0

constexpr bool SizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

// An RGBA pixel as decoded: alpha below 128 gives the key colour, otherwise alpha is dropped.
constexpr std::uint32_t FromRgba(int r, int g, int b, int a) {
  if (a < 128) return kKeyColour;
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b) << 16;
}

}  // namespace imaging

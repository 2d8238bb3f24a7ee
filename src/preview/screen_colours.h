// How the console's screens show a stored pixel. A 5-bit channel c is stored as c x 8, which the
// editor shows as it is; the console shows it at c/31 of full brightness, and the original
// model's screen shifts the colours as well.
#pragma once

#include <cstdint>

#include "imaging/image.h"

namespace preview {

enum class ScreenColours {
  kStored,    // c x 8, as the pictures hold them: the editor's view, screenshots and exports
  kConsole,   // c x 255/31: full-scale levels, as the later models show them
  kOriginal,  // the original model's screen (see ShownColour)
};

// The colour a stored pixel (each channel c x 8; the low three bits are not looked at) takes in
// `colours`. kStored gives the pixel as it is.
//
// kOriginal approximates one screen, the first model's, with the public-domain colour-correction
// figures that handheld emulators' shader collections publish for it (the "NDS colour" shader of
// hunterk's colour mangler with Pokefan531's figures, in the version used here): the levels c/31
// taken to linear light with a gamma of 2.2, mixed by
//   red   = 0.82  R + 0.25  G - 0.07  B
//   green = 0.085 R + 0.66  G + 0.255 B
//   blue  = 0.085 R + 0.105 G + 0.81  B,
// limited to 0..1 and given back the gamma of 2.2. Each row sums to 1: white stays white.
imaging::Rgb ShownColour(imaging::Rgb stored, ScreenColours colours);

// Every pixel of `image` as ShownColour shows it, through a table per 15-bit colour.
void ShowAs(imaging::Image& image, ScreenColours colours);

// The index of a pixel's 15-bit colour: red in bits 0-4, green 5-9, blue 10-14.
constexpr std::uint32_t FifteenBitIndex(imaging::Rgb p) {
  return (p >> 3 & 0x1Fu) | (p >> 6 & 0x3E0u) | (p >> 9 & 0x7C00u);
}

// The stored pixel of 15-bit colour `index` (each channel c x 8): FifteenBitIndex undone.
constexpr imaging::Rgb StoredColourOf(std::uint32_t index) {
  return imaging::MakeRgb(static_cast<int>((index & 31) << 3),
                          static_cast<int>((index >> 5 & 31) << 3),
                          static_cast<int>((index >> 10 & 31) << 3));
}

}  // namespace preview

// Reduction of a picture to 15-bit colour by error diffusion.
#pragma once

#include "imaging/image.h"

namespace imaging {

// value + difference, limited to 0..255.
constexpr int ClampChannel(int value, int difference) {
  const int sum = value + difference;
  return sum <= 0 ? 0 : (sum > 255 ? 255 : sum);
}

// Reduces every channel to a multiple of 8 with Floyd-Steinberg error diffusion. Each channel is
// quantised downwards (t & 0xF8) and its error e (0..7) goes to the right neighbour (e*7/16), the
// lower left (e*3/16), the one below (e*5/16) and the lower right (e*1/16), each share an integer
// division that drops the remainder. Rows are visited top to bottom, every row left to right;
// error that would leave the picture is dropped. A picture whose channels are already multiples of
// 8 is unchanged.
void DitherToRgb555(Image& image);

}  // namespace imaging

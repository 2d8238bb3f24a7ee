// Reduction of a picture to 15-bit colour: each channel to a multiple of 8.
#pragma once

#include "imaging/image.h"

namespace imaging {

// value + difference, limited to 0..255.
constexpr int ClampChannel(int value, int difference) {
  const int sum = value + difference;
  return sum <= 0 ? 0 : (sum > 255 ? 255 : sum);
}

// How the low three bits of each channel are given up.
enum class DitherKind {
  // Error diffusion as skins have always been reduced (DitherToRgb555).
  kFloydSteinberg,
  // Floyd-Steinberg with every other row right to left, which avoids the diagonal drift of rows
  // all one way, quantising to the nearest level and passing on the whole error: flat areas keep
  // their brightness (the kind above rounds down and drops the remainder of each share).
  kSerpentine,
  // An 8x8 Bayer threshold pattern: no error moves, so flat areas keep a steady texture and a
  // picture changed in one place changes only there.
  kOrdered,
  // The low bits are cleared.
  kNone,
};

// Reduces every channel to a multiple of 8 with Floyd-Steinberg error diffusion. Each channel is
// quantised downwards (t & 0xF8) and its error e (0..7) goes to the right neighbour (e*7/16), the
// lower left (e*3/16), the one below (e*5/16) and the lower right (e*1/16), each share an integer
// division that drops the remainder. Rows are visited top to bottom, every row left to right;
// error that would leave the picture is dropped. A picture whose channels are already multiples of
// 8 is unchanged.
void DitherToRgb555(Image& image);

// Reduces every channel to a multiple of 8 the way `kind` says. `strength` (0-100, percent) scales
// the error the diffusing kinds pass on and the threshold pattern of the ordered kind; 0 gives
// kNone. kFloydSteinberg at 100 is DitherToRgb555. Every kind leaves pixels whose channels are
// multiples of 8 alone when nothing around them passes on error, and the key colour always.
void ReduceToRgb555(Image& image, DitherKind kind, int strength = 100);

}  // namespace imaging

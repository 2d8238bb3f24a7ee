// Reduction of a picture to 15-bit colour: each channel to a 5-bit level c, stored as c x 8.
#pragma once

#include "imaging/image.h"

namespace imaging {

// value + difference, limited to 0..255.
constexpr int ClampChannel(int value, int difference) {
  const int sum = value + difference;
  return sum <= 0 ? 0 : (sum > 255 ? 255 : sum);
}

// How a picture becomes 15-bit colour. The console shows level c (0 to 31) of a channel at c/31
// of its full brightness, c x 255/31 in 8-bit terms, while the stored pixel holds c x 8. The
// classic kind aims at c x 8, as skins have always been reduced; the others choose the level the
// console shows nearest to the picture's brightness (31 for 255, 30 for 248).
enum class DitherKind {
  // Error diffusion as skins have always been reduced (DitherToRgb555), aimed at c x 8.
  kFloydSteinberg,
  // Floyd-Steinberg with every other row right to left, which avoids the diagonal drift of rows
  // all one way, to the nearest console level, passing on the whole error, negative too, with no
  // share lost to rounding: flat areas keep their brightness as the console shows it.
  kSerpentine,
  // An 8x8 Bayer threshold pattern spaced by the console's levels: no error moves, so flat areas
  // keep a steady texture and a picture changed in one place changes only there.
  kOrdered,
  // Each channel to the nearest console level.
  kNone,
};

// What a picture's channel values stand for, for the kinds that aim at the console's levels.
enum class ChannelScale {
  kFull,  // v/255 of full brightness: a photo, a drawing
  // A picture in 15-bit colour, and what is resampled from one: c x 8 stands for level c, so that
  // such a picture taken at its size is unchanged.
  kFifteenBit,
};

// Reduces every channel to a multiple of 8 with Floyd-Steinberg error diffusion. Each channel is
// quantised downwards (t & 0xF8) and its error e (0..7) goes to the right neighbour (e*7/16), the
// lower left (e*3/16), the one below (e*5/16) and the lower right (e*1/16), each share an integer
// division that drops the remainder. Rows are visited top to bottom, every row left to right;
// error that would leave the picture is dropped. A picture whose channels are already multiples of
// 8 is unchanged.
void DitherToRgb555(Image& image);

// Reduces every channel to a multiple of 8 the way `kind` says, reading the channels as `scale`
// says (the classic kind reads none). `strength` (0-100, percent) scales the error the diffusing
// kinds pass on and the threshold pattern of the ordered kind: at 0 the classic kind rounds down,
// the others to the nearest console level. kFloydSteinberg at 100 is DitherToRgb555. Every kind
// leaves the key colour alone; the classic kind, and the others on a kFifteenBit picture, leave
// pixels whose channels are multiples of 8 alone when nothing around them passes on error.
void ReduceToRgb555(Image& image, DitherKind kind, int strength = 100,
                    ChannelScale scale = ChannelScale::kFull);

}  // namespace imaging

// Error diffusion in place: the error of each pixel is added to neighbours that are still to be
// visited, and error that would leave the picture is dropped, so no work copy is needed.
#include "imaging/dither.h"

namespace imaging {
namespace {

// Adds `difference` to channel `shift` (0 red, 8 green, 16 blue) of `pixel`, limited to 0..255.
void AddToChannel(Rgb& pixel, int shift, int difference) {
  const int value = ClampChannel(static_cast<int>((pixel >> shift) & 0xFF), difference);
  pixel = (pixel & ~(0xFFu << shift)) | static_cast<Rgb>(value) << shift;
}

}  // namespace

void DitherToRgb555(Image& image) {
  if (image.Empty()) return;
  const int w = image.width;
  const int h = image.height;
  for (int y = 0; y < h; ++y) {
    Rgb* row = &image.pixels[static_cast<std::size_t>(y) * w];
    Rgb* below = y + 1 < h ? row + w : nullptr;
    for (int x = 0; x < w; ++x) {
      const Rgb t = row[x] & 0xFFFFFF;
      row[x] = t & 0xF8F8F8;
      if ((t & 0x070707) == 0) continue;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int e = static_cast<int>((t >> shift) & 7);
        if (e == 0) continue;
        if (x + 1 < w) AddToChannel(row[x + 1], shift, e * 7 / 16);
        if (below == nullptr) continue;
        if (x > 0) AddToChannel(below[x - 1], shift, e * 3 / 16);
        AddToChannel(below[x], shift, e * 5 / 16);
        if (x + 1 < w) AddToChannel(below[x + 1], shift, e / 16);
      }
    }
  }
}

}  // namespace imaging

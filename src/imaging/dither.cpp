// Error diffusion on a work canvas with a one-pixel margin, so that the four neighbours of every
// pixel exist; the margin only receives error and is thrown away.
#include "imaging/dither.h"

#include <vector>

namespace imaging {

void DitherToRgb555(Image& image) {
  if (image.Empty()) return;
  const int w = image.width;
  const int h = image.height;
  const int cw = w + 2;
  // Channels as separate bytes: red, green, blue of each canvas pixel.
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(cw) * (h + 2) * 3, 0);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = &canvas[(static_cast<std::size_t>(y + 1) * cw + 1) * 3];
    for (int x = 0; x < w; ++x, out += 3) {
      const Rgb c = image.At(x, y);
      out[0] = static_cast<std::uint8_t>(RedOf(c));
      out[1] = static_cast<std::uint8_t>(GreenOf(c));
      out[2] = static_cast<std::uint8_t>(BlueOf(c));
    }
  }
  const std::size_t right = 3;
  const std::size_t below = static_cast<std::size_t>(cw) * 3;
  for (int y = 1; y <= h; ++y) {
    std::uint8_t* p = &canvas[(static_cast<std::size_t>(y) * cw + 1) * 3];
    for (int x = 1; x <= w; ++x) {
      for (int c = 0; c < 3; ++c, ++p) {
        const int t = *p;
        const int e = t & 7;
        if (e == 0) continue;
        p[right] = static_cast<std::uint8_t>(ClampChannel(p[right], e * 7 / 16));
        p[below - right] = static_cast<std::uint8_t>(ClampChannel(p[below - right], e * 3 / 16));
        p[below] = static_cast<std::uint8_t>(ClampChannel(p[below], e * 5 / 16));
        p[below + right] = static_cast<std::uint8_t>(ClampChannel(p[below + right], e / 16));
        *p = static_cast<std::uint8_t>(t & 0xF8);
      }
    }
  }
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* in = &canvas[(static_cast<std::size_t>(y + 1) * cw + 1) * 3];
    for (int x = 0; x < w; ++x, in += 3) image.At(x, y) = MakeRgb(in[0], in[1], in[2]);
  }
}

}  // namespace imaging

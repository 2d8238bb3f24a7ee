// Error diffusion over two rows at a time: the row being quantised and the one below it, each as
// separate channel bytes with a one-pixel margin on both sides, so that the four neighbours of
// every pixel exist. The margins and the row below the last only receive error and are dropped.
#include "imaging/dither.h"

#include <utility>
#include <vector>

namespace imaging {
namespace {

void LoadRow(const Image& image, int y, std::vector<std::uint8_t>& row) {
  std::fill(row.begin(), row.end(), 0);
  if (y >= image.height) return;
  const Rgb* in = &image.pixels[static_cast<std::size_t>(y) * image.width];
  std::uint8_t* out = &row[3];
  for (int x = 0; x < image.width; ++x, out += 3) {
    out[0] = static_cast<std::uint8_t>(RedOf(in[x]));
    out[1] = static_cast<std::uint8_t>(GreenOf(in[x]));
    out[2] = static_cast<std::uint8_t>(BlueOf(in[x]));
  }
}

}  // namespace

void DitherToRgb555(Image& image) {
  if (image.Empty()) return;
  const int w = image.width;
  const std::size_t bytes = (static_cast<std::size_t>(w) + 2) * 3;
  std::vector<std::uint8_t> row(bytes);
  std::vector<std::uint8_t> below(bytes);
  LoadRow(image, 0, row);
  for (int y = 0; y < image.height; ++y) {
    LoadRow(image, y + 1, below);
    std::uint8_t* p = &row[3];
    std::uint8_t* q = &below[3];
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c, ++p, ++q) {
        const int t = *p;
        const int e = t & 7;
        if (e == 0) continue;
        p[3] = static_cast<std::uint8_t>(ClampChannel(p[3], e * 7 / 16));
        q[-3] = static_cast<std::uint8_t>(ClampChannel(q[-3], e * 3 / 16));
        q[0] = static_cast<std::uint8_t>(ClampChannel(q[0], e * 5 / 16));
        q[3] = static_cast<std::uint8_t>(ClampChannel(q[3], e / 16));
        *p = static_cast<std::uint8_t>(t & 0xF8);
      }
    }
    Rgb* out = &image.pixels[static_cast<std::size_t>(y) * w];
    const std::uint8_t* in = &row[3];
    for (int x = 0; x < w; ++x, in += 3) out[x] = MakeRgb(in[0], in[1], in[2]);
    // The row below, with the error it received, is the next row to quantise: it must not be
    // loaded again from the picture.
    std::swap(row, below);
  }
}

}  // namespace imaging

// The screens' colours: each view a table of the 32768 colours, made once when first asked for.
#include "preview/screen_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace preview {
namespace {

using Table = std::array<imaging::Rgb, 32768>;

constexpr int Scaled(int level) { return (level * 255 + 15) / 31; }

imaging::Rgb ConsoleColour(int r, int g, int b) {
  return imaging::MakeRgb(Scaled(r), Scaled(g), Scaled(b));
}

imaging::Rgb OriginalScreenColour(int r, int g, int b) {
  constexpr double kGamma = 2.2;
  constexpr double kMix[3][3] = {{0.82, 0.25, -0.07}, {0.085, 0.66, 0.255}, {0.085, 0.105, 0.81}};
  const double in[3] = {std::pow(r / 31.0, kGamma), std::pow(g / 31.0, kGamma),
                        std::pow(b / 31.0, kGamma)};
  int out[3];
  for (int i = 0; i < 3; ++i) {
    const double mixed =
        std::clamp(kMix[i][0] * in[0] + kMix[i][1] * in[1] + kMix[i][2] * in[2], 0.0, 1.0);
    out[i] = static_cast<int>(std::lround(std::pow(mixed, 1 / kGamma) * 255));
  }
  return imaging::MakeRgb(out[0], out[1], out[2]);
}

template <imaging::Rgb (*Colour)(int, int, int)>
const Table& TableOf() {
  static const Table table = [] {
    Table t{};
    for (std::uint32_t i = 0; i < t.size(); ++i)
      t[i] = Colour(static_cast<int>(i & 31), static_cast<int>(i >> 5 & 31),
                    static_cast<int>(i >> 10 & 31));
    return t;
  }();
  return table;
}

const Table* TableFor(ScreenColours colours) {
  switch (colours) {
    case ScreenColours::kConsole:
      return &TableOf<ConsoleColour>();
    case ScreenColours::kOriginal:
      return &TableOf<OriginalScreenColour>();
    case ScreenColours::kStored:
      break;
  }
  return nullptr;
}

}  // namespace

imaging::Rgb ShownColour(imaging::Rgb stored, ScreenColours colours) {
  const Table* table = TableFor(colours);
  return table ? (*table)[FifteenBitIndex(stored)] : stored;
}

void ShowAs(imaging::Image& image, ScreenColours colours) {
  const Table* table = TableFor(colours);
  if (table == nullptr) return;
  for (imaging::Rgb& p : image.pixels) p = (*table)[FifteenBitIndex(p)];
}

}  // namespace preview

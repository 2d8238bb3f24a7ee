// The colour key: which pixels it keys, by tolerance and region, on a small picture of colours at
// known distances from the key.
#include "imaging/colour_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "imaging/picture_fit.h"

namespace imaging {
namespace {

// The key colour A, B at OKLab distance 0.013 from it, D at 0.066, C (blue) at 0.41 and K (black)
// at 0.58. The column of C cuts the right edge off.
constexpr Rgb A = MakeRgb(200, 40, 40), B = MakeRgb(205, 45, 42), D = MakeRgb(170, 70, 70),
              C = MakeRgb(20, 30, 200), K = 0;
Image Picture() {
  Image image(5, 3);
  image.pixels = {A, A, B, C, A,  //
                  A, D, A, C, A,  //
                  C, C, A, K, A};
  image.At(4, 2) |= 0xFF000000u;  // an alpha byte does not count
  return image;
}

std::string Mask(const std::vector<std::uint8_t>& keyed) {
  std::string text;
  for (std::size_t i = 0; i < keyed.size(); ++i)
    text += std::string(i % 5 == 0 && i > 0 ? "/" : "") + (keyed[i] != 0 ? "#" : ".");
  return text;
}

ColourKey Key(double tolerance, bool connected = false, int x = 0, int y = 0) {
  return {A, tolerance, connected, (x + 0.5) / 5, (y + 0.5) / 3};
}

TEST(ColourKey, KeysByToleranceAndRegion) {
  struct Case {
    const char* what;
    ColourKey key;
    const char* mask;
  } const cases[] = {
      {"the colour alone", Key(0), "##..#/#.#.#/..#.#"},
      {"with its neighbours' noise", Key(0.03), "###.#/#.#.#/..#.#"},
      {"D too", Key(0.07), "###.#/###.#/..#.#"},
      {"the largest tolerance", Key(kMaxKeyTolerance), "#####/#####/###.#"},
      {"beyond it, the largest", Key(99), "#####/#####/###.#"},
      {"not a number, none", Key(NAN), "##..#/#.#.#/..#.#"},
      {"connected, stopped by B", Key(0, true), "##.../#..../....."},
      {"connected through B", Key(0.03, true), "###../#.#../..#.."},
      {"connected through D", Key(0.07, true), "###../###../..#.."},
      {"connected on the right", Key(0, true, 4, 1), "....#/....#/....#"},
      {"picked where the colour is not", Key(0, true, 3, 0), "...../...../....."},
  };
  for (const Case& c : cases) EXPECT_EQ(Mask(KeyedPixels(Picture(), c.key)), c.mask) << c.what;
}

TEST(ColourKey, ThePickedPlaceHoldsAtAnyScale) {
  // The place is a fraction of the picture: the same pixel of a picture twice the size, and the
  // last pixel of the picture for places at and beyond its edge.
  EXPECT_EQ(KeyPixel(Key(0, true, 4, 2), 5, 3), std::make_pair(4, 2));
  EXPECT_EQ(KeyPixel(Key(0, true, 4, 2), 10, 6), std::make_pair(9, 5));
  EXPECT_EQ(KeyPixel({A, 0, true, 1.0, -3}, 5, 3), std::make_pair(4, 0));
  EXPECT_EQ(KeyPixel({A, 0, true, NAN, INFINITY}, 5, 3), std::make_pair(0, 2));
}

TEST(ColourKey, AFitMakesTheKeyedPixelsTransparent) {
  FitSettings s;
  s.mode = FitMode::kKeep;
  s.dither = DitherKind::kNone;
  s.key = Key(0.03, true);
  FitSource source(Picture(), s.key);
  const Image fitted = source.Fit(s);
  const Rgb red = MakeRgb(192, 40, 40);  // 200, 40, 40 at the console's nearest levels
  EXPECT_EQ(fitted.At(2, 2), kKeyColour);
  EXPECT_EQ(fitted.At(4, 0), red);
  // Another key gives its pixels back.
  s.key = Key(0, true, 4, 1);
  source.SetKey(s.key);
  EXPECT_EQ(source.Fit(s).At(2, 2), red);
  EXPECT_EQ(source.Fit(s).At(4, 0), kKeyColour);
}

}  // namespace
}  // namespace imaging

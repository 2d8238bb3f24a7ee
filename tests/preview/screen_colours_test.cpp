// The console's colours: a few colours of each view, and the preview drawn in them.
#include "preview/screen_colours.h"

#include <gtest/gtest.h>

#include "preview/preview.h"
#include "skin/skin_document.h"

namespace preview {
namespace {

using imaging::MakeRgb;
using imaging::Rgb;

// Stored levels as c x 8.
constexpr Rgb Levels(int r, int g, int b) { return MakeRgb(r * 8, g * 8, b * 8); }

TEST(ShownColour, AFewColoursInEachView) {
  // The original model's figures were worked out separately from the gamma and the matrix.
  struct Case {
    Rgb stored, console, original;
  } const cases[] = {
      {Levels(31, 31, 31), MakeRgb(255, 255, 255), MakeRgb(255, 255, 255)},
      {Levels(0, 0, 0), MakeRgb(0, 0, 0), MakeRgb(0, 0, 0)},
      {Levels(31, 0, 0), MakeRgb(255, 0, 0), MakeRgb(233, 83, 83)},
      {Levels(0, 31, 0), MakeRgb(0, 255, 0), MakeRgb(136, 211, 92)},
      {Levels(0, 0, 31), MakeRgb(0, 0, 255), MakeRgb(0, 137, 232)},
      {Levels(16, 16, 16), MakeRgb(132, 132, 132), MakeRgb(132, 132, 132)},
      {Levels(10, 20, 30), MakeRgb(82, 165, 247), MakeRgb(89, 185, 230)},
      {Levels(1, 30, 0), MakeRgb(8, 247, 0), MakeRgb(132, 204, 89)},
      {0xFFFFFF, MakeRgb(255, 255, 255), MakeRgb(255, 255, 255)},  // low bits not looked at
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownColour(c.stored, ScreenColours::kStored), c.stored);
    EXPECT_EQ(ShownColour(c.stored, ScreenColours::kConsole), c.console) << std::hex << c.stored;
    EXPECT_EQ(ShownColour(c.stored, ScreenColours::kOriginal), c.original) << std::hex << c.stored;
  }
}

TEST(RenderPreview, ShowsTheScreensInTheViewAndLeavesTheRestAlone) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  constexpr Rgb kBackground = MakeRgb(10, 20, 30);
  const imaging::Image stored = RenderPreview(doc, 0, kBackground, 1.0f);
  for (const ScreenColours view : {ScreenColours::kConsole, ScreenColours::kOriginal}) {
    const imaging::Image shown = RenderPreview(doc, 0, kBackground, 1.0f, view);
    ASSERT_EQ(shown.width, stored.width);
    for (int y = 0; y < stored.height; ++y) {
      for (int x = 0; x < stored.width; ++x) {
        const bool on_screen = x >= kTopScreenAt.x && x < kTopScreenAt.x + kScreenWidth &&
                               ((y >= kTopScreenAt.y && y < kTopScreenAt.y + kScreenHeight) ||
                                (y >= kBottomScreenAt.y && y < kBottomScreenAt.y + kScreenHeight));
        const Rgb p = stored.At(x, y);
        ASSERT_EQ(shown.At(x, y), on_screen ? ShownColour(p, view) : p) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace preview

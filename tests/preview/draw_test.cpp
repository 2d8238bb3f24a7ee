// Drawing primitives, the preview font and canvas composition.
#include "preview/draw.h"

#include <gtest/gtest.h>

#include "preview/preview.h"
#include "preview/preview_font.h"

namespace preview {
namespace {

using imaging::Image;
using imaging::MakeRgb;

constexpr imaging::Rgb kRed = MakeRgb(248, 0, 0);

TEST(DrawKeyed, ClipsAtEveryEdge) {
  Image screen(256, 192, 0);
  DrawKeyed(screen, Image(32, 20, kRed), 250, 100);
  EXPECT_EQ(screen.At(255, 100), kRed);
  EXPECT_EQ(screen.At(249, 100), 0u);
  Image rows(4, 20);
  for (int y = 0; y < 20; ++y) FillBox(rows, 0, y, 4, 1, MakeRgb(0, 0, 8 * y));
  DrawKeyed(screen, rows, 0, -10);
  EXPECT_EQ(screen.At(0, 0), MakeRgb(0, 0, 80)) << "the top 10 rows are lost";
  EXPECT_EQ(screen.At(0, 9), MakeRgb(0, 0, 152));
  DrawKeyed(screen, Image(10, 10, kRed), -20, -20);
  DrawKeyed(screen, Image(10, 10, kRed), 300, 500);
  DrawKeyed(screen, Image(), 0, 0);
}

TEST(DrawKeyed, KeyingRules) {
  Image picture(4, 1);
  picture.pixels = {MakeRgb(0, 248, 0), MakeRgb(0, 255, 0), MakeRgb(0, 247, 0), kRed};
  Image keyed(4, 1, MakeRgb(1, 2, 3));
  DrawKeyed(keyed, picture, 0, 0);
  EXPECT_EQ(keyed.pixels, (std::vector<imaging::Rgb>{MakeRgb(1, 2, 3), MakeRgb(1, 2, 3),
                                                     MakeRgb(0, 247, 0), kRed}));
  Image solid(4, 1, 0);
  DrawKeyed(solid, picture, 0, 0, kNoKey);
  EXPECT_EQ(solid.pixels, picture.pixels);
  Image custom(4, 1, 0);
  DrawKeyed(custom, picture, 0, 0, kRed);
  EXPECT_EQ(custom.At(3, 0), 0u);
  EXPECT_EQ(custom.At(0, 0), MakeRgb(0, 248, 0));
}

TEST(DrawPrimitives, BoxesAndLines) {
  Image s(10, 10, 0);
  FillBox(s, 8, 8, 5, 5, kRed);
  EXPECT_EQ(s.At(9, 9), kRed);
  FillBox(s, 0, 0, 0, 5, kRed);
  HorizontalLine(s, 2, 0, 0, kRed);
  EXPECT_EQ(s.At(0, 0), 0u) << "a width of 0 draws nothing";
  VerticalLine(s, 1, 2, 3, kRed);
  EXPECT_EQ(s.At(1, 4), kRed);
  EXPECT_EQ(s.At(1, 5), 0u);
}

TEST(DrawKeyedPart, OutsideThePictureIsBlackAndTheTargetClips) {
  Image s(4, 4, MakeRgb(9, 9, 9));
  DrawKeyedPart(s, Image(2, 2, kRed), 0, -1, 2, 2, 1, 1);
  EXPECT_EQ(s.At(1, 1), 0u) << "rows outside the picture are black";
  EXPECT_EQ(s.At(2, 2), kRed);
  EXPECT_EQ(s.At(0, 0), MakeRgb(9, 9, 9));
  DrawKeyedPart(s, Image(2, 2, kRed), 0, 0, 2, 0, 0, 0);
  DrawKeyedPart(s, Image(2, 2, kRed), 0, 0, -5, 2, 0, 0);
  EXPECT_EQ(s.At(0, 0), MakeRgb(9, 9, 9)) << "an empty part draws nothing";

  // A part a hundred million rows high, above and below the target: only four rows are touched.
  Image tall(3, 4, MakeRgb(9, 9, 9));
  DrawKeyedPart(tall, Image(3, 2, kRed), 0, -100000000, 3, 100000003, 0, -99999999);
  EXPECT_EQ(tall.At(0, 0), 0u) << "picture row -1";
  EXPECT_EQ(tall.At(0, 1), kRed);
  EXPECT_EQ(tall.At(2, 2), kRed);
  EXPECT_EQ(tall.At(2, 3), 0u) << "picture row 2";
  Image wide(4, 1, 0);
  DrawKeyedPart(wide, Image(2, 1, kRed), -3, 0, INT64_C(1) << 40, 1, -1, 0, kNoKey);
  EXPECT_EQ(wide.pixels, (std::vector<imaging::Rgb>{0, 0, kRed, kRed}));
}

// DrawRepeated must leave exactly what one DrawKeyed per copy leaves, in the pixels and the record.
TEST(DrawRepeated, MatchesOneDrawPerCopy) {
  Image picture(3, 2);
  picture.pixels = {MakeRgb(0, 248, 0), MakeRgb(8, 0, 0),   MakeRgb(16, 0, 0),
                    MakeRgb(24, 0, 0),  MakeRgb(0, 255, 0), MakeRgb(32, 0, 0)};
  for (std::int64_t key : {kDefaultKey, kNoKey}) {
    for (int x = -6; x <= 12; x += 3) {
      for (int count = 0; count <= 14; count += 2) {
        Image expected(10, 3, MakeRgb(1, 1, 1));
        SourceMap expected_record;
        const Target one_by_one(expected, expected_record);
        for (int i = 0; i < count; ++i) DrawKeyed(one_by_one, picture, x + i, 1, key);
        Image actual(10, 3, MakeRgb(1, 1, 1));
        SourceMap record;
        DrawRepeated(Target(actual, record), picture, x, 1, count, key);
        EXPECT_EQ(actual.pixels, expected.pixels)
            << "key " << key << " x " << x << " count " << count;
        EXPECT_EQ(record.sources, expected_record.sources);
        Image unrecorded(10, 3, MakeRgb(1, 1, 1));
        DrawRepeated(unrecorded, picture, x, 1, count, key);
        EXPECT_EQ(unrecorded.pixels, expected.pixels);
      }
    }
  }
}

TEST(DrawRepeated, AnyCountCostsNoMoreThanTheTarget) {
  Image picture(3, 1);
  picture.pixels = {MakeRgb(8, 0, 0), MakeRgb(16, 0, 0), MakeRgb(24, 0, 0)};
  Image row(6, 1, 0);
  DrawRepeated(row, picture, -(INT64_C(1) << 40), 0, INT64_C(1) << 41, kNoKey);
  for (imaging::Rgb p : row.pixels) EXPECT_EQ(p, MakeRgb(8, 0, 0));
  DrawRepeated(row, picture, -(INT64_C(1) << 40), 0, INT64_C(1) << 41, kDefaultKey);
  DrawRepeated(row, picture, 1 << 30, 0, INT64_C(1) << 41);
  DrawRepeated(row, picture, 0, 0, -5);
  for (imaging::Rgb p : row.pixels) EXPECT_EQ(p, MakeRgb(8, 0, 0));
}

TEST(FillBox, HugeAndWrappingSizesClip) {
  Image s(256, 192, 0);
  FillBox(s, 2147483540, 10, 2147483647, 10, kRed);
  FillBox(s, -2147483648LL, 10, 70, 10, kRed);
  FillBox(s, 250, -1000, 2147483647, 2147483647, kRed);
  EXPECT_EQ(s.At(255, 0), kRed);
  EXPECT_EQ(s.At(249, 0), 0u);
  EXPECT_EQ(s.At(0, 10), 0u);
}

TEST(ScaleNearest, TakesOnlySourcePixels) {
  Image source(2, 2);
  source.pixels = {1, 2, 3, 4};
  const Image big = ScaleNearest(source, 5, 3);
  for (imaging::Rgb p : big.pixels) EXPECT_TRUE(p >= 1 && p <= 4);
  EXPECT_EQ(big.At(0, 0), 1u);
  EXPECT_EQ(big.At(4, 2), 4u);
}

TEST(Canvas, ZoomSizes) {
  const ScreenPair screens{Image(256, 192, kRed), Image(256, 192, kRed)};
  const Image plain = ComposeCanvas(screens, MakeRgb(0, 0, 200), 1.0f);
  EXPECT_EQ(plain.width, 266);
  EXPECT_EQ(plain.height, 490);
  EXPECT_EQ(plain.At(0, 0), MakeRgb(0, 0, 200));
  EXPECT_EQ(plain.At(5, 5), kRed);
  EXPECT_EQ(plain.At(260, 196), kRed);
  EXPECT_EQ(plain.At(5, 197), MakeRgb(0, 0, 200));
  EXPECT_EQ(plain.At(5, 293), kRed);
  EXPECT_EQ(plain.At(5, 485), MakeRgb(0, 0, 200));

  float zoom = 1.0f;
  zoom += 0.15f;
  const Image one_notch = ComposeCanvas(screens, 0, zoom);
  EXPECT_EQ(one_notch.width, 306);
  EXPECT_EQ(one_notch.height, 563);
  for (int i = 1; i < 27; ++i) zoom += 0.15f;
  const Image largest = ComposeCanvas(screens, 0, zoom);
  EXPECT_EQ(largest.width, 1343);
  EXPECT_EQ(largest.height, 2475);
  EXPECT_EQ(ComposeCanvas(screens, 0, 0.9999999f).width, 266) << "no zoom below 1";
}

TEST(PreviewFont, GlyphsArePixelExactAndFitTextShortens) {
  Image s(20, 16, 0);
  DrawText(s, 2, 1, "I", kRed);
  // The capital I of the glyph source: ### / .#. x5 / ###, from 3 rows below the cell's top.
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 16; ++y) {
      const bool ink = (y == 4 || y == 10) ? (x >= 2 && x <= 4) : (y >= 5 && y <= 9 && x == 3);
      ASSERT_EQ(s.At(x, y) == kRed, ink) << x << "," << y;
    }
  }
  EXPECT_EQ(TextWidth("I"), 4) << "three columns and one of spacing";
  EXPECT_EQ(TextWidth("II"), 8);
  EXPECT_GT(TextWidth("\u00E0"), 4) << "the A-button symbol has a glyph of its own";
  EXPECT_EQ(FitText("abc", 1000), "ab");
  EXPECT_EQ(FitText("a", 1000), "");
  EXPECT_EQ(FitText("abc", 0), "");
  EXPECT_EQ(FitText("", 10), "");
  const std::string fitted = FitText("0022 - Super Mario", 60);
  EXPECT_LT(TextWidth(fitted), 60);
  EXPECT_GE(TextWidth(fitted + "x"), 60 - 8);
}

// The record marks exactly the pixels a primitive writes, with the slot or colour key it was given
// and the section of the innermost placement.
TEST(Record, MarksWhatEachPrimitiveWrites) {
  using skin::ColourId;
  using skin::SectionId;
  using skin::SlotId;
  Image image(8, 6, 0);
  SourceMap map;
  Target target(image, map);
  ASSERT_EQ(map.sources.size(), 48u);
  Image keyed(2, 1);
  keyed.pixels = {MakeRgb(0, 248, 0), kRed};
  DrawKeyed(target, Picture(keyed, SlotId::btn3), 0, 0);
  EXPECT_EQ(map.At(0, 0), Source{}) << "a keyed pixel is not written, nor marked";
  EXPECT_EQ(map.At(1, 0).slot(), SlotId::btn3);
  EXPECT_FALSE(map.At(1, 0).placed_by());
  {
    const Placement outer(target, SectionId::start_menu);
    {
      const Placement inner(target, SectionId::big_clock);
      // Rows 1 and 2 of a 1 x 2 picture: row 2 lies outside it and is black.
      DrawKeyedPart(target, Picture(Image(1, 2, kRed), SlotId::clock_numbers), 0, 1, 1, 2, 7, 4);
    }
    FillBox(target, 2, 2, 2, 1, Ink(kRed, ColourId::formFrameColor));
    HorizontalLine(target, 0, 3, 99, Ink(kRed, ColourId::logoFrameColor));
  }
  EXPECT_EQ(map.At(7, 5).slot(), SlotId::clock_numbers) << "black rows of a cut-out are its own";
  EXPECT_EQ(map.At(7, 4).placed_by(), SectionId::big_clock);
  EXPECT_EQ(map.At(3, 2).kind, SourceKind::kBox);
  EXPECT_EQ(map.At(3, 2).colour(), ColourId::formFrameColor);
  EXPECT_EQ(map.At(3, 2).placed_by(), SectionId::start_menu) << "the outer placement is back";
  EXPECT_EQ(map.At(7, 3).kind, SourceKind::kLine) << "clipped at the right edge";
  DrawKeyed(target, Image(1, 1, kRed), 4, 0);
  EXPECT_EQ(map.At(4, 0).kind, SourceKind::kPicture);
  EXPECT_FALSE(map.At(4, 0).slot()) << "a built-in picture";
  EXPECT_FALSE(map.At(4, 0).placed_by()) << "placements end with their scope";

  Image letter(20, 16, 0);
  SourceMap letter_map;
  DrawText(Target(letter, letter_map), 2, 1, "I", Ink(kRed, ColourId::vTextColor));
  for (std::size_t i = 0; i < letter.pixels.size(); ++i) {
    const bool ink = letter.pixels[i] == kRed;
    EXPECT_EQ(letter_map.sources[i].kind, ink ? SourceKind::kText : SourceKind::kBackground);
  }
  DrawText(Target(letter, letter_map), 0, 0, "I", kRed);
  EXPECT_FALSE(letter_map.At(1, 4).colour()) << "a fixed colour";
  EXPECT_EQ(letter_map.At(-1, 0), Source{}) << "outside the map";
}

// The list of calls holds one entry per call, also for what draws nothing: an empty picture, a
// picture off the target, a run of copies; a text with the box of its ink.
TEST(Record, ListsEveryCallWithTheRectangleItAimedAt) {
  using skin::ColourId;
  using skin::SlotId;
  Image image(8, 6, 0);
  SourceMap map;
  Target target(image, map);
  DrawKeyed(target, Picture(Image(), SlotId::btn3), 1, 1);
  DrawKeyed(target, Picture(Image(3, 2, kRed), SlotId::btn), -10, 2, kNoKey);
  DrawKeyedPart(target, Picture(Image(4, 4, kRed), SlotId::lamp), 1, 2, 3, 1, 5, 5);
  DrawRepeated(target, Picture(Image(2, 3, kRed), SlotId::popsubbar), 0, 0, 4);
  ASSERT_EQ(map.calls.size(), 4u);
  const auto rect = [](const DrawCall& c) {
    return std::vector<Coord>{c.x, c.y, c.width, c.height, c.part_x, c.part_y};
  };
  EXPECT_EQ(rect(map.calls[0]), (std::vector<Coord>{1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(map.calls[0].source.slot(), SlotId::btn3);
  EXPECT_EQ(rect(map.calls[1]), (std::vector<Coord>{-10, 2, 3, 2, 0, 0}));
  EXPECT_FALSE(map.calls[1].keyed);
  EXPECT_EQ(rect(map.calls[2]), (std::vector<Coord>{5, 5, 3, 1, 1, 2}));
  EXPECT_EQ(rect(map.calls[3]), (std::vector<Coord>{0, 0, 5, 3, 0, 0}));
  EXPECT_TRUE(map.calls[3].repeated);

  Image letter(20, 16, 0);
  SourceMap letter_map;
  DrawText(Target(letter, letter_map), 2, 1, "II", Ink(kRed, ColourId::vTextColor));
  ASSERT_EQ(letter_map.calls.size(), 1u);
  const DrawCall& text = letter_map.calls[0];
  EXPECT_EQ(text.source.colour(), ColourId::vTextColor);
  EXPECT_EQ(text.rgb, kRed);
  for (int y = 0; y < letter.height; ++y) {
    for (int x = 0; x < letter.width; ++x) {
      const bool inside =
          x >= text.x && x < text.x + text.width && y >= text.y && y < text.y + text.height;
      EXPECT_TRUE(inside || letter.At(x, y) != kRed) << x << "," << y;
    }
  }
  EXPECT_GT(text.width, 0);
  Target again(letter, letter_map);
  EXPECT_TRUE(letter_map.calls.empty()) << "a new record starts a new list";
}

TEST(Record, CanvasPlacesAndWords) {
  ScreenSources sources;
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  DrawScreens(doc, 0, &sources);
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 5, 5)), "upper_screen");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 4, 5)), "background");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 260, 196)), "upper_screen");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 260, 197)), "background");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 0, 202)), "hinge");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 265, 287)), "hinge");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 265, 288)), "background");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 10, 470)), "start_released");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 245, 473)), "reBack");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 266, 300)), "background");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, -1, 300)), "background");
  EXPECT_EQ(DescribeSource(CanvasSourceAt(sources, 5 + 127, 5 + 30)), "sample_game_icon");
  Source text{SourceKind::kText, static_cast<std::uint8_t>(skin::ColourId::vTextColor)};
  EXPECT_EQ(DescribeSource(text), "text vTextColor");
  text.section = static_cast<std::uint8_t>(skin::SectionId::clsoe_btn);
  EXPECT_EQ(DescribeSource(text), "text vTextColor [clsoe btn]");
  EXPECT_EQ(DescribeSource({SourceKind::kText}), "text white");
  EXPECT_EQ(DescribeSource({SourceKind::kLine, 0}), "line formFrameColor");
  EXPECT_EQ(DescribeSource({SourceKind::kBox, 200, 200}), "box white")
      << "numbers outside the tables name nothing";
}

}  // namespace
}  // namespace preview

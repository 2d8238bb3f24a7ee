// Reduction kinds, frames, resampling and the fit of a picture into a slot.
#include "imaging/picture_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "allocation_probe.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_writer.h"
#include "imaging/png_codec.h"
#include "test_support.h"

namespace imaging {
namespace {

Image Grey(int width, const std::vector<int>& values) {
  Image image(width, static_cast<int>(values.size()) / width);
  for (std::size_t i = 0; i < values.size(); ++i)
    image.pixels[i] = MakeRgb(values[i], values[i], values[i]);
  return image;
}

FitSettings To(int width, int height) {
  FitSettings s;
  s.width = width;
  s.height = height;
  return s;
}

std::vector<int> Reds(const Image& image) {
  std::vector<int> reds;
  for (const Rgb p : image.pixels) reds.push_back(RedOf(p));
  return reds;
}

TEST(ReduceToRgb555, EachKindOnTinyRamps) {
  // The serpentine rows were worked out with exact fractions by a separate implementation of the
  // rule; the classic kind aims at c x 8, the others at the console's c x 255/31.
  const std::vector<int> ramp = {13, 7, 14, 6, 6, 15, 13, 14, 14, 13, 13, 15};
  std::vector<int> both_ways;  // 0 to 240 in steps of 16, then 255 back down to 15
  for (int v = 0; v < 256; v += 16) both_ways.push_back(v);
  for (int v = 255; v >= 0; v -= 16) both_ways.push_back(v);
  struct Case {
    DitherKind kind;
    int strength;
    const std::vector<int>& input;
    int width;
    std::vector<int> expected;
  } const cases[] = {
      {DitherKind::kFloydSteinberg, 100, ramp, 4, {8, 8, 8, 8, 0, 16, 8, 16, 16, 8, 16, 8}},
      {DitherKind::kFloydSteinberg, 50, ramp, 4, {8, 8, 8, 0, 0, 16, 8, 16, 8, 8, 8, 16}},
      {DitherKind::kFloydSteinberg, 0, ramp, 4, {8, 0, 8, 0, 0, 8, 8, 8, 8, 8, 8, 8}},
      {DitherKind::kSerpentine, 100, ramp, 4, {16, 8, 16, 8, 0, 16, 8, 16, 16, 8, 16, 16}},
      {DitherKind::kNone, 100, ramp, 4, {16, 8, 16, 8, 8, 16, 16, 16, 16, 16, 16, 16}},
      {DitherKind::kSerpentine, 0, ramp, 4, {16, 8, 16, 8, 8, 16, 16, 16, 16, 16, 16, 16}},
      {DitherKind::kOrdered, 0, ramp, 4, {16, 8, 16, 8, 8, 16, 16, 16, 16, 16, 16, 16}},
      {DitherKind::kSerpentine, 100, both_ways, 16, {0,   16,  32,  48,  64,  80,  88,  112,
                                                     120, 144, 152, 176, 184, 200, 216, 232,
                                                     248, 232, 216, 200, 184, 168, 160, 136,
                                                     128, 104, 96,  72,  64,  48,  32,  16}},
  };
  for (const Case& c : cases) {
    Image image = Grey(c.width, c.input);
    ReduceToRgb555(image, c.kind, c.strength);
    EXPECT_EQ(Reds(image), c.expected) << static_cast<int>(c.kind) << " at " << c.strength;
  }
  // Floyd-Steinberg at full strength is the import's reduction.
  Image a = Grey(4, ramp), b = Grey(4, ramp);
  ReduceToRgb555(a, DitherKind::kFloydSteinberg);
  DitherToRgb555(b);
  EXPECT_EQ(a, b);
}

TEST(ReduceToRgb555, ConsoleKindsChooseTheNearestConsoleLevel) {
  // {value, level}: the console shows level c at c x 255/31, so 248 is nearer to 30 (246.8) than
  // to 31 (255), and the boundaries fall half way between those levels.
  const std::pair<int, int> levels[] = {{0, 0},    {4, 0},    {5, 1},    {12, 1},
                                        {13, 2},   {127, 15}, {128, 16}, {248, 30},
                                        {250, 30}, {251, 31}, {255, 31}};
  for (const DitherKind kind : {DitherKind::kSerpentine, DitherKind::kNone}) {
    for (const auto& [value, level] : levels) {
      Image one(1, 1, MakeRgb(value, 255 - value, value));
      ReduceToRgb555(one, kind);
      EXPECT_EQ(one.At(0, 0), MakeRgb(level * 8, (31 - level) * 8, level * 8)) << value;
    }
  }
}

TEST(ReduceToRgb555, ConsoleKindsKeepTheBrightnessOfFlatAreasAndTheKeyColour) {
  for (const int grey : {4, 100, 203, 248, 252}) {
    for (const DitherKind kind : {DitherKind::kSerpentine, DitherKind::kOrdered}) {
      Image image(64, 64, MakeRgb(grey, grey, grey));
      image.At(30, 30) = kKeyColour;
      ReduceToRgb555(image, kind);
      EXPECT_EQ(image.At(30, 30), kKeyColour);
      // The brightness the console shows, level c at c x 255/31, averages to the grey.
      double sum = 0;
      for (const Rgb p : image.pixels) sum += p == kKeyColour ? grey : RedOf(p) / 8 * 255 / 31.0;
      EXPECT_NEAR(sum / image.pixels.size(), grey, 0.1) << grey << " " << static_cast<int>(kind);
    }
  }
}

TEST(ReduceToRgb555, OrderedHalfStepFollowsTheBayerPattern) {
  // Half way between level 0 and level 1 (8.23 of 255): 4.11 cannot be given, so a quarter of the
  // way (2) and three quarters (6) show the pattern's first and last quarters.
  Image image = Grey(8, std::vector<int>(16, 2));
  ReduceToRgb555(image, DitherKind::kOrdered);
  const std::vector<int> quarter = Reds(image);
  EXPECT_EQ(std::count(quarter.begin(), quarter.end(), 8), 4);
  EXPECT_EQ(quarter, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 8, 0, 8, 0}));
  Image top = Grey(2, {255, 0});
  ReduceToRgb555(top, DitherKind::kOrdered);
  EXPECT_EQ(Reds(top), (std::vector<int>{248, 0}));
}

TEST(ReduceToRgb555, FifteenBitPicturesStayAndEveryKindGivesMultiplesOfEight) {
  for (const DitherKind kind : {DitherKind::kFloydSteinberg, DitherKind::kSerpentine,
                                DitherKind::kOrdered, DitherKind::kNone}) {
    Image exact(9, 9, kKeyColour);
    exact.At(4, 4) = MakeRgb(8, 248, 128);
    Image kept = exact;
    ReduceToRgb555(kept, kind, 100, ChannelScale::kFifteenBit);
    EXPECT_EQ(kept, exact);
    Image any(16, 16);
    for (std::size_t i = 0; i < any.pixels.size(); ++i)
      any.pixels[i] = static_cast<Rgb>(i * 0x010305);
    for (const ChannelScale scale : {ChannelScale::kFull, ChannelScale::kFifteenBit}) {
      Image reduced = any;
      ReduceToRgb555(reduced, kind, 70, scale);
      for (const Rgb p : reduced.pixels) ASSERT_EQ(p & ~0xF8F8F8u, 0u);
    }
  }
  // Read as brightness out of 255, 248 is level 30.
  Image full(1, 1, MakeRgb(248, 248, 248));
  ReduceToRgb555(full, DitherKind::kNone);
  EXPECT_EQ(full.At(0, 0), MakeRgb(240, 240, 240));
}

TEST(CoverFrame, FillsTheTargetAroundTheFocus) {
  struct Case {
    double focus_x, focus_y, zoom;
    Frame expected;
  } const cases[] = {
      {0.5, 0.5, 1, {240, 0, 1440, 1080}},     {0, 0, 1, {0, 0, 1440, 1080}},
      {1, 1, 1, {480, 0, 1440, 1080}},         {0.25, 0.5, 2, {120, 270, 720, 540}},
      {0.9, 0.1, 100, {1638, 40.5, 180, 135}},  // zoom limited to 8x
  };
  for (const Case& c : cases) {
    FitSettings s = To(256, 192);
    s.focus_x = c.focus_x, s.focus_y = c.focus_y, s.zoom = c.zoom;
    const Frame f = CoverFrame(1920, 1080, s);
    EXPECT_DOUBLE_EQ(f.x, c.expected.x);
    EXPECT_DOUBLE_EQ(f.y, c.expected.y);
    EXPECT_DOUBLE_EQ(f.width, c.expected.width);
    EXPECT_DOUBLE_EQ(f.height, c.expected.height);
  }
}

TEST(DecodeEighths, SmallestScaleWithTwiceTheTarget) {
  FitSettings cover = To(256, 192);
  EXPECT_EQ(DecodeEighths(6000, 4000, cover), 1);  // 750 x 500 still holds 512 x 384
  EXPECT_EQ(DecodeEighths(1000, 750, cover), 5);
  EXPECT_EQ(DecodeEighths(300, 200, cover), 8);
  cover.zoom = 4;
  EXPECT_EQ(DecodeEighths(6000, 4000, cover), 4);
  FitSettings contain = cover;
  contain.mode = FitMode::kContain;
  EXPECT_EQ(DecodeEighths(4000, 1000, contain), 2);  // 0.064 of the width: 1.02 eighths
  FitSettings nearest = To(256, 192);
  nearest.resampling = Resampling::kNearest;
  EXPECT_EQ(DecodeEighths(6000, 4000, nearest), 8);
}

TEST(DecodeForFit, ShrinksAJpegWhileDecodingAndKnowsItsSize) {
  Image photo(64, 48, MakeRgb(200, 100, 50));
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(photo, 90);
  const FitSettings cover = To(8, 6);
  const DecodedForFit shrunk = DecodeForFit(jpeg, kNoBudget, &cover);
  ASSERT_TRUE(shrunk.picture);
  EXPECT_EQ(shrunk.picture->width, 16);
  EXPECT_EQ(shrunk.picture->height, 12);
  EXPECT_EQ(shrunk.source_width, 64);
  EXPECT_EQ(shrunk.source_height, 48);
  EXPECT_EQ(DecodeForFit(jpeg, kNoBudget).picture->width, 64);
}

// A JPEG read as it decodes gives what the whole file gives; one that ends early or cannot be read
// gives nothing.
TEST(DecodeJpegForFit, ReadsTheFileAsItGoes) {
  const Image photo = testing_support::PhotoLikePicture(160, 120);
  const FitSettings s = To(20, 15);
  const auto plan = [&](int, int) { return s; };
  for (const bool progressive : {false, true}) {
    const std::vector<std::uint8_t> jpeg = testing_support::WriteTestJpeg(photo, progressive);
    const auto reader = [&](std::size_t end, std::int64_t fail_at) {
      return [&jpeg, end, fail_at, at = std::size_t{0}](std::uint8_t* buffer,
                                                        std::size_t size) mutable -> std::int64_t {
        if (fail_at >= 0 && at >= static_cast<std::size_t>(fail_at)) return -1;
        const std::size_t n = std::min({size, std::size_t{100}, end - at});
        std::copy_n(jpeg.begin() + static_cast<std::ptrdiff_t>(at), n, buffer);
        at += n;
        return static_cast<std::int64_t>(n);
      };
    };
    const DecodedForFit whole = DecodeForFit(jpeg, kNoBudget, plan);
    const DecodedForFit streamed = DecodeJpegForFit(reader(jpeg.size(), -1), kNoBudget, plan);
    ASSERT_TRUE(streamed.picture) << progressive;
    EXPECT_EQ(*streamed.picture, *whole.picture);
    EXPECT_EQ(streamed.eighths, whole.eighths);
    EXPECT_EQ(streamed.source_width, 160);
    EXPECT_FALSE(DecodeJpegForFit(reader(jpeg.size() / 2, -1), kNoBudget, plan).picture);
    EXPECT_FALSE(DecodeJpegForFit(reader(jpeg.size(), 400), kNoBudget, plan).picture);
  }
  const std::vector<std::uint8_t> png = EncodePng(photo);
  const auto png_head = [&](std::uint8_t* buffer, std::size_t) {
    std::copy_n(png.begin(), 3, buffer);
    return std::int64_t{3};
  };
  EXPECT_FALSE(DecodeJpegForFit(png_head, kNoBudget, plan).picture);
}

// A JPEG decoded at the scale the first frame needs is decoded finer, in steps of powers of two,
// when a zoom needs it; at full scale it fits as the whole picture does.
TEST(FitSource, DecodesAJpegFinerWhenAZoomNeedsIt) {
  const std::vector<std::uint8_t> jpeg =
      EncodeJpeg(testing_support::PhotoLikePicture(256, 192), 90);
  FitSettings s = To(16, 12);
  const auto first = [&](int, int) { return s; };
  EXPECT_FALSE(DecodeForFit(jpeg, kNoBudget, first).jpeg) << "the file is kept only when asked";
  DecodedForFit decoded = DecodeForFit(jpeg, kNoBudget, first, true);
  ASSERT_TRUE(decoded.picture);
  EXPECT_EQ(decoded.eighths, 1);
  FitSource source(std::move(decoded), std::nullopt);
  struct Step {
    double zoom;
    int eighths, width, revision;
  } const steps[] = {
      {1, 1, 32, 0}, {1.9, 2, 64, 1}, {3, 4, 128, 2}, {1, 4, 128, 2}, {8, 8, 256, 3}};
  for (const Step& step : steps) {
    s.zoom = step.zoom;
    const Image fitted = source.Fit(s);
    EXPECT_EQ(source.eighths(), step.eighths) << step.zoom;
    EXPECT_EQ(source.width(), step.width) << step.zoom;
    EXPECT_EQ(source.revision(), step.revision) << step.zoom;
    EXPECT_EQ(fitted.width, 16);
  }
  EXPECT_EQ(source.Fit(s), FitSource(*DecodeForFit(jpeg, kNoBudget).picture, {}).Fit(s));
  // Without the memory for a finer picture the source keeps the one it has, and stops trying.
  s.zoom = 1;
  FitSource tight(DecodeForFit(jpeg, kNoBudget, first, true), std::nullopt, 4096);
  s.zoom = 8;
  EXPECT_EQ(tight.Fit(s).width, 16);
  EXPECT_EQ(tight.eighths(), 1);
  EXPECT_EQ(tight.revision(), 0);
}

// Fits without dither, so that what the resampling gives shows.
Image FitPlain(const Image& source, FitSettings s) {
  s.dither = DitherKind::kNone;
  return FitSource(source, std::nullopt).Fit(s);
}

TEST(FitSource, NearestTakesThePixelUnderEachCentre) {
  Image source(4, 4);
  for (int i = 0; i < 16; ++i) source.pixels[static_cast<std::size_t>(i)] = MakeRgb(i * 8, 0, 0);
  FitSettings s = To(2, 2);
  s.resampling = Resampling::kNearest;
  EXPECT_EQ(Reds(FitPlain(source, s)), (std::vector<int>{40, 56, 104, 120}));
  s.mode = FitMode::kStretch;
  s.width = 8;
  s.height = 1;
  EXPECT_EQ(Reds(FitPlain(source, s)), (std::vector<int>{64, 64, 72, 72, 80, 80, 88, 88}));
}

TEST(FitSource, SmoothKeepsFlatColourAndAveragesInLinearLight) {
  EXPECT_EQ(FitPlain(Image(40, 30, MakeRgb(48, 96, 200)), To(4, 3)),
            Image(4, 3, MakeRgb(48, 96, 200)));
  // One-pixel black and white stripes average to half the light: sRGB 188, not 128.
  Image stripes(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) stripes.At(x, y) = x % 2 ? 0xFFFFFF : 0;
  const Image half = FitPlain(stripes, To(8, 8));
  for (int x = 2; x < 6; ++x) EXPECT_EQ(half.At(x, 4), MakeRgb(184, 184, 184)) << x;
}

TEST(FitSource, TransparentPixelsStayKeyAndLendNoColour) {
  // Red on the left, transparent on the right, and a chosen colour that becomes transparent.
  Image source(32, 32, kKeyColour);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) source.At(x, y) = MakeRgb(255, 0, 0);
  source.At(0, 0) = MakeRgb(1, 2, 3);
  FitSettings s = To(8, 8);
  s.key = ExactKey(MakeRgb(1, 2, 3));
  const Image fitted = FitSource(source, s.key).Fit(s);
  EXPECT_EQ(fitted.At(7, 4), kKeyColour);
  for (const Rgb p : fitted.pixels)
    ASSERT_TRUE(p == kKeyColour || GreenOf(p) == 0) << std::hex << p;
  EXPECT_EQ(fitted.At(1, 4), MakeRgb(248, 0, 0));
}

TEST(FitSource, ContainFillsAroundAndKeepKeepsTheSize) {
  Image source(4, 2, MakeRgb(80, 80, 80));
  FitSettings s = To(4, 4);
  s.mode = FitMode::kContain;
  s.resampling = Resampling::kNearest;
  Image expected(4, 4, kKeyColour);
  for (int x = 0; x < 4; ++x) expected.At(x, 1) = expected.At(x, 2) = MakeRgb(80, 80, 80);
  EXPECT_EQ(FitPlain(source, s), expected);
  s.fill = MakeRgb(16, 32, 48);
  EXPECT_EQ(FitPlain(source, s).At(0, 0), MakeRgb(16, 32, 48));
  s.mode = FitMode::kKeep;
  EXPECT_EQ(FitPlain(source, s), source);
  EXPECT_EQ(ContainPlacement(1000, 1, 4, 4).height, 1);  // never thinner than a pixel
}

TEST(FitSource, HugeSourceFitsThroughItsHalvings) {
  FitSource source(Image(1501, 1001, MakeRgb(120, 16, 240)), std::nullopt);
  EXPECT_EQ(source.levels().size(), 8u);
  EXPECT_EQ(source.levels()[1].width, 751);
  FitSettings s = To(256, 192);
  s.zoom = 3.3;
  s.focus_x = 0.8;
  EXPECT_EQ(source.Fit(s), Image(256, 192, MakeRgb(120, 16, 240)));
  s.width = 0;
  EXPECT_TRUE(source.Fit(s).Empty());
}

// A source used up by its fit may be changed in place on the way: the result is the same to the
// pixel as that of a source kept for more fits, opaque or not, from the picture or a halving.
TEST(FitSource, UsedUpFitsAsAKeptOne) {
  Image noisy(301, 203);
  for (std::size_t i = 0; i < noisy.pixels.size(); ++i)
    noisy.pixels[i] = MakeRgb(static_cast<int>(i * 37 % 251), static_cast<int>(i * 91 % 253),
                              static_cast<int>(i * 13 % 255));
  Image holed = noisy;
  for (int y = 90; y < 110; ++y) std::fill_n(&holed.At(140, y), 20, kKeyColour);
  FitSettings cover = To(64, 48), contain = To(100, 37), stretch = To(31, 47), zoomed = To(40, 30);
  cover.focus_x = 0.2;
  contain.mode = FitMode::kContain;
  stretch.mode = FitMode::kStretch;
  zoomed.zoom = 2.5;
  for (const Image* picture : {&noisy, &holed}) {
    for (const FitSettings& s : {cover, contain, stretch, zoomed, To(256, 192)}) {
      const FitSource kept_source(*picture, std::nullopt);
      const Image kept = kept_source.Fit(s);
      FitSource source(*picture, std::nullopt);
      EXPECT_EQ(std::move(source).Fit(s), kept) << s.width << "x" << s.height;
      EXPECT_TRUE(source.Empty());
    }
  }
}

// What one fit holds at its peak besides its source: never a copy of the source, and only the
// halvings it reads from.
TEST(FitSource, AFitOnceCopiesNothingOfItsSource) {
  constexpr std::size_t kPicture = 1024 * 768 * sizeof(Rgb);
  const auto peak_of = [](FitSettings s, bool once) {
    FitSource source(Image(1024, 768, MakeRgb(90, 60, 30)), std::nullopt);
    testing_support::ResetPeakHeld();
    const Image fitted = once ? std::move(source).Fit(s) : source.Fit(s);
    EXPECT_FALSE(fitted.Empty());
    return testing_support::PeakHeld();
  };
  EXPECT_LT(peak_of(KeptAsItIs(), true), kPicture / 8) << "kept: the source becomes the result";
  EXPECT_GE(peak_of(KeptAsItIs(), false), kPicture) << "a source kept for more fits is copied";
  FitSettings contain = To(512, 512);
  contain.mode = FitMode::kContain;  // 2:1, read from the picture itself
  EXPECT_LT(peak_of(contain, true), kPicture * 3 / 4);
  // 4:1 reads from the first halving, which is all that is made besides the result.
  EXPECT_LT(peak_of(To(256, 192), true), kPicture / 4 + kPicture / 8);
}

// Decoded within FitPictureBudget and fitted once, a picture stays within the budget at the peak,
// whatever the settings; a budget that the result alone takes refuses every picture.
TEST(FitPictureBudget, DecodingAndFittingOnceStayWithinTheBudget) {
  const std::vector<std::uint8_t> png = EncodePng(Image(1024, 1024, MakeRgb(200, 100, 50)));
  constexpr std::uint64_t kBudget = 6u << 20;  // the 4 MiB picture and not much besides
  FitSettings contain = To(640, 640), nearest = To(512, 384), wide = To(2048, 2048);
  contain.mode = FitMode::kContain;
  nearest.resampling = Resampling::kNearest;
  const std::pair<FitSettings, bool> kCases[] = {
      {KeptAsItIs(), true},
      {To(256, 192), true},
      {nearest, true},
      {contain, false},  // 4 MiB of result and placed picture leave too little
      {wide, false}};
  for (const auto& [settings, fits] : kCases) {
    SCOPED_TRACE(std::to_string(settings.width) + " mode " +
                 std::to_string(static_cast<int>(settings.mode)));
    testing_support::ResetPeakHeld();
    DecodedForFit decoded = DecodeForFit(png, FitPictureBudget(kBudget, settings));
    ASSERT_EQ(static_cast<bool>(decoded.picture), fits);
    if (!fits) {
      EXPECT_EQ(decoded.picture.error(), DecodeError::kOverBudget);
      continue;
    }
    const Image fitted = FitSource(std::move(*decoded.picture), settings.key).Fit(settings);
    EXPECT_FALSE(fitted.Empty());
    EXPECT_LE(testing_support::PeakHeld(), kBudget);
  }
  EXPECT_EQ(FitPictureBudget(kBudget, KeptAsItIs()), kBudget);
  EXPECT_EQ(FitPictureBudget(kNoBudget, To(64, 64)), kNoBudget);
  EXPECT_EQ(FitPictureBudget(1u << 20, To(512, 512)), 0u);
}

}  // namespace
}  // namespace imaging

// skinsmith-cli render: single screens, the contact sheet and bad arguments.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "imaging/png_codec.h"
#include "preview/preview.h"
#include "skin/skin_saver.h"
#include "test_support.h"

namespace {

using imaging::MakeRgb;
using imaging::Rgb;
using testing_support::RunCli;

// What --which prints for canvas pixel (x, y) of `screen`.
std::string Which(const std::string& skin, int screen, int x, int y) {
  return testing_support::RunCommand(std::string(SKINSMITH_CLI) + " render " + skin + " --screen " +
                                     std::to_string(screen) + " --which " + std::to_string(x) +
                                     "," + std::to_string(y))
      .err;
}

// The first pixel of `image` in `colour`, from the top, left of column `end`.
std::optional<std::pair<int, int>> Find(const imaging::Image& image, Rgb colour, int end = 266) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < end; ++x) {
      if (image.At(x, y) == colour) return std::pair{x, y};
    }
  }
  return std::nullopt;
}

// A skin folder of solid pictures and colours that survive the 15 bits of the files, each its own.
TEST(CliRender, WhichNamesWhatTheRenderedPixelShows) {
  testing_support::TempDir dir;
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  auto slot_colour = [](std::size_t i) {
    return MakeRgb(8 * (1 + static_cast<int>(i) % 31), 8 * (10 + static_cast<int>(i) / 31), 160);
  };
  for (std::size_t i = 0; i < skin::kSlotCount; ++i) {
    doc.slots[i] = imaging::Image(doc.slots[i]->width, doc.slots[i]->height, slot_colour(i));
  }
  for (std::size_t c = 0; c < skin::kColourCount; ++c) {
    doc.colours[c] =
        MakeRgb(248, 8 * (static_cast<int>(c) % 31), 240 + 8 * (static_cast<int>(c) / 31));
  }
  testing_support::RecordingFeedback feedback;
  ASSERT_EQ(skin::SaveSkin(doc, dir.folder(), skin::SaveOptions(), feedback), 1 + 53);
  const std::string out = (dir.path() / "s.png").string();
  using skin::SlotId;
  const std::pair<int, std::vector<SlotId>> probes[] = {
      {0, {SlotId::clock_numbers, SlotId::clock_colon, SlotId::start_released, SlotId::gba}},
      {2, {SlotId::form_M, SlotId::lamp, SlotId::popsubbar}},
      {3, {SlotId::btn3, SlotId::title_bg}},
      {13, {SlotId::cheat_clearall}}};
  // Pictures of both screens, whole, tiled, cut out and placed by elements, on four screens.
  for (const auto& [screen, slots] : probes) {
    ASSERT_EQ(
        RunCli("render " + dir.folder() + " --screen " + std::to_string(screen) + " -o " + out)
            .status,
        0);
    const imaging::Decoded canvas = testing_support::ReadPicture(out);
    ASSERT_TRUE(canvas);
    for (SlotId slot : slots) {
      const auto place = Find(*canvas, slot_colour(skin::Index(slot)));
      ASSERT_TRUE(place) << skin::Info(slot).BaseName();
      EXPECT_EQ(Which(dir.folder(), screen, place->first, place->second),
                std::string(skin::Info(slot).BaseName()) + "\n");
    }
  }
  const imaging::Decoded canvas = testing_support::ReadPicture(out);  // screen 13
  // The list title, left of the clear-all title in the same colour.
  const auto text = Find(*canvas, doc.Colour(skin::ColourId::cheatTitleTextColor), 150);
  ASSERT_TRUE(text);
  EXPECT_EQ(Which(dir.folder(), 13, text->first, text->second),
            "text cheatTitleTextColor [cheat title]\n");
  EXPECT_EQ(Which(dir.folder(), 13, 100, 250), "hinge\n");
  EXPECT_EQ(Which(dir.folder(), 13, 0, 0), "background\n");
}

TEST(CliRender, ScreensSheetsZoomAndBackground) {
  testing_support::TempDir dir;
  const std::string out = (dir.path() / "s.png").string();
  ASSERT_EQ(RunCli("render --default --screen 13 -o " + out).status, 0);
  imaging::Decoded image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 266);
  EXPECT_EQ(image->height, 490);

  ASSERT_EQ(
      RunCli("render --default --screen 0 --zoom 1.15 --background 0xFF0000 -o " + out).status, 0);
  image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 306);
  EXPECT_EQ(image->At(0, 0), imaging::MakeRgb(255, 0, 0)) << "red first, as on the web";

  ASSERT_EQ(RunCli("render --default --all -o " + out).status, 0);
  image = testing_support::ReadPicture(out);
  ASSERT_TRUE(image);
  EXPECT_GT(image->width, 7 * 266);

  // The console's views draw the screens as the editor's View menu shows them.
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  for (const auto& [name, view] : {std::pair{"console", preview::ScreenColours::kConsole},
                                   std::pair{"original", preview::ScreenColours::kOriginal}}) {
    ASSERT_EQ(
        RunCli(std::string("render --default --screen 3 --colours ") + name + " -o " + out).status,
        0);
    image = testing_support::ReadPicture(out);
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, preview::RenderPreview(doc, 3, 0, 1.0f, view)) << name;
  }
}

TEST(CliRender, BadArgumentsAreUsageErrors) {
  testing_support::TempDir dir;
  const std::string out = (dir.path() / "s.png").string();
  EXPECT_EQ(RunCli("render --default --screen 14 -o " + out).status, 2);
  EXPECT_EQ(RunCli("render --default -o " + out).status, 2);
  EXPECT_EQ(RunCli("render --default --screen 1").status, 2);
  EXPECT_EQ(RunCli("render --screen 1 -o " + out).status, 2);
  EXPECT_EQ(RunCli("render " + dir.path().string() + " --screen 1 -o " + out).status, 2)
      << "a folder without uisettings.ini";
  EXPECT_EQ(
      RunCli("render --default --screen 1 -o " + (dir.path() / "no" / "s.png").string()).status, 2);
  EXPECT_EQ(RunCli("render --default --screen 1 --which 266,0").status, 2) << "off the canvas";
  EXPECT_EQ(RunCli("render --default --screen 1 --which 5").status, 2);
  EXPECT_EQ(RunCli("render --default --screen 1 --which 5,-1").status, 2);
  EXPECT_EQ(RunCli("render --default --all --which 5,5 -o " + out).status, 2);
  EXPECT_EQ(RunCli("render --default --screen 1 --colours dsi -o " + out).status, 2);
}

}  // namespace

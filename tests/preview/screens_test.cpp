// The fourteen screens drawn from probe skins: every slot a solid picture of its own colour, so
// that the colour at a place tells which picture, box or text was drawn there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

#include "imaging/png_codec.h"
#include "preview/preview.h"
#include "skin/skin_colour.h"

namespace preview {
namespace {

using imaging::Image;
using imaging::MakeRgb;
using imaging::Rgb;
using skin::ColourId;
using skin::FieldId;
using skin::SlotId;

Rgb SlotColour(SlotId slot) {
  const int i = static_cast<int>(slot);
  return MakeRgb(8 + 4 * i, 100 + (i % 7) * 16, 200 - 2 * i);
}

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::ResetSkinDefaults(doc_);
    for (std::size_t i = 0; i < skin::kSlotCount; ++i) {
      const Image& built_in = doc_.slots[i];
      doc_.slots[i] = Image(built_in.width, built_in.height, SlotColour(static_cast<SlotId>(i)));
    }
    doc_.sample_game_icon = Image(32, 32, MakeRgb(1, 2, 3));
    // Colours that nothing else uses, so texts and boxes can be told apart.
    for (std::size_t c = 0; c < skin::kColourCount; ++c) doc_.colours[c] = MakeRgb(250, 3 * c, 251);
  }
  Rgb Colour(ColourId id) const { return doc_.Colour(id); }
  Image Bottom(int screen) const { return DrawScreens(doc_, screen).bottom; }
  Image Top(int screen) const { return DrawScreens(doc_, screen).top; }
  static bool Has(const Image& s, int x0, int y0, int w, int h, Rgb c) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x)
        if (s.At(x, y) == c) return true;
    return false;
  }
  skin::SkinDocument doc_;
};

TEST_F(ScreensTest, IconViewPlacesEveryPiece) {
  doc_.Field(FieldId::start_bar_y) = 150;
  const Image s = Bottom(0);
  EXPECT_EQ(s.At(0, 150), SlotColour(SlotId::startbar));
  EXPECT_EQ(s.At(16, 10), SlotColour(SlotId::rpth));
  EXPECT_EQ(s.At(199 + 31, 10 + 31), SlotColour(SlotId::gba));
  EXPECT_EQ(s.At(16, 64), MakeRgb(1, 2, 3)) << "the sample game's cell";
  EXPECT_EQ(s.At(199, 118), SlotColour(SlotId::unk));
  EXPECT_EQ(s.At(15, 63), Colour(ColourId::logoFrameColor));
  EXPECT_EQ(s.At(48, 96), Colour(ColourId::logoFrameColor));
  EXPECT_EQ(s.At(3, 110), Colour(ColourId::listTextBgColor)) << "the caption bar's corner";
  EXPECT_TRUE(Has(s, 4, 96, 60, 12, Colour(ColourId::vTextHighLightColor)));
  EXPECT_TRUE(Has(s, 71, 42, 50, 12, Colour(ColourId::vTextColor)));
  EXPECT_EQ(s.At(178, 174), SlotColour(SlotId::cardFrame0));
  EXPECT_EQ(s.At(232 + 22, 174), SlotColour(SlotId::reBack));
  EXPECT_EQ(s.At(0, 172), SlotColour(SlotId::start_released));
}

TEST_F(ScreensTest, EmptySlotsDrawNothingAndOffScreenElementsAreClipped) {
  doc_.SetSlot(SlotId::lower_screen, Image());
  doc_.Field(FieldId::reback_btn_x) = -10;
  doc_.Field(FieldId::reback_btn_y) = 190;
  doc_.SetSlot(SlotId::popsubbar, Image(1, 1, SlotColour(SlotId::popsubbar)));
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const ScreenPair pair = DrawScreens(doc_, screen);
    EXPECT_EQ(pair.top.width, 256);
    EXPECT_EQ(pair.bottom.height, 192);
  }
  EXPECT_EQ(Bottom(0).At(100, 60), 0u) << "no background picture: black";
  EXPECT_EQ(Bottom(0).At(0, 190), SlotColour(SlotId::reBack));
}

TEST_F(ScreensTest, ListViewFollowsTheLogoOffset) {
  const Image s = Bottom(1);
  EXPECT_EQ(s.At(20, 56), SlotColour(SlotId::pth)) << "the selected row's icon";
  EXPECT_NE(s.At(19, 56), SlotColour(SlotId::pth));
  EXPECT_EQ(s.At(16, 17), SlotColour(SlotId::pth));
  EXPECT_TRUE(Has(s, 56, 64, 30, 12, Colour(ColourId::listTextHighLightColor)));
  EXPECT_FALSE(Has(s, 52, 64, 4, 12, Colour(ColourId::listTextHighLightColor)));
  EXPECT_EQ(s.At(0, 55 - (42 - 32) / 2), SlotColour(SlotId::selectbar));
  EXPECT_EQ(s.At(178, 174), SlotColour(SlotId::cardFrame1));
}

TEST_F(ScreensTest, StartMenuTilesAndMarkers) {
  const int x = doc_.Field(FieldId::start_menu_x), y = doc_.Field(FieldId::start_menu_y);
  const Image s = Bottom(4);
  EXPECT_EQ(s.At(x, y), SlotColour(SlotId::form_L));
  EXPECT_EQ(s.At(x + 28, y), SlotColour(SlotId::form_M));
  EXPECT_EQ(s.At(x + 71, y), SlotColour(SlotId::form_M));
  EXPECT_EQ(s.At(x + 72, y), SlotColour(SlotId::form_R)) << "the right piece covers the last tile";
  // Row 1 highlighted: the whole lamp at itemY + ih/2 - half(38) + ih.
  const int yr = y + 18 + 17 / 2 - 20;
  EXPECT_EQ(s.At(x + 5, yr + 17), SlotColour(SlotId::lamp));
  EXPECT_EQ(s.At(x + 5, yr + 17 + 37), SlotColour(SlotId::lamp));
  const int tri_x = x + 108 - 4 - 14;
  EXPECT_EQ(s.At(tri_x, y + 18 + 8 - 9 + 17), SlotColour(SlotId::triangle));
}

TEST_F(ScreensTest, LampCutOutsForTheFirstAndLastRows) {
  const int x = doc_.Field(FieldId::start_menu_x), y = doc_.Field(FieldId::start_menu_y);
  const int yr = y + 18 + 17 / 2 - 20;
  const Image first = Bottom(2);  // row 0: lamp rows 6 to 37 at their usual place
  EXPECT_NE(first.At(x + 5, yr + 5), SlotColour(SlotId::lamp));
  EXPECT_EQ(first.At(x + 5, yr + 6), SlotColour(SlotId::lamp));
  EXPECT_EQ(first.At(x + 5, yr + 37), SlotColour(SlotId::lamp));
  const Image last = Bottom(11);  // row 4: the lamp cut at the bottom by leftlogodownY (6)
  EXPECT_EQ(last.At(x + 5, yr + 4 * 17), SlotColour(SlotId::lamp));
  EXPECT_EQ(last.At(x + 5, yr + 4 * 17 + 31), SlotColour(SlotId::lamp));
  doc_.Field(FieldId::start_menu_leftlogoupY) = -2;
  EXPECT_EQ(Bottom(2).At(x + 5, yr - 2), 0u) << "rows above the picture are black";
}

TEST_F(ScreensTest, SubMenuBarStretchesOverTheWidth) {
  doc_.SetSlot(SlotId::popsubbar, Image(1, 12, SlotColour(SlotId::popsubbar)));
  const int tx = doc_.Field(FieldId::start_menu_x) + doc_.Field(FieldId::file_handle_menu_x) + 107;
  const int by = doc_.Field(FieldId::file_handle_menu_y);
  const int yb = by + 10 + 8 - 6 - 1 + 3 * 16;
  const Image s = Bottom(2);
  EXPECT_EQ(s.At(tx + 2, yb), SlotColour(SlotId::popsubbar));
  EXPECT_EQ(s.At(tx + 67, yb + 11), SlotColour(SlotId::popsubbar));
  EXPECT_NE(s.At(tx + 68, yb), SlotColour(SlotId::popsubbar));
  EXPECT_EQ(s.At(tx, by), Colour(ColourId::formFrameColor));
  EXPECT_EQ(s.At(tx + 1, by + 1), Colour(ColourId::popSubMenuBodyColor));
  doc_.SetSlot(SlotId::popsubbar, Image(67, 12, SlotColour(SlotId::popsubbar)));
  EXPECT_FALSE(Has(Bottom(2), tx, by, 70, 80, SlotColour(SlotId::popsubbar)))
      << "a bar wider than w - 4 is not drawn";
}

TEST_F(ScreensTest, DialogButtonsAndTitleBar) {
  const Image s = Bottom(3);
  EXPECT_EQ(s.At(198, 126), SlotColour(SlotId::btn3));
  EXPECT_EQ(s.At(151, 126), SlotColour(SlotId::btn3));
  EXPECT_EQ(s.At(13, 70), Colour(ColourId::formBodyColor));
  EXPECT_EQ(s.At(12 + 56, 65 - 16), SlotColour(SlotId::title_bg));
  EXPECT_EQ(s.At(189, 65 - 16), SlotColour(SlotId::title_bg));
  EXPECT_EQ(s.At(190, 65 - 16), SlotColour(SlotId::title_right));
  EXPECT_TRUE(Has(s, 151, 126, 39, 12, Colour(ColourId::buttonTextColor)));
}

TEST_F(ScreensTest, HelpWindowFollowsItsSize) {
  Image s = Bottom(11);
  EXPECT_EQ(s.At(28, 16), SlotColour(SlotId::title_left));
  EXPECT_EQ(s.At(227, 175), Colour(ColourId::formFrameColor));
  EXPECT_NE(s.At(228, 175), Colour(ColourId::formFrameColor));
  doc_.Field(FieldId::help_window_w) = 256;
  doc_.Field(FieldId::help_window_h) = 192;
  s = Bottom(11);
  EXPECT_EQ(s.At(0, 0), SlotColour(SlotId::title_left));
  EXPECT_EQ(s.At(0, 191), Colour(ColourId::formFrameColor));
}

TEST_F(ScreensTest, CheatListReplacesTheFileBrowser) {
  const Image s = Bottom(13);
  EXPECT_EQ(s.At(100, 100), SlotColour(SlotId::cheatbg));
  EXPECT_FALSE(Has(s, 0, 172, 256, 20, SlotColour(SlotId::startbar)));
  EXPECT_FALSE(Has(s, 0, 0, 256, 192, SlotColour(SlotId::brightness)));
  EXPECT_EQ(s.At(18, 36), SlotColour(SlotId::cheatselectbar));
  EXPECT_EQ(s.At(18, 161), SlotColour(SlotId::fathernode));
  EXPECT_TRUE(Has(s, 35, 38, 100, 12, Colour(ColourId::cheatListTextHighLightColor)));
}

TEST_F(ScreensTest, TopScreenElementsAndTheBigClock) {
  Image s = Top(0);
  EXPECT_EQ(s.At(127, 30), MakeRgb(1, 2, 3)) << "sample icon at logo info";
  EXPECT_EQ(s.At(131, 141), SlotColour(SlotId::clock_numbers));
  EXPECT_EQ(s.At(131 + 48, 141), SlotColour(SlotId::clock_colon));
  doc_.SetSlot(SlotId::clock_numbers, Image(10, 310, SlotColour(SlotId::clock_numbers)));
  EXPECT_EQ(Top(0).At(131 + 20, 141), SlotColour(SlotId::clock_colon));
  doc_.Field(FieldId::big_clock_show) = 0;
  EXPECT_FALSE(Has(Top(0), 0, 0, 256, 192, SlotColour(SlotId::clock_colon)));
  doc_.Field(FieldId::file_name_titleshow) = 0;
  s = Top(0);
  EXPECT_FALSE(Has(s, 127, 69, 115, 12, Colour(ColourId::gameInfoTitleColor)))
      << "titleshow 0 hides the file-name caption";
  EXPECT_TRUE(Has(s, 127, 99, 100, 12, Colour(ColourId::gameInfoTitleColor)));
  EXPECT_TRUE(Has(s, 127, 84, 115, 12, Colour(ColourId::fileNameTextColor)));
  doc_.Field(FieldId::file_name_show) = 0;
  EXPECT_FALSE(Has(Top(0), 0, 0, 256, 192, Colour(ColourId::fileNameTextColor)));
  doc_.Field(FieldId::folder_text_show) = 1;
  doc_.Field(FieldId::folder_text_w) = 0;
  EXPECT_FALSE(Has(Top(0), 0, 0, 256, 192, Colour(ColourId::formTitleTextColor)));
  EXPECT_EQ(Top(1).At(127, 30), SlotColour(SlotId::pth));
}

// Every pixel of both screens of all fourteen states: the record names the slot whose colour the
// pixel shows, or the colour key of its text, box or line; every slot whose colour shows is
// recorded; and recording changes no pixel.
TEST_F(ScreensTest, RecordAgreesWithEveryPixelOnEveryScreen) {
  std::map<Rgb, SlotId> slot_of;
  for (std::size_t i = 0; i < skin::kSlotCount; ++i) {
    slot_of[SlotColour(static_cast<SlotId>(i))] = static_cast<SlotId>(i);
  }
  std::set<SlotId> every_recorded;
  for (int screen = 0; screen < kScreenCount; ++screen) {
    ScreenSources sources;
    const ScreenPair recorded = DrawScreens(doc_, screen, &sources);
    const ScreenPair plain = DrawScreens(doc_, screen);
    ASSERT_TRUE(recorded.top == plain.top && recorded.bottom == plain.bottom) << screen;
    std::set<SlotId> shown, in_record;
    int wrong = 0;
    for (const auto& [image, map] :
         {std::pair{&recorded.top, &sources.top}, std::pair{&recorded.bottom, &sources.bottom}}) {
      for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
          const Rgb pixel = image->At(x, y);
          const Source source = map->At(x, y);
          if (const auto found = slot_of.find(pixel); found != slot_of.end()) {
            shown.insert(found->second);
          }
          Rgb expected = 0;
          if (source.kind == SourceKind::kPicture) {
            expected = source.slot() ? SlotColour(*source.slot()) : MakeRgb(1, 2, 3);
            if (source.slot()) in_record.insert(*source.slot());
          } else if (source.kind != SourceKind::kBackground) {
            expected = source.colour() ? Colour(*source.colour()) : 0xFFFFFF;
          }
          if (pixel != expected && wrong++ == 0) {
            ADD_FAILURE() << "screen " << screen << (image == &recorded.top ? " top " : " bottom ")
                          << x << "," << y << ": " << DescribeSource(source);
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "screen " << screen;
    EXPECT_EQ(shown, in_record) << "screen " << screen;
    every_recorded.insert(in_record.begin(), in_record.end());
  }
  EXPECT_EQ(every_recorded.size(), skin::kSlotCount - 3)
      << "all slots but noactivehotke, progress_bar and progress_wnd";
}

// The element sections whose numbers place what the record names.
TEST_F(ScreensTest, RecordNamesThePlacingSection) {
  auto at = [&](int screen, bool top, int x, int y) {
    ScreenSources sources;
    DrawScreens(doc_, screen, &sources);
    return DescribeSource((top ? sources.top : sources.bottom).At(x, y));
  };
  EXPECT_EQ(at(0, false, 0, 172), "start_released");
  const int tx = doc_.Field(FieldId::start_menu_x) + doc_.Field(FieldId::file_handle_menu_x) + 107;
  EXPECT_EQ(at(2, false, tx, doc_.Field(FieldId::file_handle_menu_y)),
            "box formFrameColor [file handle menu]");
  EXPECT_EQ(at(3, false, 13, 70), "box formBodyColor") << "the dialog's place is fixed";
  EXPECT_EQ(at(0, false, 15, 70), "line logoFrameColor");
  EXPECT_EQ(at(11, false, 28, 175), "box formFrameColor [help window]");
  ScreenSources sources;
  DrawScreens(doc_, 0, &sources);
  EXPECT_EQ(sources.top.At(131, 141).placed_by(), skin::SectionId::big_clock);
  EXPECT_EQ(sources.top.At(127, 30).placed_by(), skin::SectionId::logo_info);
  EXPECT_EQ(sources.bottom.At(0, 172).placed_by(), skin::SectionId::start_button);
  DrawScreens(doc_, 1, &sources);
  EXPECT_EQ(sources.bottom.At(20, 56).placed_by(), skin::SectionId::logo_offset);
  EXPECT_FALSE(sources.bottom.At(16, 17).placed_by()) << "the other folder rows are fixed";
  DrawScreens(doc_, 13, &sources);
  EXPECT_EQ(sources.bottom.At(160, 13).placed_by(), skin::SectionId::cheat_cancel_all_btn);
  DrawScreens(doc_, 99, &sources);
  EXPECT_EQ(sources.bottom.At(0, 0), Source{}) << "no screen: nothing recorded";
}

TEST(Screenshot, IsScreenZeroOnBlack) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const Image shot = RenderScreenshot(doc);
  ASSERT_EQ(shot.width, 256);
  ASSERT_EQ(shot.height, 384);
  const ScreenPair pair = DrawScreens(doc, 0);
  EXPECT_EQ(shot.At(10, 10), pair.top.At(10, 10));
  EXPECT_EQ(shot.At(10, 200), pair.bottom.At(10, 8));
  // Larger shots are the same pixels as squares; a scale outside 1 to 3 is the nearest of them.
  for (const auto& [asked, scale] : {std::pair{2, 2}, {3, 3}, {0, 1}, {-5, 1}, {9, 3}}) {
    const Image big = RenderScreenshot(doc, 0, asked);
    ASSERT_EQ(big.width, 256 * scale) << asked;
    ASSERT_EQ(big.height, 384 * scale) << asked;
    for (const auto& [x, y] : {std::pair{10, 10}, {255, 383}, {100, 200}}) {
      EXPECT_EQ(big.At(x * scale + scale - 1, y * scale), shot.At(x, y)) << asked;
    }
  }
}

// The default skin's fourteen screens against committed golden images. To accept an intended
// change, run with SKINSMITH_UPDATE_GOLDEN=1 and look at every image before committing it.
TEST(Golden, DefaultSkinScreens) {
  namespace fs = std::filesystem;
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const fs::path folder = fs::path(SKINSMITH_TEST_DATA_DIR) / "preview";
  const bool update = std::getenv("SKINSMITH_UPDATE_GOLDEN") != nullptr;
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const Image canvas = RenderPreview(doc, screen, 0, 1.0f);
    const fs::path file = folder / ("screen" + std::to_string(screen) + ".png");
    if (update) {
      fs::create_directories(folder);
      const std::vector<std::uint8_t> png = imaging::EncodePng(canvas);
      std::ofstream(file, std::ios::binary)
          .write(reinterpret_cast<const char*>(png.data()), png.size());
      continue;
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const auto golden = imaging::DecodePng(bytes);
    ASSERT_TRUE(golden) << file;
    EXPECT_TRUE(*golden == canvas) << "screen " << screen << " differs from " << file;
  }
}

}  // namespace
}  // namespace preview

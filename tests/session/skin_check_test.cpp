// The skin check: what the default skin gives, one small fault per code found exactly once, the
// nearest legible colour, and hostile numbers.
#include "session/skin_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "preview/preview.h"
#include "skin/field_ranges.h"
#include "skin/skin_document.h"

namespace session {
namespace {

using skin::ColourId;
using skin::FieldId;
using skin::SectionId;
using skin::SlotId;

// The big clock of the built-in pictures: four digits and a colon, 31 pixels high.
int ClockWidth() {
  return 4 * skin::BuiltInSlotPicture(SlotId::clock_numbers).width +
         skin::BuiltInSlotPicture(SlotId::clock_colon).width;
}
constexpr int kClockHeight = 31;

skin::SkinDocument DefaultSkin() {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  return doc;
}

// The built-in picture of `slot` cut or stretched to width x height, edge pixels repeated.
imaging::Image Resized(SlotId slot, int width, int height) {
  const imaging::Image from = skin::BuiltInSlotPicture(slot);
  imaging::Image to(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      to.At(x, y) = from.At(std::min(x, from.width - 1), std::min(y, from.height - 1));
  return to;
}

std::string Describe(const Finding& f) {
  std::string text = std::string(SeverityName(f.severity)) + " " + std::string(CodeName(f.code)) +
                     " " + FormatScreens(f.screens);
  for (const std::string& arg : MessageArgs(f, 0)) text += " | " + arg;
  return text;
}

// The default skin's findings: two texts of the built-in skin that sit on darker ground than 3:1
// allows. Nothing is an error.
TEST(SkinCheck, DefaultSkinHasTwoHardToReadTextsAndNoError) {
  const std::vector<Finding> findings = CheckSkin(DefaultSkin());
  ASSERT_EQ(findings.size(), 2u);
  for (const Finding& f : findings) EXPECT_EQ(f.severity, Severity::kWarning) << Describe(f);
  // The folder line of screen 1 is longer than the file name it replaces and runs past the end of
  // the caption band of upper_screen.
  EXPECT_EQ(findings[0].colour, ColourId::gameInfoTitleColor);
  EXPECT_EQ(findings[0].section, SectionId::game_name);
  EXPECT_EQ(FormatScreens(findings[0].screens), "1");
  // Dark magenta on darker magenta in the game settings' spin boxes.
  EXPECT_EQ(findings[1].colour, ColourId::spinBoxTextColor);
  EXPECT_EQ(FormatScreens(findings[1].screens), "12");
  EXPECT_EQ(findings[1].rect, (CanvasRect{176, 387, 10, 7}));
}

struct Fault {
  const char* name;
  std::function<void(skin::SkinDocument&)> make;
  CheckCode code;
  Severity severity;
  const char* screens;
  std::optional<ColourId> colour;
  std::optional<SlotId> slot;
  std::optional<SectionId> section;
  std::optional<FieldId> field;
  const char* message_key;
};

class OneFault : public testing::TestWithParam<Fault> {};

// Each fault adds exactly one finding to the default skin's, of its code, about what it changed.
TEST_P(OneFault, IsFoundOnce) {
  const Fault& fault = GetParam();
  const std::vector<Finding> before = CheckSkin(DefaultSkin());
  skin::SkinDocument doc = DefaultSkin();
  fault.make(doc);
  std::vector<Finding> added;
  for (const Finding& f : CheckSkin(doc)) {
    if (std::find(before.begin(), before.end(), f) == before.end()) added.push_back(f);
  }
  std::string all;
  for (const Finding& f : added) all += Describe(f) + "\n";
  ASSERT_EQ(added.size(), 1u) << all;
  const Finding& f = added[0];
  EXPECT_EQ(f.code, fault.code) << Describe(f);
  EXPECT_EQ(f.severity, fault.severity) << Describe(f);
  EXPECT_EQ(FormatScreens(f.screens), fault.screens) << Describe(f);
  EXPECT_EQ(f.colour, fault.colour);
  EXPECT_EQ(f.slot, fault.slot);
  EXPECT_EQ(f.section, fault.section);
  EXPECT_EQ(f.field, fault.field);
  EXPECT_EQ(f.message_key, fault.message_key);
  // The place lies on one screen of the canvas, or is empty for a value with nothing to show.
  const bool top = f.rect.y >= 5 && f.rect.y + f.rect.height <= 5 + 192;
  const bool bottom = f.rect.y >= 293 && f.rect.y + f.rect.height <= 293 + 192;
  EXPECT_TRUE(f.rect == CanvasRect{} ||
              ((top || bottom) && f.rect.x >= 5 && f.rect.x + f.rect.width <= 5 + 256))
      << f.rect.x << "," << f.rect.y << " " << f.rect.width << "x" << f.rect.height;
}

INSTANTIATE_TEST_SUITE_P(
    SkinCheck, OneFault,
    testing::Values(
        // The dialog and help texts on their own body colour.
        Fault{
            "text_on_its_ground",
            [](auto& d) { d.Colour(ColourId::formTextColor) = d.Colour(ColourId::formBodyColor); },
            CheckCode::kLegibility, Severity::kError, "3, 5, 7, 11", ColourId::formTextColor,
            std::nullopt, std::nullopt, std::nullopt, "LANG_CHECK_LEGIBILITY$"},
        // Deep blue on green: 7.2:1 at the later models' levels, 2.5:1 on the original model's
        // screen, which pales the blue and darkens the green.
        Fault{"legible_on_later_models_only",
              [](auto& d) {
                d.Colour(ColourId::formBodyColor) = imaging::MakeRgb(96, 240, 0);
                d.Colour(ColourId::formTextColor) = imaging::MakeRgb(0, 0, 216);
              },
              CheckCode::kLegibility, Severity::kWarning, "3, 5, 7, 11", ColourId::formTextColor,
              std::nullopt, std::nullopt, std::nullopt, "LANG_CHECK_LEGIBILITY_ORIGINAL$"},
        Fault{"highlight_like_normal",
              [](auto& d) {
                d.Colour(ColourId::vTextHighLightColor) = d.Colour(ColourId::vTextColor);
              },
              CheckCode::kIndistinctHighlight, Severity::kWarning, "0, 2-12",
              ColourId::vTextHighLightColor, std::nullopt, std::nullopt, std::nullopt,
              "LANG_CHECK_HIGHLIGHT$"},
        Fault{"short_background",
              [](auto& d) {
                d.SetSlot(SlotId::upper_screen, Resized(SlotId::upper_screen, 256, 180));
              },
              CheckCode::kPictureSize, Severity::kWarning, "0-13", std::nullopt,
              SlotId::upper_screen, std::nullopt, std::nullopt, "LANG_CHECK_SIZE_UNDRAWN$"},
        Fault{"tall_background",
              [](auto& d) { d.SetSlot(SlotId::cheatbg, Resized(SlotId::cheatbg, 256, 200)); },
              CheckCode::kPictureSize, Severity::kWarning, "13", std::nullopt, SlotId::cheatbg,
              std::nullopt, std::nullopt, "LANG_CHECK_SIZE_CUT$"},
        Fault{"no_picture", [](auto& d) { d.SetSlot(SlotId::cheat_clearall, imaging::Image()); },
              CheckCode::kEmptyPicture, Severity::kError, "13", std::nullopt,
              SlotId::cheat_clearall, std::nullopt, std::nullopt, "LANG_CHECK_EMPTY$"},
        Fault{"green_without_key",
              [](auto& d) {
                imaging::Image picture = skin::BuiltInSlotPicture(SlotId::brightness);
                picture.At(3, 4) = imaging::MakeRgb(0, 255, 0);
                picture.At(5, 6) = imaging::MakeRgb(0, 248, 0);
                d.SetSlot(SlotId::brightness, picture);
              },
              CheckCode::kKeyColour, Severity::kWarning, "0-12", std::nullopt, SlotId::brightness,
              std::nullopt, std::nullopt, "LANG_CHECK_KEY_COLOUR$"},
        // In range, but the sub-menu stands 107 pixels right of it.
        Fault{"sub_menu_beyond_the_edge",
              [](auto& d) { d.Field(FieldId::file_handle_menu_x) = 255; }, CheckCode::kOffScreen,
              Severity::kError, "2", std::nullopt, std::nullopt, SectionId::file_handle_menu,
              std::nullopt, "LANG_CHECK_OFF_SCREEN$"},
        // Hidden, so nothing else changes.
        Fault{"value_beyond_the_spin", [](auto& d) { d.Field(FieldId::folder_text_x) = 1000; },
              CheckCode::kOutOfRange, Severity::kWarning, "0", std::nullopt, std::nullopt,
              SectionId::folder_text, FieldId::folder_text_x, "LANG_CHECK_OUT_OF_RANGE$"}),
    [](const testing::TestParamInfo<Fault>& info) { return info.param.name; });

TEST(SkinCheck, MessagesCarryWhatTheyName) {
  skin::SkinDocument doc = DefaultSkin();
  doc.Field(FieldId::folder_text_x) = -7;
  doc.SetSlot(SlotId::upper_screen, Resized(SlotId::upper_screen, 256, 180));
  std::vector<std::vector<std::string>> args;
  for (const Finding& f : CheckSkin(doc)) args.push_back(MessageArgs(f, 0));
  EXPECT_NE(std::find(args.begin(), args.end(),
                      std::vector<std::string>{"x", "folder text", "-7", "0", "255"}),
            args.end());
  EXPECT_NE(std::find(args.begin(), args.end(),
                      std::vector<std::string>{"upper_screen", "256 x 180", "256 x 192"}),
            args.end());
}

// Every field at the ends of the 32-bit range: the check ends, reports each value the editor
// cannot show, and keeps its places on the canvas.
TEST(SkinCheck, ExtremeNumbersGiveBoundedFindings) {
  for (const std::int32_t value : {INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1}) {
    skin::SkinDocument doc = DefaultSkin();
    for (std::size_t i = 0; i < skin::kFieldCount; ++i) {
      if (skin::kFields[i].kind == skin::FieldKind::kInteger) doc.fields[i] = value;
    }
    const std::vector<Finding> findings = CheckSkin(doc);
    const auto out_of_range = std::count_if(findings.begin(), findings.end(), [](const auto& f) {
      return f.code == CheckCode::kOutOfRange;
    });
    EXPECT_EQ(out_of_range, static_cast<long>(skin::kFieldRanges.size())) << value;
    for (const Finding& f : findings) {
      EXPECT_TRUE(f.screens.any()) << Describe(f);
      EXPECT_GE(f.rect.x, 0) << Describe(f);
      EXPECT_LE(f.rect.x + f.rect.width, 266) << Describe(f);
      EXPECT_LE(f.rect.y + f.rect.height, 490) << Describe(f);
    }
  }
}

// How many pixels `section` has on the finished screens of all menu states.
int PixelsOf(const skin::SkinDocument& doc, SectionId section) {
  int count = 0;
  preview::ScreenSources sources;
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    preview::DrawScreens(doc, screen, &sources);
    for (const preview::SourceMap* map : {&sources.top, &sources.bottom}) {
      for (const preview::Source& source : map->sources) count += source.placed_by() == section;
    }
  }
  return count;
}

const Finding* FindingOf(const std::vector<Finding>& findings, CheckCode code, SectionId section) {
  const auto found = std::find_if(findings.begin(), findings.end(), [&](const Finding& f) {
    return f.code == code && f.section == section;
  });
  return found == findings.end() ? nullptr : &*found;
}

struct Lost {
  const char* name;
  FieldId field;
  std::int32_t value;
  const char* message_key;
  std::function<std::vector<FieldValue>()> fixed;  // what the quick fix sets
};

class LostElement : public testing::TestWithParam<Lost> {};

// An element that the screens draw without one visible pixel is an error whatever its box, and
// its quick fix brings it back drawn whole, at the nearest such place.
TEST_P(LostElement, IsFoundAndComesBackWhole) {
  const Lost& lost = GetParam();
  const SectionId section = skin::Info(lost.field).section;
  skin::SkinDocument doc = DefaultSkin();
  const int whole = PixelsOf(doc, section);
  ASSERT_GT(whole, 0);
  doc.Field(lost.field) = lost.value;
  ASSERT_EQ(PixelsOf(doc, section), 0);
  const std::vector<Finding> findings = CheckSkin(doc);
  const Finding* f = FindingOf(findings, CheckCode::kOffScreen, section);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->severity, Severity::kError);
  EXPECT_EQ(f->message_key, lost.message_key);
  EXPECT_EQ(f->fix, FixKind::kWholePlace);
  const std::optional<QuickFix> fix = QuickFixOf(doc, *f);
  ASSERT_TRUE(fix);
  EXPECT_EQ(fix->fields, lost.fixed());
  EXPECT_EQ(fix->moves, section);
  for (const FieldValue& v : fix->fields) doc.Field(v.field) = v.value;
  EXPECT_EQ(PixelsOf(doc, section), whole);
  EXPECT_EQ(FindingOf(CheckSkin(doc), CheckCode::kOffScreen, section), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    SkinCheck, LostElement,
    testing::Values(
        // One column of the clock's box is on the screen, but only its blank margin.
        Lost{"clock_at_the_edge", FieldId::big_clock_x, 255, "LANG_CHECK_UNSEEN$",
             [] {
               return std::vector<FieldValue>{{FieldId::big_clock_x, 256 - ClockWidth()}};
             }},
        Lost{"clock_far_below", FieldId::big_clock_y, INT_MAX, "LANG_CHECK_OFF_SCREEN$",
             [] {
               return std::vector<FieldValue>{{FieldId::big_clock_y, 192 - kClockHeight}};
             }},
        Lost{"clock_far_left", FieldId::big_clock_x, INT_MIN, "LANG_CHECK_OFF_SCREEN$",
             [] {
               return std::vector<FieldValue>{{FieldId::big_clock_x, 0}};
             }}),
    [](const testing::TestParamInfo<Lost>& info) { return info.param.name; });

// A value the field cannot show is mended to the nearest one at which its element still draws
// whole; fields of no element, or of an element not drawn, take the nearest value shown.
TEST(SkinCheck, ShownValueFixKeepsTheElementWhole) {
  const auto fixed = [](FieldId field, std::int32_t value, bool hide_folder = false) {
    skin::SkinDocument doc = DefaultSkin();
    if (hide_folder) doc.Field(FieldId::folder_text_show) = 0;
    doc.Field(field) = value;
    for (const Finding& f : CheckSkin(doc)) {
      if (f.code != CheckCode::kOutOfRange || f.field != field) continue;
      EXPECT_EQ(f.fix, FixKind::kShownValue);
      const std::optional<QuickFix> fix = QuickFixOf(doc, f);
      if (!fix || fix->fields.size() != 1) return std::optional<std::int32_t>();
      return std::optional<std::int32_t>(fix->fields[0].value);
    }
    return std::optional<std::int32_t>();
  };
  EXPECT_EQ(fixed(FieldId::big_clock_x, 300), 256 - ClockWidth());
  EXPECT_EQ(fixed(FieldId::big_clock_y, -40), 0);
  EXPECT_EQ(fixed(FieldId::big_clock_show, 7), 1);
  EXPECT_EQ(fixed(FieldId::folder_text_x, 1000, true), 255) << "not drawn: the nearest shown";
}

// The screens of a message are numbered where it is shown; nothing else in it changes with them.
TEST(SkinCheck, MessageArgsNumberOnlyTheScreens) {
  skin::SkinDocument doc = DefaultSkin();
  doc.Field(FieldId::logo_info_x) = 300;
  for (const Finding& f : CheckSkin(doc)) {
    if (f.code == CheckCode::kOutOfRange) {
      EXPECT_EQ(MessageArgs(f, 1), (std::vector<std::string>{"x", "logo info", "300", "0", "255"}));
    } else if (f.section == SectionId::game_name) {
      EXPECT_EQ(MessageArgs(f, 0)[1], "1");
      EXPECT_EQ(MessageArgs(f, 1)[1], "2");
    }
  }
}

TEST(SkinCheck, NearestShownValueClampsToTheSpin) {
  EXPECT_EQ(skin::NearestShownValue(FieldId::start_menu_y, INT_MAX), 191);
  EXPECT_EQ(skin::NearestShownValue(FieldId::start_menu_x, INT_MIN), 0);
  EXPECT_EQ(skin::NearestShownValue(FieldId::file_name_show, 7), 1);
  EXPECT_EQ(skin::NearestShownValue(FieldId::file_name_w, 100), 100);
  EXPECT_EQ(skin::NearestShownValue(FieldId::start_menu_itemHeight, -5), -5) << "no gadget";
}

// On a ground of one colour the legible colours are those with 4.5:1 against it on both screen
// models; the quick fix
// takes the nearest of them in OKLab, and the check then finds the text legible.
TEST(SkinCheck, NearestLegibleColourIsTheNearestThatReachesTheGoal) {
  for (const imaging::Rgb ground :
       {imaging::MakeRgb(24, 24, 24), imaging::MakeRgb(120, 120, 120),
        imaging::MakeRgb(248, 248, 248), imaging::MakeRgb(0, 64, 160)}) {
    skin::SkinDocument doc = DefaultSkin();
    doc.Colour(ColourId::formBodyColor) = ground;
    doc.Colour(ColourId::formFrameColor) = ground;
    doc.Colour(ColourId::formTextColor) = imaging::MakeRgb(128, 128, 136);
    const std::optional<imaging::Rgb> fix = NearestLegibleColour(doc, ColourId::formTextColor);
    ASSERT_TRUE(fix);
    std::pair<double, imaging::Rgb> best{1e9, 0};
    for (int v = 0; v < 32768; ++v) {
      const imaging::Rgb c =
          imaging::MakeRgb((v & 31) << 3, ((v >> 5) & 31) << 3, ((v >> 10) & 31) << 3);
      if (ScreenContrast(c, ground) < kLegibleContrast) continue;
      best = std::min(best, {OklabDistance(c, doc.Colour(ColourId::formTextColor)), c});
    }
    EXPECT_EQ(*fix, best.second) << std::hex << ground;
    doc.Colour(ColourId::formTextColor) = *fix;
    for (const Finding& f : CheckSkin(doc)) EXPECT_NE(f.colour, ColourId::formTextColor);
  }
}

TEST(SkinCheck, NearestLegibleColourKeepsALegibleColourAndKnowsWhenThereIsNone) {
  skin::SkinDocument doc = DefaultSkin();
  EXPECT_EQ(NearestLegibleColour(doc, ColourId::formTextColor),
            doc.Colour(ColourId::formTextColor));
  EXPECT_EQ(NearestLegibleColour(doc, ColourId::popMenuBodyColor), std::nullopt) << "not drawn";
  // Against black a text needs a luminance of 0.175 or more, against mid grey one of 0.009 or
  // less: no colour reads on both.
  doc.SetSlot(SlotId::cheatbg, [] {
    imaging::Image stripes(256, 192);
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 256; ++x) stripes.At(x, y) = x % 2 ? 0x808080 : 0;
    return stripes;
  }());
  EXPECT_EQ(NearestLegibleColour(doc, ColourId::cheatListTextColor), std::nullopt);
  // White reaches 5.7:1 on this blue at the later models' levels, but the original model's screen
  // pales the blue: there neither white nor black reaches 4.5:1.
  doc.Colour(ColourId::formBodyColor) = doc.Colour(ColourId::formFrameColor) =
      imaging::MakeRgb(0, 96, 200);
  EXPECT_EQ(NearestLegibleColour(doc, ColourId::formTextColor), std::nullopt);
}

TEST(SkinCheck, ContrastAndScreenListsFollowTheirDefinitions) {
  EXPECT_DOUBLE_EQ(ContrastRatio(0xFFFFFF, 0), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(0x808080, 0x808080), 1.0);
  EXPECT_NEAR(ContrastRatio(imaging::MakeRgb(118, 118, 118), 0xFFFFFF), 4.54, 0.01);
  std::bitset<14> screens;
  for (int s : {0, 2, 3, 4, 6, 7, 13}) screens.set(s);
  EXPECT_EQ(FormatScreens(screens), "0, 2-4, 6, 7, 13");
}

}  // namespace
}  // namespace session

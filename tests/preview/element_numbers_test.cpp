// Element numbers at the ends of the 32-bit range. Whatever a uisettings.ini holds, every screen
// draws, clipped, in time bounded by the screen; a number far off the screen draws exactly what any
// other number as far off draws, which fails when a sum wraps around to the other side.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <optional>
#include <string_view>

#include "preview/preview.h"

namespace preview {
namespace {

struct Extreme {
  std::int32_t value;
  std::int32_t same_as;  // a number whose drawing must come out identical
};

constexpr Extreme kExtremes[] = {{INT_MAX, 1000000}, {INT_MIN, -1000000}, {-100000000, -1000000}};

bool IsFlag(const skin::FieldInfo& field) {
  return field.name == "show" || field.name == "titleshow";
}

const skin::SkinDocument& DefaultSkin() {
  static const skin::SkinDocument doc = [] {
    skin::SkinDocument d;
    skin::ResetSkinDefaults(d);
    return d;
  }();
  return doc;
}

// The default skin with the integer fields of `section` (of every section when nullopt) set to
// `value`; with `keep_flags` the show flags stay as they are, so that the elements are drawn.
skin::SkinDocument WithNumbers(std::optional<skin::SectionId> section, std::int32_t value,
                               bool keep_flags) {
  skin::SkinDocument doc = DefaultSkin();
  for (std::size_t f = 0; f < skin::kFieldCount; ++f) {
    const skin::FieldInfo& field = skin::kFields[f];
    if (field.kind != skin::FieldKind::kInteger) continue;
    if (section && field.section != *section) continue;
    if (keep_flags && IsFlag(field)) continue;
    doc.fields[f] = value;
  }
  return doc;
}

bool HasFlags(skin::SectionId section) {
  for (const skin::FieldInfo& field : skin::kFields) {
    if (field.section == section && IsFlag(field)) return true;
  }
  return false;
}

void ExpectSameScreens(const skin::SkinDocument& a, const skin::SkinDocument& b,
                       const std::string& what) {
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const ScreenPair pa = DrawScreens(a, screen);
    const ScreenPair pb = DrawScreens(b, screen);
    EXPECT_TRUE(pa.top == pb.top && pa.bottom == pb.bottom) << what << ", screen " << screen;
  }
}

class SectionAtTheEnds : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SectionAtTheEnds, DrawsLikeAnyFarNumber) {
  const auto section = static_cast<skin::SectionId>(GetParam());
  for (const Extreme& e : kExtremes) {
    for (bool keep_flags : {true, false}) {
      if (!keep_flags && !HasFlags(section)) continue;
      ExpectSameScreens(WithNumbers(section, e.value, keep_flags),
                        WithNumbers(section, e.same_as, keep_flags),
                        std::to_string(e.value) + (keep_flags ? "" : " with the flags"));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ElementNumbers, SectionAtTheEnds,
                         ::testing::Range<std::size_t>(0, skin::kSectionCount),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           std::string name(skin::kSections[info.param].name);
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(ElementNumbers, EveryFieldAtOnce) {
  for (const Extreme& e : kExtremes) {
    ExpectSameScreens(WithNumbers(std::nullopt, e.value, true),
                      WithNumbers(std::nullopt, e.same_as, true),
                      "every field = " + std::to_string(e.value));
  }
}

// The help window's title bar repeats its middle picture across the window's width: a width of
// INT_MAX still gives a title bar across the whole screen, drawn in screen-bounded time.
TEST(ElementNumbers, HugeHelpWindowFillsTheScreen) {
  skin::SkinDocument doc = DefaultSkin();
  doc.SetSlot(skin::SlotId::title_bg, imaging::Image(1, 12, imaging::MakeRgb(8, 16, 24)));
  doc.Field(skin::FieldId::help_window_w) = INT_MAX;
  doc.Field(skin::FieldId::help_window_h) = 192;
  const imaging::Image bottom = DrawScreens(doc, 11).bottom;
  for (int x = 0; x < kScreenWidth; ++x) EXPECT_EQ(bottom.At(x, 0), imaging::MakeRgb(8, 16, 24));
}

}  // namespace
}  // namespace preview

// The default skin and the tables it is built from.
#include "skin/skin_document.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skin/skin_colour.h"

namespace skin {
namespace {

TEST(SkinTables, NamesAreUniqueWhereTheFileNeedsThem) {
  std::set<std::string_view> keys;
  for (const ColourInfo& c : kColours) EXPECT_TRUE(keys.insert(c.key).second) << c.key;
  std::set<std::pair<SectionId, std::string_view>> fields;
  for (const FieldInfo& f : kFields) EXPECT_TRUE(fields.insert({f.section, f.name}).second);
  std::set<std::string_view> files;
  for (const SlotInfo& s : kSlots) EXPECT_TRUE(files.insert(s.file).second) << s.file;
  EXPECT_EQ(Info(SlotId::cheat).BaseName(), "cheat");
  EXPECT_EQ(Info(SlotId::btn3).BaseName(), "btn3");
  EXPECT_EQ(Info(FieldId::start_button_textColor).kind, FieldKind::kColour);
  EXPECT_EQ(Info(SectionId::clsoe_btn).name, "clsoe btn");
}

TEST(ResetSkinDefaults, PutsEveryPartIntoItsDefault) {
  SkinDocument doc;
  doc.info.Title = "old";
  doc.fields.fill(-7);
  doc.colours.fill(0);
  ResetSkinDefaults(doc);
  EXPECT_EQ(doc.info, SkinInfo());
  EXPECT_EQ(doc.Colour(ColourId::formFrameColor), imaging::MakeRgb(96, 0, 48));
  EXPECT_EQ(doc.Colour(ColourId::popMenuTextHighLightColor), imaging::MakeRgb(64, 208, 224));
  EXPECT_EQ(doc.Colour(ColourId::romInfoTextColor), imaging::MakeRgb(248, 168, 104));
  EXPECT_EQ(doc.FieldColour(FieldId::start_button_textColor), imaging::MakeRgb(248, 248, 248));
  EXPECT_EQ(doc.FieldColour(FieldId::main_list_selectionBarColor1), ParseSkinColour("0x5c00"));
  EXPECT_EQ(doc.Field(FieldId::start_menu_itemHeight), 17);
  EXPECT_EQ(doc.Field(FieldId::Language_menu_h), 155);
  for (FieldId hidden : {FieldId::calendar_year_show, FieldId::calendar_month_show,
                         FieldId::calendar_day_show, FieldId::folder_text_show}) {
    EXPECT_EQ(doc.Field(hidden), 0);
  }
}

struct SlotSize {
  SlotId slot;
  int width, height;
};

TEST(ResetSkinDefaults, EverySlotHoldsItsBuiltInPictureInFifteenBitColour) {
  SkinDocument doc;
  ResetSkinDefaults(doc);
  const SlotSize kSizes[] = {{SlotId::active, 6, 6},
                             {SlotId::clock_numbers, 24, 310},
                             {SlotId::cheatselectbar, 203, 1},
                             {SlotId::popsubbar, 1, 12},
                             {SlotId::upper_screen, 256, 192},
                             {SlotId::dpg, 33, 32},
                             {SlotId::unk, 8, 14},
                             {SlotId::form_M, 3, 116},
                             {SlotId::hotkeybk, 198, 127},
                             {SlotId::realtime, 17, 14}};
  for (const SlotSize& s : kSizes) {
    EXPECT_EQ(doc.Slot(s.slot).width, s.width) << Info(s.slot).file;
    EXPECT_EQ(doc.Slot(s.slot).height, s.height) << Info(s.slot).file;
  }
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    ASSERT_FALSE(doc.slots[i]->Empty()) << kSlots[i].file;
    // The table's expected size is the built-in picture's.
    EXPECT_EQ(doc.slots[i]->width, kSlots[i].expected_width) << kSlots[i].file;
    EXPECT_EQ(doc.slots[i]->height, kSlots[i].expected_height) << kSlots[i].file;
    for (imaging::Rgb p : doc.slots[i]->pixels) ASSERT_EQ(p & ~0xF8F8F8u, 0u) << kSlots[i].file;
  }
  EXPECT_EQ(doc.sample_game_icon->width, 32);
  EXPECT_EQ(doc.sample_game_icon->height, 32);
  EXPECT_EQ(BuiltInPicture("hinge").width, 266);
  EXPECT_EQ(BuiltInPicture("hinge").height, 86);
  EXPECT_EQ(BuiltInPicture("banner").width, 468);
  EXPECT_EQ(BuiltInPicture("banner").height, 60);
}

}  // namespace
}  // namespace skin

// The import plan: when a picture is taken as it is and which settings the studio opens with.
#include "session/import_plan.h"

#include <gtest/gtest.h>

namespace session {
namespace {

using imaging::FitMode;
using skin::SlotId;
using Intent = ImportIntent;

struct PlanCase {
  const char* name;
  SlotId slot;
  int slot_width, slot_height;  // the slot's picture; 0 x 0 for none
  int source_width, source_height;
  std::optional<imaging::FitSettings> recipe;
  Intent intent;
  bool studio;
  int width, height;  // the plan's target
  FitMode mode;
  imaging::Rgb fill;
};

imaging::FitSettings Recipe(int width, int height, FitMode mode) {
  imaging::FitSettings settings;
  settings.width = width;
  settings.height = height;
  settings.mode = mode;
  settings.fill = 0x123456;
  return settings;
}

constexpr imaging::Rgb kKey = imaging::kKeyColour;

const PlanCase kPlans[] = {
    // A new picture of the size it is aimed at is kept; any other opens the studio on cover.
    {"same size as the slot's",
     SlotId::nds,
     32,
     32,
     32,
     32,
     {},
     Intent::kNewPicture,
     false,
     0,
     0,
     FitMode::kKeep,
     kKey},
    {"other size",
     SlotId::nds,
     32,
     32,
     64,
     32,
     {},
     Intent::kNewPicture,
     true,
     32,
     32,
     FitMode::kCover,
     kKey},
    {"aimed at the slot's own size",
     SlotId::nds,
     40,
     20,
     40,
     20,
     {},
     Intent::kNewPicture,
     false,
     0,
     0,
     FitMode::kKeep,
     kKey},
    {"empty slot: its expected size",
     SlotId::btn,
     0,
     0,
     47,
     14,
     {},
     Intent::kNewPicture,
     false,
     0,
     0,
     FitMode::kKeep,
     kKey},
    {"empty slot, other size",
     SlotId::btn,
     0,
     0,
     40,
     14,
     {},
     Intent::kNewPicture,
     true,
     47,
     14,
     FitMode::kCover,
     kKey},
    {"unkeyed slot fills black",
     SlotId::upper_screen,
     256,
     192,
     100,
     100,
     {},
     Intent::kNewPicture,
     true,
     256,
     192,
     FitMode::kCover,
     0},
    {"a recipe does not steer a new picture", SlotId::nds, 32, 32, 64, 64,
     Recipe(10, 10, FitMode::kStretch), Intent::kNewPicture, true, 32, 32, FitMode::kCover, kKey},
    // Adjust import always opens the studio.
    {"adjust without recipe",
     SlotId::nds,
     32,
     32,
     32,
     32,
     {},
     Intent::kAdjust,
     true,
     32,
     32,
     FitMode::kCover,
     kKey},
    {"adjust with recipe", SlotId::nds, 32, 32, 90, 60, Recipe(20, 10, FitMode::kContain),
     Intent::kAdjust, true, 20, 10, FitMode::kContain, 0x123456},
    {"kept picture aimed at its own size", SlotId::nds, 32, 32, 90, 60,
     Recipe(0, 0, FitMode::kKeep), Intent::kAdjust, true, 90, 60, FitMode::kKeep, 0x123456},
    {"to expected covers a kept picture", SlotId::nds, 50, 50, 90, 60, Recipe(0, 0, FitMode::kKeep),
     Intent::kAdjustToExpected, true, 32, 32, FitMode::kCover, 0x123456},
    {"to expected keeps another mode", SlotId::btn, 50, 50, 90, 60,
     Recipe(20, 10, FitMode::kStretch), Intent::kAdjustToExpected, true, 47, 14, FitMode::kStretch,
     0x123456},
    {"to expected without recipe",
     SlotId::upper_screen,
     100,
     80,
     100,
     80,
     {},
     Intent::kAdjustToExpected,
     true,
     256,
     192,
     FitMode::kCover,
     0},
};

TEST(ImportPlan, Table) {
  for (const PlanCase& c : kPlans) {
    skin::SkinDocument doc;
    if (c.slot_width > 0) doc.SetSlot(c.slot, imaging::Image(c.slot_width, c.slot_height));
    const std::optional<ImportRecipe> recipe =
        c.recipe ? std::optional<ImportRecipe>(ImportRecipe{"a.png", *c.recipe}) : std::nullopt;
    const ImportPlan plan = PlanImport(doc, c.slot, c.source_width, c.source_height,
                                       recipe ? &*recipe : nullptr, c.intent);
    EXPECT_EQ(plan.open_studio, c.studio) << c.name;
    EXPECT_EQ(plan.settings.width, c.width) << c.name;
    EXPECT_EQ(plan.settings.height, c.height) << c.name;
    EXPECT_EQ(plan.settings.mode, c.mode) << c.name;
    EXPECT_EQ(plan.settings.fill, c.fill) << c.name;
    // A picture taken at once is taken as importing always has taken one.
    if (!plan.open_studio) {
      EXPECT_EQ(plan.settings, imaging::KeptAsItIs()) << c.name;
    }
  }
}

// Whatever the recipe holds, the rest of its settings reach the studio untouched.
TEST(ImportPlan, AdjustKeepsTheRecipesFraming) {
  imaging::FitSettings made = Recipe(20, 10, FitMode::kCover);
  made.focus_x = 0.25;
  made.zoom = 3;
  made.dither = imaging::DitherKind::kOrdered;
  made.key = imaging::ColourKey{0x102030, 0.1, true, 0.25, 0.75};
  skin::SkinDocument doc;
  const ImportRecipe recipe{"a.png", made};
  EXPECT_EQ(PlanImport(doc, SlotId::nds, 64, 64, &recipe, Intent::kAdjust).settings, made);
}

}  // namespace
}  // namespace session

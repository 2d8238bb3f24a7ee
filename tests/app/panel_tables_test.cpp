// The panel's tables as rules: which image buttons take a dropped picture or open their menu.
#include "app/panel_tables.h"

#include <gtest/gtest.h>

#include "preview/preview.h"

namespace app {
namespace {

// Each image button takes drops on its own screen's panel only; no other gadget ever does.
TEST(PanelTables, OnlyTheShownScreensImageButtonsTakeASlot) {
  for (int screen = -1; screen <= preview::kScreenCount; ++screen) {
    for (const ImageButton& b : ImageButtons()) {
      EXPECT_EQ(SlotOfButtonOn(b.gadget, screen),
                b.screen == screen ? std::optional(b.slot) : std::nullopt)
          << b.gadget << " on " << screen;
    }
    for (const int other :
         {0, -1, 1 << 30, ColourButtons()[0].gadget, GadgetOf(skin::FieldId::start_button_x)}) {
      EXPECT_EQ(SlotOfButtonOn(other, screen), std::nullopt) << other << " on " << screen;
    }
  }
  EXPECT_EQ(SlotOfButtonOn(GadgetOf(skin::SlotId::btn3), 3), skin::SlotId::btn3);
  EXPECT_EQ(SlotOfButtonOn(GadgetOf(skin::SlotId::upper_screen), 3), std::nullopt);
}

}  // namespace
}  // namespace app

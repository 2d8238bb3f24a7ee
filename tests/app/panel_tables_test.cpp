// The panel's tables as rules: which image buttons take a dropped picture or open their menu.
#include "app/panel_tables.h"

#include <gtest/gtest.h>

#include "preview/preview.h"

namespace app {
namespace {

// Each image button takes drops on its own screen's panel only.
TEST(PanelTables, OnlyTheShownScreensImageButtonsTakeASlot) {
  for (int screen = -1; screen <= preview::kScreenCount; ++screen) {
    for (const ImageButton& b : ImageButtons()) {
      EXPECT_EQ(SlotButtonOn(b.slot, screen), b.screen == screen) << b.gadget << " on " << screen;
    }
  }
  EXPECT_TRUE(SlotButtonOn(skin::SlotId::btn3, 3));
  EXPECT_FALSE(SlotButtonOn(skin::SlotId::upper_screen, 3));
}

}  // namespace
}  // namespace app

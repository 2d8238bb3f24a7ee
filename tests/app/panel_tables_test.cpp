// The panel's tables as rules: which image buttons take a dropped picture or open their menu, and
// how the buttons and rows use the room the panel gets.
#include "app/panel_tables.h"

#include <gtest/gtest.h>

#include <QColor>
#include <set>
#include <string>

#include "app/side_panel.h"
#include "imaging/limits.h"
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

// The screens of a tab's buttons or rows, in the table's order.
template <typename Entry>
std::vector<int> ScreensOf(std::span<const Entry> entries) {
  std::vector<int> screens;
  for (const Entry& e : entries) screens.push_back(e.screen);
  return screens;
}

// The runs of one screen: where each starts.
std::vector<std::size_t> RunStarts(const std::vector<int>& screens) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < screens.size(); ++i) {
    if (i == 0 || screens[i] != screens[i - 1]) starts.push_back(i);
  }
  return starts;
}

bool Overlap(const PanelRect& a, const PanelRect& b) {
  return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

const PanelFont kFont{17, 21, 100, 150};

// In a page of the window's first height the buttons keep the fixed grid; at the panel's narrowest
// width it is the tables' grid itself, 128 x 20.
TEST(PanelLayout, AShortPageKeepsTheFixedGrid) {
  for (const int height : {0, 490, kRoomyPageHeight - 1}) {
    for (const ButtonTab tab : {ButtonTab::kColours, ButtonTab::kImages}) {
      const ButtonLayout at_384 = LayOutButtons(tab, 384, height, kFont);
      EXPECT_FALSE(at_384.roomy);
      EXPECT_TRUE(at_384.headings.empty());
      std::vector<PanelRect> grid;
      if (tab == ButtonTab::kColours) {
        for (const ColourButton& b : ColourButtons()) grid.push_back({b.x, b.y, 128, 20});
      } else {
        for (const ImageButton& b : ImageButtons()) grid.push_back({b.x, b.y, 128, 20});
      }
      EXPECT_EQ(at_384.buttons, grid);
      EXPECT_EQ(at_384.height, tab == ButtonTab::kColours ? 240 : 420);
      // Wider, the three columns share the width.
      const ButtonLayout at_600 = LayOutButtons(tab, 600, height, kFont);
      for (std::size_t i = 0; i < grid.size(); ++i) {
        EXPECT_EQ(at_600.buttons[i], (PanelRect{grid[i].x / 128 * 200, grid[i].y, 200, 20}));
      }
    }
    const RowLayout rows = LayOutElementRows(height - 16, kFont);
    EXPECT_TRUE(rows.headings.empty());
    for (std::size_t r = 0; r < rows.tops.size(); ++r) EXPECT_EQ(rows.tops[r], 20 * int(r) + 5);
  }
}

// With room to spare: the tables' order, a heading above each screen's run, nothing overlapping
// or outside the page, tiles that grow with the page, and a page that is used, not two thirds
// empty. The sizes: a narrow tall panel, windows maximised on 1366 x 768 and 1920 x 1080, wider.
TEST(PanelLayout, ARoomyPageShowsEachScreensButtonsInOrderBelowTheirHeading) {
  const std::pair<int, int> pages[] = {{384, 700}, {552, 640},  {552, 960},
                                       {760, 960}, {1000, 990}, {552, 2400}};
  for (const ButtonTab tab : {ButtonTab::kColours, ButtonTab::kImages}) {
    const std::vector<int> screens =
        tab == ButtonTab::kColours ? ScreensOf(ColourButtons()) : ScreensOf(ImageButtons());
    const std::vector<std::size_t> starts = RunStarts(screens);
    ButtonLayout before;
    int before_width = 0;
    for (const auto& [width, height] : pages) {
      const ButtonLayout l = LayOutButtons(tab, width, height, kFont);
      const std::string at = (tab == ButtonTab::kColours ? "colours " : "images ") +
                             std::to_string(width) + "x" + std::to_string(height);
      ASSERT_TRUE(l.roomy) << at;
      ASSERT_EQ(l.buttons.size(), screens.size()) << at;
      ASSERT_EQ(l.headings.size(), starts.size()) << at;
      EXPECT_GE(l.icon_height, tab == ButtonTab::kColours ? 20 : 48) << at;
      EXPECT_GE(l.buttons[0].height, l.lines * kFont.line) << at;  // room for every line
      for (std::size_t i = 0; i < l.buttons.size(); ++i) {
        const PanelRect& b = l.buttons[i];
        EXPECT_TRUE(b.x >= 0 && b.right() <= width && b.y >= 0 && b.bottom() <= l.height) << at;
        EXPECT_GE(b.height, l.icon_height) << at;
        EXPECT_GE(b.width, l.icon_width + kFont.caption) << at;
        // Beyond three columns, only where every caption shows whole (kFont.widest).
        if (l.columns > 3) {
          EXPECT_GE(b.width, l.icon_width + kFont.widest + 3 * kButtonPad) << at;
        }
        // Read left to right, top to bottom: the tables' order.
        if (i > 0) {
          const PanelRect& a = l.buttons[i - 1];
          EXPECT_TRUE(b.y > a.y || (b.y == a.y && b.x > a.x)) << at << " " << i;
        }
        for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(b, l.buttons[j])) << at;
      }
      for (std::size_t r = 0; r < starts.size(); ++r) {
        const PanelRect& h = l.headings[r].place;
        EXPECT_EQ(l.headings[r].screen, screens[starts[r]]) << at;
        EXPECT_LE(h.bottom(), l.buttons[starts[r]].y) << at;
        if (r > 0) {
          EXPECT_GE(h.y, l.buttons[starts[r] - 1].bottom()) << at;
        }
        EXPECT_LE(h.right(), width) << at;
      }
      // The page is used: it scrolls, or its content fills more than half of it (tiles stop
      // growing in a page far taller than a screen).
      if (height <= 1080) {
        EXPECT_GT(l.height * 2, height) << at << ": " << l.height;
      }
      // A taller page of the same width never has smaller tiles; a wider one never fewer columns.
      if (before.roomy && width == before_width) {
        EXPECT_GE(l.icon_height, before.icon_height) << at;
      }
      if (before.roomy && width >= before_width) {
        EXPECT_GE(l.columns, before.columns) << at;
      }
      before = l;
      before_width = width;
    }
  }
}

TEST(PanelLayout, TallRowsBelowEachScreensHeadingWhereThePageHoldsThem) {
  const std::vector<int> screens = ScreensOf(ElementRows());
  const std::vector<std::size_t> starts = RunStarts(screens);
  int row_height = 0;
  for (const int height : {760, 944, 1200}) {
    const RowLayout rows = LayOutElementRows(height, kFont);
    ASSERT_EQ(rows.headings.size(), starts.size()) << height;
    EXPECT_LE(rows.height, height);
    EXPECT_GE(rows.row_height, std::max(20, row_height)) << height;
    row_height = rows.row_height;
    for (std::size_t i = 1; i < rows.tops.size(); ++i) {
      EXPECT_GE(rows.tops[i], rows.tops[i - 1] + rows.row_height) << height << " row " << i;
    }
    for (std::size_t r = 0; r < starts.size(); ++r) {
      EXPECT_EQ(rows.headings[r].screen, screens[starts[r]]);
      EXPECT_LE(rows.headings[r].place.bottom(), rows.tops[starts[r]]);
      if (r > 0) {
        EXPECT_GE(rows.headings[r].place.y, rows.tops[starts[r] - 1] + rows.row_height);
      }
    }
  }
  EXPECT_GT(row_height, 20);
  // A page that holds no headings, as in a window maximised on a 1366 x 768 screen, still grows
  // its rows, each screen's apart from the next.
  const RowLayout rows = LayOutElementRows(640, kFont);
  EXPECT_TRUE(rows.headings.empty());
  EXPECT_GT(rows.row_height, 20);
  EXPECT_LE(rows.height, 640);
  EXPECT_GT(rows.tops[starts[1]], rows.tops[starts[1] - 1] + rows.row_height);
}

// Thumbnails: sharp whole-factor enlargements, nearest-pixel reductions, never beyond their box
// whatever the picture, the key colour as a chequerboard.
TEST(PanelThumbnails, AreSharpBoundedAndShowTheKeyAsAChequerboard) {
  imaging::Image sprite(8, 8, imaging::MakeRgb(200, 10, 10));
  for (int x = 0; x < 8; ++x) sprite.At(x, 0) = imaging::kKeyColour;
  const QImage big = PanelThumbnail(sprite, QSize(64, 48));
  ASSERT_EQ(big.size(), QSize(48, 48));  // six times
  std::set<QRgb> key_squares;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (y >= 6) {
        EXPECT_EQ(big.pixel(x, y), QColor(200, 10, 10).rgb()) << x << "," << y;
      } else {
        key_squares.insert(big.pixel(x, y));
      }
    }
  }
  EXPECT_EQ(key_squares.size(), 2u);
  EXPECT_FALSE(key_squares.count(QColor(0, 248, 0).rgb()));
  for (const auto& [w, h] : {std::pair(20000, 3), std::pair(3, 20000), std::pair(1, 1),
                             std::pair(256, 192), std::pair(257, 193)}) {
    const QImage t = PanelThumbnail(imaging::Image(w, h, imaging::MakeRgb(1, 2, 3)), {128, 96});
    EXPECT_TRUE(!t.isNull() && t.width() <= 128 && t.height() <= 96) << w << "x" << h;
  }
  EXPECT_EQ(PanelThumbnail(imaging::Image(256, 192, 0), {128, 96}).size(), QSize(128, 96));
  EXPECT_TRUE(PanelThumbnail(imaging::Image(), {128, 96}).isNull());
  imaging::Image short_of_pixels(64, 64, 0);
  short_of_pixels.pixels.resize(10);
  EXPECT_TRUE(PanelThumbnail(short_of_pixels, {128, 96}).isNull());
}

}  // namespace
}  // namespace app

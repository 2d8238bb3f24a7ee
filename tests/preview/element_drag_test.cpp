// Dragging elements: the room an element's pixels leave on their screen, a move cut to that room,
// and the values the fields take.
#include "preview/element_drag.h"

#include <gtest/gtest.h>

#include <climits>

#include "skin/field_ranges.h"

namespace preview {
namespace {

using skin::FieldId;
using skin::SectionId;

constexpr SectionId kMoved = SectionId::start_button;

// A 6 x 4 screen on which `kMoved` placed the pixels marked '#' and another section those
// marked 'o'.
SourceMap Screen(const char (&rows)[4][7]) {
  SourceMap map;
  map.width = 6;
  map.height = 4;
  for (const auto& row : rows) {
    for (int x = 0; x < map.width; ++x) {
      Source source;
      source.kind = row[x] == '.' ? SourceKind::kBackground : SourceKind::kBox;
      if (row[x] == '#') source.section = static_cast<std::uint8_t>(skin::Index(kMoved));
      if (row[x] == 'o')
        source.section = static_cast<std::uint8_t>(skin::Index(SectionId::disk_icon));
      map.sources.push_back(source);
    }
  }
  return map;
}

TEST(ElementDrag, RoomIsWhatThePixelsLeaveOnTheirScreen) {
  struct Case {
    const char* name;
    const char rows[4][7];
    std::optional<DragRoom> room;
  };
  const Case kCases[] = {
      {"inside", {"......", ".##...", "..#...", "......"}, DragRoom{-1, -1, 3, 1}},
      {"at the corners", {"#.....", "......", "......", ".....#"}, DragRoom{0, 0, 0, 0}},
      {"one pixel", {"......", "......", "......", "...#.."}, DragRoom{-3, -3, 2, 0}},
      {"others' pixels do not count",
       {"oooooo", "o#oooo", "oooooo", "oooooo"},
       DragRoom{-1, -1, 4, 2}},
      {"nothing drawn", {"oooooo", "......", "......", "......"}, std::nullopt},
  };
  for (const Case& c : kCases) {
    ScreenSources on_bottom;
    on_bottom.bottom = Screen(c.rows);
    EXPECT_EQ(DragRoomOf(on_bottom, kHingeAt.y, kMoved), c.room) << c.name;
    EXPECT_EQ(DragRoomOf(on_bottom, kHingeAt.y - 1, kMoved), std::nullopt)
        << c.name << ": above the hinge is the upper screen";
    ScreenSources on_top;
    on_top.top = on_bottom.bottom;
    EXPECT_EQ(DragRoomOf(on_top, 0, kMoved), c.room) << c.name;
  }
}

TEST(ElementDrag, MovesAreCutToTheRoom) {
  const DragRoom room{-2, -3, 4, 0};
  const std::pair<Move, Move> kMoves[] = {
      {{0, 0}, {0, 0}},
      {{1, -1}, {1, -1}},
      {{-9, -9}, {-2, -3}},
      {{9, 9}, {4, 0}},
      {{INT_MIN, INT_MAX}, {-2, 0}},
  };
  for (const auto& [move, kept] : kMoves) {
    EXPECT_EQ(room.Keep(move), kept) << move.dx << "," << move.dy;
  }
}

TEST(ElementDrag, ValuesStayInTheRangeTheirGadgetsShow) {
  struct Case {
    FieldId field;
    std::int32_t start;
    int moved;
    std::int32_t value;
  };
  const Case kCases[] = {
      {FieldId::start_button_x, 10, 5, 15},
      {FieldId::start_button_x, 3, -8, 0},
      {FieldId::start_button_x, 250, 9, 255},
      {FieldId::start_button_y, 180, 40, 191},
      {FieldId::start_button_y, 0, INT_MIN, 0},
      {FieldId::big_clock_x, INT_MAX, INT_MAX, 255},
      // A field the panel shows no gadget for keeps the sum, held to 32 bits.
      {FieldId::start_menu_itemHeight, INT_MAX, 1, INT_MAX},
      {FieldId::start_menu_itemHeight, -5, -1, -6},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(DraggedValue(c.field, c.start, c.moved), c.value)
        << skin::Info(c.field).name << " " << c.start << " + " << c.moved;
  }
}

// On the default skin, a move by the whole room brings the start button's last row of pixels to
// the bottom of the lower screen and no further; leftwards its x stops at the spin's 0 first.
TEST(ElementDrag, TheWholeRoomReachesTheEdgesOfTheScreen) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const auto room_now = [&] {
    ScreenSources sources;
    DrawScreens(doc, 0, &sources);
    return DragRoomOf(sources, kBottomScreenAt.y, kMoved);
  };
  const std::optional<DragRoom> room = room_now();
  ASSERT_TRUE(room);
  ASSERT_GT(room->down, 0);
  const Move kept = room->Keep({-100, 100});
  doc.Field(FieldId::start_button_x) =
      DraggedValue(FieldId::start_button_x, doc.Field(FieldId::start_button_x), kept.dx);
  doc.Field(FieldId::start_button_y) =
      DraggedValue(FieldId::start_button_y, doc.Field(FieldId::start_button_y), kept.dy);
  EXPECT_EQ(doc.Field(FieldId::start_button_x), 0);
  EXPECT_LT(doc.Field(FieldId::start_button_y), skin::kMaxShownY);
  const std::optional<DragRoom> after = room_now();
  ASSERT_TRUE(after);
  EXPECT_EQ(after->down, 0) << "the last row meets the bottom";
  EXPECT_LT(after->up, 0);
}

}  // namespace
}  // namespace preview

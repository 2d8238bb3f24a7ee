// Moving an element by dragging what it drew on the preview: how far it may move and which values
// its x and y fields take.
#pragma once

#include <cstdint>
#include <optional>

#include "preview/preview.h"
#include "skin/skin_tables.h"

namespace preview {

struct Move {
  int dx = 0, dy = 0;
  friend bool operator==(const Move&, const Move&) = default;
};

// The moves, in screen pixels, that keep what an element drew on one screen whole on that screen:
// from `left` and `up` (zero or less) to `right` and `down` (zero or more).
struct DragRoom {
  int left = 0, up = 0, right = 0, down = 0;

  // `move` cut to the room: the element stops at the screen's edges.
  Move Keep(Move move) const;
  friend bool operator==(const DragRoom&, const DragRoom&) = default;
};

// The room of what `section` drew on the screen at canvas row `canvas_y` (the upper screen above
// the hinge's top, else the lower one), from the record of both screens: the room left of and
// above its pixels to the room right of and below them. Toward an edge it already crosses it
// cannot move at all. None when the section drew nothing on that screen.
std::optional<DragRoom> DragRoomOf(const ScreenSources& sources, int canvas_y,
                                   skin::SectionId section);

// The value `field` takes when its element is moved by `moved` pixels along the field's axis from
// `start`: the sum (without overflow) brought to the nearest value the field's gadget shows.
std::int32_t DraggedValue(skin::FieldId field, std::int32_t start, int moved);

}  // namespace preview

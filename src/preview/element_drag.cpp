// Dragging elements on the preview.
#include "preview/element_drag.h"

#include <algorithm>
#include <limits>

#include "skin/field_ranges.h"

namespace preview {

Move DragRoom::Keep(Move move) const {
  return {std::clamp(move.dx, left, right), std::clamp(move.dy, up, down)};
}

std::optional<DragRoom> DragRoomOf(const ScreenSources& sources, int canvas_y,
                                   skin::SectionId section) {
  const SourceMap& map = canvas_y < kHingeAt.y ? sources.top : sources.bottom;
  int left = map.width, right = -1, upper = map.height, lower = -1;
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      if (map.At(x, y).placed_by() != section) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      upper = std::min(upper, y);
      lower = std::max(lower, y);
    }
  }
  if (right < 0) return std::nullopt;
  return DragRoom{-left, -upper, std::max(0, map.width - 1 - right),
                  std::max(0, map.height - 1 - lower)};
}

std::int32_t DraggedValue(skin::FieldId field, std::int32_t start, int moved) {
  using Limits = std::numeric_limits<std::int32_t>;
  const std::int64_t sum = std::int64_t{start} + moved;
  return skin::NearestShownValue(field, static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                            sum, Limits::min(), Limits::max())));
}

}  // namespace preview

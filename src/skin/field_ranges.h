// The element fields the editor shows in a gadget, with the range the gadget can show and the
// menu state (0 to 13) whose gadgets edit it. Values outside a range are kept by the document but
// cannot be shown as they are; the skin check reports them and offers the nearest value in range.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "skin/skin_tables.h"

namespace skin {

struct FieldRange {
  FieldId field;
  std::int32_t min;
  std::int32_t max;
  int screen;  // the menu state whose gadgets edit the field
};

inline constexpr std::int32_t kMaxShownX = 255;
inline constexpr std::int32_t kMaxShownY = 191;
inline constexpr std::int32_t kMaxShownW = 255;

// clang-format off
inline constexpr auto kFieldRanges = std::to_array<FieldRange>({
    {FieldId::logo_info_x, 0, kMaxShownX, 0}, {FieldId::logo_info_y, 0, kMaxShownY, 0},
    {FieldId::file_type_show, 0, 1, 0},
    {FieldId::file_type_x, 0, kMaxShownX, 0}, {FieldId::file_type_y, 0, kMaxShownY, 0},
    {FieldId::file_type_w, 0, kMaxShownW, 0},
    {FieldId::file_name_show, 0, 1, 0},
    {FieldId::file_name_x, 0, kMaxShownX, 0}, {FieldId::file_name_y, 0, kMaxShownY, 0},
    {FieldId::file_name_w, 0, kMaxShownW, 0},
    {FieldId::file_name_titleshow, 0, 1, 0},
    {FieldId::game_name_show, 0, 1, 0},
    {FieldId::game_name_x, 0, kMaxShownX, 0}, {FieldId::game_name_y, 0, kMaxShownY, 0},
    {FieldId::big_clock_show, 0, 1, 0},
    {FieldId::big_clock_x, 0, kMaxShownX, 0}, {FieldId::big_clock_y, 0, kMaxShownY, 0},
    {FieldId::folder_text_show, 0, 1, 0},
    {FieldId::folder_text_x, 0, kMaxShownX, 0}, {FieldId::folder_text_y, 0, kMaxShownY, 0},
    {FieldId::folder_text_w, 0, kMaxShownW, 0},
    {FieldId::start_bar_x, 0, kMaxShownX, 0}, {FieldId::start_bar_y, 0, kMaxShownY, 0},
    {FieldId::start_button_x, 0, kMaxShownX, 0}, {FieldId::start_button_y, 0, kMaxShownY, 0},
    {FieldId::disk_icon_x, 0, kMaxShownX, 0}, {FieldId::disk_icon_y, 0, kMaxShownY, 0},
    {FieldId::brightness_btn_x, 0, kMaxShownX, 0}, {FieldId::brightness_btn_y, 0, kMaxShownY, 0},
    {FieldId::reback_btn_x, 0, kMaxShownX, 0}, {FieldId::reback_btn_y, 0, kMaxShownY, 0},
    {FieldId::logo_offset_x, 0, kMaxShownX, 1},
    {FieldId::start_menu_x, 0, kMaxShownX, 2}, {FieldId::start_menu_y, 0, kMaxShownY, 2},
    {FieldId::file_handle_menu_x, 0, kMaxShownX, 2},
    {FieldId::file_handle_menu_y, 0, kMaxShownY, 2},
    {FieldId::UiType_menu_x, 0, kMaxShownX, 4}, {FieldId::UiType_menu_y, 0, kMaxShownY, 4},
    {FieldId::Language_menu_x, 0, kMaxShownX, 6}, {FieldId::Language_menu_y, 0, kMaxShownY, 6},
    {FieldId::Syset_menu_x, 0, kMaxShownX, 8}, {FieldId::Syset_menu_y, 0, kMaxShownY, 8},
    {FieldId::List_type_menu_x, 0, kMaxShownX, 8}, {FieldId::List_type_menu_y, 0, kMaxShownY, 8},
    {FieldId::Brightness_menu_x, 0, kMaxShownX, 9},
    {FieldId::Brightness_menu_y, 0, kMaxShownY, 9},
    {FieldId::cheat_title_x, 0, kMaxShownX, 13}, {FieldId::cheat_title_y, 0, kMaxShownY, 13},
    {FieldId::cheat_title_w, 0, kMaxShownW, 13},
    {FieldId::cheat_cancel_all_btn_x, 0, kMaxShownX, 13},
    {FieldId::cheat_cancel_all_btn_y, 0, kMaxShownY, 13},
    {FieldId::cheat_clearTitle_x, 0, kMaxShownX, 13},
    {FieldId::cheat_clearTitle_y, 0, kMaxShownY, 13},
    {FieldId::cheat_clearTitle_w, 0, kMaxShownW, 13},
    {FieldId::clsoe_btn_x, 0, kMaxShownX, 13}, {FieldId::clsoe_btn_y, 0, kMaxShownY, 13},
});
// clang-format on

// The range of the gadget that shows `field`; none for a field without a gadget.
constexpr std::optional<FieldRange> ShownRange(FieldId field) {
  for (const FieldRange& range : kFieldRanges) {
    if (range.field == field) return range;
  }
  return std::nullopt;
}

// The value nearest to `value` that the gadget of `field` can show; `value` itself for a field
// without a gadget.
constexpr std::int32_t NearestShownValue(FieldId field, std::int32_t value) {
  const std::optional<FieldRange> range = ShownRange(field);
  return range ? std::clamp(value, range->min, range->max) : value;
}

namespace table_checks {
constexpr bool FieldRangesAreUniqueAndInteger() {
  for (std::size_t i = 0; i < kFieldRanges.size(); ++i) {
    if (Info(kFieldRanges[i].field).kind != FieldKind::kInteger) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kFieldRanges[j].field == kFieldRanges[i].field) return false;
    }
  }
  return true;
}
// Every spin and check box of the Elements tab: 24 rows with 6 flags and 50 spins.
static_assert(kFieldRanges.size() == 56);
static_assert(FieldRangesAreUniqueAndInteger());
}  // namespace table_checks

}  // namespace skin

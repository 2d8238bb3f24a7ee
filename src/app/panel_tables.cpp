// The side panel's tables.
#include "app/panel_tables.h"

#include <algorithm>

#include "app/fixed_numbers.h"

namespace app {
namespace {

using skin::ColourId;
using skin::FieldId;
using skin::SlotId;

#define C(gadget, x, y, name, screen) \
  ColourButton { gadget, x, y, "LANG_COLOR_" #name "$", screen, ColourId::name }

constexpr ColourButton kColourButtons[] = {
    C(75, 0, 0, gameInfoTextColor, 0),
    C(77, 128, 0, fileNameTextColor, 0),
    C(55, 256, 0, vTextColor, 0),
    C(56, 0, 20, vTextHighLightColor, 0),
    C(59, 128, 20, logoFrameColor, 0),
    C(52, 256, 20, listTextBgColor, 0),
    C(76, 0, 40, gameInfoTitleColor, 0),
    C(53, 0, 60, listTextColor, 1),
    C(54, 128, 60, listTextHighLightColor, 1),
    C(60, 0, 80, popMenuTextColor, 2),
    C(61, 128, 80, popMenuTextHighLightColor, 2),
    C(63, 256, 80, popSubMenuTextColor, 2),
    C(64, 0, 100, popSubMenuTextHighLightColor, 2),
    C(47, 128, 100, formFrameColor, 2),
    C(49, 0, 120, formTextColor, 3),
    C(65, 128, 120, popSubMenuBodyColor, 3),
    C(48, 256, 120, formBodyColor, 3),
    C(50, 0, 140, formTitleTextColor, 3),
    C(51, 128, 140, buttonTextColor, 3),
    C(66, 0, 160, spinBoxNormalColor, 12),
    C(67, 128, 160, spinBoxFocusColor, 12),
    C(68, 256, 160, spinBoxFrameColor, 12),
    C(69, 0, 180, spinBoxTextColor, 12),
    C(70, 128, 180, spinBoxTextHighLightColor, 12),
    C(71, 256, 180, romInfoTextColor, 12),
    C(72, 0, 200, romInfoTitleColor, 12),
    C(57, 0, 220, cheatListTextColor, 13),
    C(58, 128, 220, cheatListTextHighLightColor, 13),
    C(79, 256, 220, cheatTitleTextColor, 13),
};
#undef C

constexpr ImageButton kImageButtons[] = {
    {128, 0, 0, SlotId::upper_screen, 0},
    {108, 128, 0, SlotId::lower_screen, 0},
    {123, 256, 0, SlotId::startbar, 0},
    {122, 0, 20, SlotId::start_released, 0},
    {89, 128, 20, SlotId::brightness, 0},
    {92, 256, 20, SlotId::cardFrame0, 0},
    {117, 0, 40, SlotId::reBack, 0},
    {98, 128, 40, SlotId::clock_colon, 0},
    {99, 256, 40, SlotId::clock_numbers, 0},
    {129, 0, 60, SlotId::cheat, 0},
    {130, 128, 60, SlotId::dpg, 0},
    {131, 256, 60, SlotId::gba, 0},
    {132, 0, 80, SlotId::nds, 0},
    {133, 128, 80, SlotId::plg, 0},
    {134, 256, 80, SlotId::pth, 0},
    {135, 0, 100, SlotId::realtime, 0},
    {136, 128, 100, SlotId::rpth, 0},
    {137, 256, 100, SlotId::sav, 0},
    {138, 0, 120, SlotId::txt, 0},
    {139, 128, 120, SlotId::unk, 0},
    {93, 0, 140, SlotId::cardFrame1, 1},
    {118, 128, 140, SlotId::selectbar, 1},
    {103, 0, 160, SlotId::form_L, 2},
    {104, 128, 160, SlotId::form_M, 2},
    {105, 256, 160, SlotId::form_R, 2},
    {114, 0, 180, SlotId::popsubbar, 2},
    {107, 128, 180, SlotId::lamp, 2},
    {127, 256, 180, SlotId::triangle, 2},
    {125, 0, 200, SlotId::title_left, 3},
    {124, 128, 200, SlotId::title_bg, 3},
    {126, 256, 200, SlotId::title_right, 3},
    {91, 0, 220, SlotId::btn3, 3},
    {88, 0, 240, SlotId::activehotkey, 4},
    {87, 0, 260, SlotId::active, 6},
    {90, 0, 280, SlotId::btn, 10},
    {106, 128, 280, SlotId::hotkeybk, 10},
    {101, 0, 300, SlotId::close1, 12},
    {119, 128, 300, SlotId::settingbg, 12},
    {120, 256, 300, SlotId::spin_btn_left, 12},
    {121, 0, 320, SlotId::spin_btn_right, 12},
    {95, 0, 340, SlotId::cheatbg, 13},
    {94, 128, 340, SlotId::cheat_clearall, 13},
    {96, 256, 340, SlotId::cheatmenubtn, 13},
    {97, 0, 360, SlotId::cheatselectbar, 13},
    {100, 128, 360, SlotId::close, 13},
    {102, 256, 360, SlotId::fathernode, 13},
    {110, 0, 380, SlotId::onehoton, 13},
    {111, 128, 380, SlotId::onehotdown, 13},
    {112, 256, 380, SlotId::pitchdown, 13},
    {113, 0, 400, SlotId::pitchon, 13},
};

constexpr LabelKind kText = LabelKind::kText;
constexpr LabelKind kCheck = LabelKind::kCheckBox;
constexpr std::nullopt_t kNone = std::nullopt;

const ElementRow kElementRows[] = {
    {209, kText, "LANG_SETTINGS_LOGO_INFO_text$", kNone, ElementSpin{207, FieldId::logo_info_x},
     ElementSpin{208, FieldId::logo_info_y}, kNone, 0},
    {206, kCheck, "LANG_SETTINGS_FILE_TYPE_show$", FieldId::file_type_show,
     ElementSpin{202, FieldId::file_type_x}, ElementSpin{203, FieldId::file_type_y},
     ElementSpin{204, FieldId::file_type_w}, 0},
    {196, kCheck, "LANG_SETTINGS_FILE_NAME_show$", FieldId::file_name_show,
     ElementSpin{193, FieldId::file_name_x}, ElementSpin{194, FieldId::file_name_y},
     ElementSpin{195, FieldId::file_name_w}, 0},
    {197, kCheck, "LANG_SETTINGS_FILE_NAME_title$", FieldId::file_name_titleshow, kNone, kNone,
     kNone, 0},
    {201, kCheck, "LANG_SETTINGS_GAME_NAME_show$", FieldId::game_name_show,
     ElementSpin{198, FieldId::game_name_x}, ElementSpin{199, FieldId::game_name_y}, kNone, 0},
    {237, kCheck, "LANG_BIG_CLOCK_show$", FieldId::big_clock_show,
     ElementSpin{234, FieldId::big_clock_x}, ElementSpin{235, FieldId::big_clock_y}, kNone, 0},
    {244, kCheck, "LANG_FOLDER_TEXT_show$", FieldId::folder_text_show,
     ElementSpin{241, FieldId::folder_text_x}, ElementSpin{242, FieldId::folder_text_y},
     ElementSpin{243, FieldId::folder_text_w}, 0},
    {240, kText, "LANG_START_BAR_text$", kNone, ElementSpin{238, FieldId::start_bar_x},
     ElementSpin{239, FieldId::start_bar_y}, kNone, 0},
    {215, kText, "LANG_SETTINGS_START_BUTTON_text$", kNone,
     ElementSpin{213, FieldId::start_button_x}, ElementSpin{214, FieldId::start_button_y}, kNone,
     0},
    {233, kText, "LANG_DISC_ICON_text$", kNone, ElementSpin{231, FieldId::disk_icon_x},
     ElementSpin{232, FieldId::disk_icon_y}, kNone, 0},
    {218, kText, "LANG_SETTINGS_BRIGHTNESS_BTN_text$", kNone,
     ElementSpin{216, FieldId::brightness_btn_x}, ElementSpin{217, FieldId::brightness_btn_y},
     kNone, 0},
    {224, kText, "LANG_SETTINGS_REBACK_BTN_text$", kNone, ElementSpin{222, FieldId::reback_btn_x},
     ElementSpin{223, FieldId::reback_btn_y}, kNone, 0},
    {212, kText, "", kNone, ElementSpin{210, FieldId::logo_offset_x}, kNone, kNone, 1},
    {255, kText, "LANG_START_MENU_text$", kNone, ElementSpin{253, FieldId::start_menu_x},
     ElementSpin{254, FieldId::start_menu_y}, kNone, 2},
    {258, kText, "LANG_FILE_HANDLE_MENU_text$", kNone,
     ElementSpin{256, FieldId::file_handle_menu_x}, ElementSpin{257, FieldId::file_handle_menu_y},
     kNone, 2},
    {261, kText, "LANG_UITYPE_MENU_text$", kNone, ElementSpin{259, FieldId::UiType_menu_x},
     ElementSpin{260, FieldId::UiType_menu_y}, kNone, 4},
    {264, kText, "LANG_LANGUAGE_text$", kNone, ElementSpin{262, FieldId::Language_menu_x},
     ElementSpin{263, FieldId::Language_menu_y}, kNone, 6},
    {265, kText, "LANG_SYSET_MENU_text$", kNone, ElementSpin{266, FieldId::Syset_menu_x},
     ElementSpin{267, FieldId::Syset_menu_y}, kNone, 8},
    {268, kText, "LANG_LIST_TYPE_text$", kNone, ElementSpin{269, FieldId::List_type_menu_x},
     ElementSpin{270, FieldId::List_type_menu_y}, kNone, 8},
    {271, kText, "LANG_BRIGHTNESS_text$", kNone, ElementSpin{272, FieldId::Brightness_menu_x},
     ElementSpin{273, FieldId::Brightness_menu_y}, kNone, 9},
    {248, kText, "LANG_CHEAT_TITLE_text$", kNone, ElementSpin{245, FieldId::cheat_title_x},
     ElementSpin{246, FieldId::cheat_title_y}, ElementSpin{247, FieldId::cheat_title_w}, 13},
    {221, kText, "LANG_CHEAT_CANCEL_ALL_BTN_text$", kNone,
     ElementSpin{219, FieldId::cheat_cancel_all_btn_x},
     ElementSpin{220, FieldId::cheat_cancel_all_btn_y}, kNone, 13},
    {252, kText, "LANG_CHEAT_CLEARTITLE_text$", kNone,
     ElementSpin{249, FieldId::cheat_clearTitle_x}, ElementSpin{250, FieldId::cheat_clearTitle_y},
     ElementSpin{251, FieldId::cheat_clearTitle_w}, 13},
    {274, kText, "LANG_CLSOE_BTN_text$", kNone, ElementSpin{275, FieldId::clsoe_btn_x},
     ElementSpin{276, FieldId::clsoe_btn_y}, kNone, 13},
};

}  // namespace

std::span<const ColourButton> ColourButtons() { return kColourButtons; }
std::span<const ImageButton> ImageButtons() { return kImageButtons; }
std::span<const ElementRow> ElementRows() { return kElementRows; }

std::optional<ElementGadget> FindElementGadget(int gadget) {
  for (const ElementRow& row : kElementRows) {
    if (row.kind == LabelKind::kCheckBox && row.label_gadget == gadget) {
      return ElementGadget{*row.flag, true};
    }
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (spin && spin->gadget == gadget) return ElementGadget{spin->field, false};
    }
  }
  return std::nullopt;
}

const ColourButton* FindColourButton(int gadget) {
  for (const ColourButton& b : kColourButtons) {
    if (b.gadget == gadget) return &b;
  }
  return nullptr;
}

const ImageButton* FindImageButton(int gadget) {
  for (const ImageButton& b : kImageButtons) {
    if (b.gadget == gadget) return &b;
  }
  return nullptr;
}

int GadgetOf(skin::FieldId field) {
  for (const ElementRow& row : kElementRows) {
    if (row.kind == LabelKind::kCheckBox && row.flag == field) return row.label_gadget;
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (spin && spin->field == field) return spin->gadget;
    }
  }
  return 0;
}

int GadgetOf(skin::ColourId colour, int screen) {
  int first = 0;
  for (const ColourButton& b : kColourButtons) {
    if (b.colour != colour) continue;
    if (b.screen == screen) return b.gadget;
    if (first == 0) first = b.gadget;
  }
  return first;
}

int GadgetOf(SlotId slot) {
  for (const ImageButton& b : kImageButtons) {
    if (b.slot == slot) return b.gadget;
  }
  return 0;
}

int GadgetOf(skin::InfoId info) {
  // Each text's field follows its caption: 292 (caption 291), 294, ... 300.
  return kGadgetInfoTitle + 2 * static_cast<int>(skin::Index(info));
}

int ScreenOfGadget(int gadget) {
  if (const ColourButton* b = FindColourButton(gadget)) return b->screen;
  if (const ImageButton* b = FindImageButton(gadget)) return b->screen;
  for (const ElementRow& row : kElementRows) {
    if (row.label_gadget == gadget) return row.screen;
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (spin && spin->gadget == gadget) return row.screen;
    }
  }
  return -1;
}

bool SlotButtonOn(SlotId slot, int screen) {
  const ImageButton* button = FindImageButton(GadgetOf(slot));
  return button != nullptr && button->screen == screen;
}

SourceGadgets FindSourceGadgets(const preview::Source& source, int screen) {
  SourceGadgets found;
  if (const std::optional<SlotId> slot = source.slot()) {
    for (const ImageButton& b : kImageButtons) {
      if (b.slot == *slot && b.screen == screen) found.edit = b.gadget;
    }
  } else if (const std::optional<skin::ColourId> colour = source.colour()) {
    for (const ColourButton& b : kColourButtons) {
      if (b.colour == *colour && b.screen == screen) found.edit = b.gadget;
    }
  }
  if (const std::optional<skin::SectionId> section = source.placed_by()) {
    for (const ElementRow& row : kElementRows) {
      if (row.screen != screen) continue;
      if (row.x && skin::Info(row.x->field).section == *section) found.x = row.x->field;
      if (row.y && skin::Info(row.y->field).section == *section) found.y = row.y->field;
    }
  }
  return found;
}

namespace {

// The runs of entries with one screen, in the table's order: where each starts, and its screen.
template <typename Entry>
std::vector<std::pair<std::size_t, int>> ScreenRuns(std::span<const Entry> entries) {
  std::vector<std::pair<std::size_t, int>> runs;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (runs.empty() || entries[i].screen != runs.back().second) {
      runs.emplace_back(i, entries[i].screen);
    }
  }
  return runs;
}

// Roomy tiles stand this far from the page's edges; a tab has at most this many columns.
constexpr int kMargin = 4, kPad = kButtonPad, kMaxColumns = 6;

// One size of roomy tile to try: its icon's box, its caption's lines and the gap between tiles.
struct TileSize {
  int icon_width, icon_height, lines, gap;
};

// The sizes of tile to try, largest first: thumbnails of the proportions of the screens' pictures
// (4:3) from 96 down to 48 high; swatches from 40 down to 24 beside two lines, then beside one.
std::vector<TileSize> TileSizes(ButtonTab tab) {
  std::vector<TileSize> sizes;
  if (tab == ButtonTab::kImages) {
    for (int t = 96; t >= 48; t -= 8) sizes.push_back({t * 4 / 3, t, 2, 4 + (t - 48) / 12});
  } else {
    for (int s = 40; s >= 24; s -= 4) sizes.push_back({s, s, 2, 4 + (s - 20) / 5});
    for (int s : {24, 20}) sizes.push_back({s, s, 1, 4});
  }
  return sizes;
}

// The tiles of one size: the runs' headings and their buttons in rows of as many columns as the
// page's width holds.
ButtonLayout LayOutTiles(const std::vector<std::pair<std::size_t, int>>& runs, std::size_t count,
                         const TileSize& size, int width, const PanelFont& font) {
  ButtonLayout layout;
  layout.roomy = true;
  layout.lines = size.lines;
  layout.icon_width = size.icon_width;
  layout.icon_height = size.icon_height;
  const int gap = size.gap;
  const int tile_height = std::max(size.icon_height, size.lines * font.line) + 2 * kPad;
  const int least_width = size.icon_width + font.caption + 3 * kPad;
  const int whole_width = size.icon_width + std::max(font.widest, font.caption) + 3 * kPad;
  const int room = std::max(width - 2 * kMargin, least_width);
  const auto columns = [&](int tile) { return (room + gap) / (tile + gap); };
  layout.columns =
      std::clamp(std::max(columns(whole_width), std::min(3, columns(least_width))), 1, kMaxColumns);
  const int tile_width = (room - (layout.columns - 1) * gap) / layout.columns;
  int y = kMargin;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (r > 0) y += 2 * gap;
    layout.headings.push_back({runs[r].second, {kMargin, y, room, font.heading}});
    y += font.heading + gap;
    const std::size_t end = r + 1 < runs.size() ? runs[r + 1].first : count;
    const int n = static_cast<int>(end - runs[r].first);
    for (int k = 0; k < n; ++k) {
      layout.buttons.push_back({kMargin + k % layout.columns * (tile_width + gap),
                                y + k / layout.columns * (tile_height + gap), tile_width,
                                tile_height});
    }
    const int rows = (n + layout.columns - 1) / layout.columns;
    y += rows * tile_height + (rows - 1) * gap;
  }
  layout.height = y + kMargin;
  return layout;
}

}  // namespace

ButtonLayout LayOutButtons(ButtonTab tab, int width, int height, const PanelFont& font) {
  std::vector<std::pair<std::size_t, int>> runs;
  std::vector<PanelRect> grid;
  const auto gather = [&](const auto& buttons) {
    runs = ScreenRuns(buttons);
    for (const auto& b : buttons) grid.push_back({b.x, b.y, 128, 20});
  };
  if (tab == ButtonTab::kColours) {
    gather(ColourButtons());
  } else {
    gather(ImageButtons());
  }
  if (height < kRoomyPageHeight) {
    // The fixed grid: the three columns share the page's width.
    ButtonLayout layout;
    const int column = width / 3;
    layout.icon_width = tab == ButtonTab::kColours ? 20 : 21;
    layout.icon_height = tab == ButtonTab::kColours ? 14 : 16;
    for (const PanelRect& at : grid) {
      layout.buttons.push_back({at.x / 128 * column, at.y, column, at.height});
      layout.height = std::max(layout.height, at.bottom());
    }
    return layout;
  }
  ButtonLayout layout;
  for (const TileSize& size : TileSizes(tab)) {
    layout = LayOutTiles(runs, grid.size(), size, width, font);
    if (layout.height <= height) break;
  }
  return layout;
}

RowLayout LayOutElementRows(int height, const PanelFont& font) {
  const std::span<const ElementRow> rows = ElementRows();
  if (height >= kRoomyPageHeight) {
    // Rows below headings where they fit, else taller rows with a gap between screens.
    const std::vector<std::pair<std::size_t, int>> runs = ScreenRuns(rows);
    for (const bool headings : {true, false}) {
      for (int row_height = 28; row_height >= 20; row_height -= 2) {
        RowLayout layout;
        layout.row_height = row_height;
        const int gap = row_height / 3;
        int y = kMargin;
        for (std::size_t r = 0; r < runs.size(); ++r) {
          if (r > 0) y += gap;
          if (headings) {
            layout.headings.push_back({runs[r].second, {kMargin, y, 0, font.heading}});
            y += font.heading + 2;
          }
          const std::size_t end = r + 1 < runs.size() ? runs[r + 1].first : rows.size();
          for (std::size_t i = runs[r].first; i < end; ++i, y += row_height) {
            layout.tops.push_back(y);
          }
        }
        layout.height = y + kMargin;
        if (layout.height <= height) return layout;
      }
    }
  }
  RowLayout layout;
  for (std::size_t i = 0; i < rows.size(); ++i) layout.tops.push_back(20 * static_cast<int>(i) + 5);
  layout.height = 20 * static_cast<int>(rows.size()) + 10;
  return layout;
}

}  // namespace app

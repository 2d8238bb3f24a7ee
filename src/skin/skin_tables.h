// The vocabulary of a skin: its 34 colour keys, 34 element sections with their 131 fields, and 53
// picture slots, each with its name as uisettings.ini and the skin folder spell it, its order and
// its default. Every part of the program walks these tables; nothing else lists the names.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace skin {

// clang-format off
// The colour table of [global settings]: key and default text, in the order the file is written.
#define SKINSMITH_COLOURS(X)                  \
  X(formFrameColor, "0x980c")                 \
  X(formBodyColor, "0x8c63")                  \
  X(formTextColor, "0xbb1f")                  \
  X(formTitleTextColor, "0xbb1f")             \
  X(buttonTextColor, "0xffff")                \
  X(listTextBgColor, "0xa413")                \
  X(listTextColor, "0xbb1f")                  \
  X(listTextHighLightColor, "0xfb48")         \
  X(vTextColor, "0xb29e")                     \
  X(vTextHighLightColor, "0xffff")            \
  X(cheatListTextColor, "0xbb1f")             \
  X(cheatListTextHighLightColor, "0xfb48")    \
  X(logoFrameColor, "0xa413")                 \
  X(popMenuTextColor, "0xbb1f")               \
  X(popMenuTextHighLightColor, "0xf348")      \
  X(popMenuBodyColor, "0x8422")               \
  X(popSubMenuTextColor, "0xbb1f")            \
  X(popSubMenuTextHighLightColor, "0xffff")   \
  X(popSubMenuBodyColor, "0x8422")            \
  X(spinBoxNormalColor, "0x940c")             \
  X(spinBoxFocusColor, "0xb8d7")              \
  X(spinBoxFrameColor, "0xb8d7")              \
  X(spinBoxTextColor, "0xa818")               \
  X(spinBoxTextHighLightColor, "0xffff")      \
  X(romInfoTextColor, "0xb6bf")               \
  X(romInfoTitleColor, "0xa413")              \
  X(romInfoBodyColor, "0xb29e")               \
  X(romInfoFrameColor, "0xb29e")              \
  X(gameInfoTextColor, "0xb29e")              \
  X(gameInfoTitleColor, "0xa413")             \
  X(fileNameTextColor, "0xb29e")              \
  X(timeTextColor, "0xb29e")                  \
  X(gameNameColor, "0xb29e")                  \
  X(cheatTitleTextColor, "0xb29e")

// The element sections: identifier and header name, in the order the file is written.
#define SKINSMITH_SECTIONS(X)                    \
  X(file_name, "file name")                      \
  X(game_name, "game name")                      \
  X(file_type, "file type")                      \
  X(maker_code, "maker code")                    \
  X(logo_info, "logo info")                      \
  X(logo_offset, "logo offset")                  \
  X(start_button, "start button")                \
  X(start_menu, "start menu")                    \
  X(help_window, "help window")                  \
  X(brightness_btn, "brightness btn")            \
  X(cheat_cancel_all_btn, "cheat cancel all btn") \
  X(reback_btn, "reback btn")                    \
  X(folderup_btn, "folderup btn")                \
  X(clsoe_btn, "clsoe btn")                      \
  X(help_btn, "help btn")                        \
  X(disk_icon, "disk icon")                      \
  X(big_clock, "big clock")                      \
  X(calendar_year, "calendar year")              \
  X(calendar_month, "calendar month")            \
  X(calendar_day, "calendar day")                \
  X(start_bar, "start bar")                      \
  X(main_list, "main list")                      \
  X(folder_text, "folder text")                  \
  X(time_text, "time text")                      \
  X(cheat_title, "cheat title")                  \
  X(cheat_clearTitle, "cheat clearTitle")        \
  X(setting_window, "setting window")            \
  X(rom_info_window, "rom info window")          \
  X(file_handle_menu, "file handle menu")        \
  X(Brightness_menu, "Brightness menu")          \
  X(UiType_menu, "UiType menu")                  \
  X(Language_menu, "Language menu")              \
  X(Syset_menu, "Syset menu")                    \
  X(List_type_menu, "List type menu")

// The element fields in file order: section, field name, and either an integer default (I) or a
// colour default text (C).
#define SKINSMITH_FIELDS(I, C)                                                              \
  I(file_name, x, 127) I(file_name, y, 71) I(file_name, w, 115) I(file_name, h, 20)         \
  I(file_name, show, 1) I(file_name, titleshow, 1)                                          \
  I(game_name, x, 127) I(game_name, y, 101) I(game_name, show, 1)                           \
  I(file_type, x, 166) I(file_type, y, 32) I(file_type, w, 78) I(file_type, h, 36)          \
  I(file_type, show, 1)                                                                     \
  I(maker_code, x, 0) I(maker_code, y, 172) I(maker_code, show, 1)                          \
  I(logo_info, x, 127) I(logo_info, y, 30)                                                  \
  I(logo_offset, x, 4) I(logo_offset, y, 1)                                                 \
  I(start_button, x, 0) I(start_button, y, 172) I(start_button, w, 58)                      \
  I(start_button, h, 20) C(start_button, textColor, "0x7FFF") I(start_button, file, 0)      \
  I(start_menu, x, 0) I(start_menu, y, 56) I(start_menu, itemX, 12) I(start_menu, itemY, 18) \
  I(start_menu, leftlogoupX, 5) I(start_menu, leftlogoupY, 6)                               \
  I(start_menu, leftlogodownX, 5) I(start_menu, leftlogodownY, 6)                           \
  I(start_menu, rightLogoX, 4) I(start_menu, rightLogoY, 0)                                 \
  I(start_menu, submenuoffsetX, 4) I(start_menu, submenuoffsetY, 10)                        \
  I(start_menu, subMenuItemHeight, 16) I(start_menu, itemHeight, 17)                        \
  I(help_window, w, 200) I(help_window, h, 160)                                             \
  I(brightness_btn, x, 206) I(brightness_btn, y, 174) I(brightness_btn, w, 23)              \
  I(brightness_btn, h, 18)                                                                  \
  I(cheat_cancel_all_btn, x, 160) I(cheat_cancel_all_btn, y, 13)                            \
  I(reback_btn, x, 232) I(reback_btn, y, 174) I(reback_btn, w, 23) I(reback_btn, h, 18)     \
  I(folderup_btn, x, 2) I(folderup_btn, y, 2) I(folderup_btn, w, 40) I(folderup_btn, h, 16) \
  I(clsoe_btn, x, 233) I(clsoe_btn, y, 11) I(clsoe_btn, w, 40) I(clsoe_btn, h, 16)          \
  I(help_btn, x, 170) I(help_btn, y, 174) I(help_btn, w, 40) I(help_btn, h, 16)             \
  I(disk_icon, x, 178) I(disk_icon, y, 174)                                                 \
  I(big_clock, x, 131) I(big_clock, y, 141) I(big_clock, show, 1)                           \
  I(calendar_year, x, 172) I(calendar_year, y, 28) I(calendar_year, show, 0)                \
  I(calendar_month, x, 212) I(calendar_month, y, 28) I(calendar_month, show, 0)             \
  I(calendar_day, x, 236) I(calendar_day, y, 28) I(calendar_day, show, 0)                   \
  I(start_bar, x, 0) I(start_bar, y, 172)                                                   \
  C(main_list, textColor, "0x2d6b") C(main_list, textColorHilight, "0x7fff")                \
  C(main_list, selectionBarColor1, "0x5c00") C(main_list, selectionBarColor2, "0x2d60")     \
  I(folder_text, x, 1) I(folder_text, y, 180) I(folder_text, w, 133) I(folder_text, h, 16)  \
  C(folder_text, color, "0x5a80") I(folder_text, show, 0)                                   \
  I(time_text, x, 67) I(time_text, y, 178) I(time_text, w, 150) I(time_text, h, 16)         \
  C(time_text, color, "0x5a80")                                                             \
  I(cheat_title, x, 15) I(cheat_title, y, 15) I(cheat_title, w, 160) I(cheat_title, h, 150) \
  I(cheat_clearTitle, x, 180) I(cheat_clearTitle, y, 13) I(cheat_clearTitle, w, 56)         \
  I(cheat_clearTitle, h, 16)                                                                \
  I(setting_window, spinBoxWidth, 80)                                                       \
  I(rom_info_window, w, 256) I(rom_info_window, h, 192)                                     \
  I(file_handle_menu, x, 2) I(file_handle_menu, y, 82) I(file_handle_menu, w, 45)           \
  I(file_handle_menu, h, 80)                                                                \
  I(Brightness_menu, x, 2) I(Brightness_menu, y, 96) I(Brightness_menu, w, 61)              \
  I(Brightness_menu, h, 80)                                                                 \
  I(UiType_menu, x, 2) I(UiType_menu, y, 96) I(UiType_menu, w, 61) I(UiType_menu, h, 30)    \
  I(Language_menu, x, 2) I(Language_menu, y, 20) I(Language_menu, w, 45)                    \
  I(Language_menu, h, 155)                                                                  \
  I(Syset_menu, x, 2) I(Syset_menu, y, 80) I(Syset_menu, w, 61) I(Syset_menu, h, 66)        \
  I(List_type_menu, x, 2) I(List_type_menu, y, 125) I(List_type_menu, w, 61)                \
  I(List_type_menu, h, 50)

// The picture slots in load and save order: identifier, file name in the skin folder, and the
// width and height of the built-in picture, the size the menu's layout is made for.
#define SKINSMITH_SLOTS(X) \
  X(active, "active.bmp", 6, 6) \
  X(activehotkey, "activehotkey.bmp", 9, 9) \
  X(brightness, "brightness.bmp", 22, 18) \
  X(btn, "btn.bmp", 47, 14) \
  X(btn3, "btn3.bmp", 39, 14) \
  X(cardFrame0, "cardFrame0.bmp", 23, 18) \
  X(cardFrame1, "cardFrame1.bmp", 23, 18) \
  X(cheat_clearall, "cheat_clearall.bmp", 16, 12) \
  X(cheatbg, "cheatbg.bmp", 256, 192) \
  X(cheatmenubtn, "cheatmenubtn.bmp", 70, 14) \
  X(cheatselectbar, "cheatselectbar.bmp", 203, 1) \
  X(clock_colon, "clock_colon.bmp", 10, 31) \
  X(clock_numbers, "clock_numbers.bmp", 24, 310) \
  X(close, "close.bmp", 13, 12) \
  X(close1, "close1.bmp", 20, 13) \
  X(fathernode, "fathernode.bmp", 11, 10) \
  X(form_L, "form_L.bmp", 28, 116) \
  X(form_M, "form_M.bmp", 3, 116) \
  X(form_R, "form_R.bmp", 36, 116) \
  X(hotkeybk, "hotkeybk.bmp", 198, 127) \
  X(lamp, "lamp.bmp", 22, 38) \
  X(lower_screen, "lower_screen.bmp", 256, 192) \
  X(noactivehotke, "noactivehotke.bmp", 9, 9) \
  X(onehotdown, "onehotdown.bmp", 11, 10) \
  X(onehoton, "onehoton.bmp", 11, 10) \
  X(pitchdown, "pitchdown.bmp", 11, 10) \
  X(pitchon, "pitchon.bmp", 11, 10) \
  X(popsubbar, "popsubbar.bmp", 1, 12) \
  X(progress_bar, "progress_bar.bmp", 102, 12) \
  X(progress_wnd, "progress_wnd.bmp", 198, 93) \
  X(reBack, "reBack.bmp", 23, 18) \
  X(selectbar, "selectbar.bmp", 256, 42) \
  X(settingbg, "settingbg.bmp", 198, 104) \
  X(spin_btn_left, "spin_btn_left.bmp", 8, 14) \
  X(spin_btn_right, "spin_btn_right.bmp", 8, 14) \
  X(start_released, "start_released.bmp", 58, 20) \
  X(startbar, "startbar.bmp", 256, 20) \
  X(title_bg, "title_bg.bmp", 2, 16) \
  X(title_left, "title_left.bmp", 56, 16) \
  X(title_right, "title_right.bmp", 56, 16) \
  X(triangle, "triangle.bmp", 14, 16) \
  X(upper_screen, "upper_screen.bmp", 256, 192) \
  X(cheat, "icon/cheat.bmp", 15, 16) \
  X(dpg, "icon/dpg.bmp", 33, 32) \
  X(gba, "icon/gba.bmp", 32, 32) \
  X(nds, "icon/nds.bmp", 32, 32) \
  X(plg, "icon/plg.bmp", 32, 32) \
  X(pth, "icon/pth.bmp", 32, 32) \
  X(realtime, "icon/realtime.bmp", 17, 14) \
  X(rpth, "icon/rpth.bmp", 32, 32) \
  X(sav, "icon/sav.bmp", 32, 32) \
  X(txt, "icon/txt.bmp", 33, 32) \
  X(unk, "icon/unk.bmp", 8, 14)

// clang-format on

#define SKINSMITH_ID(name, ...) name,
#define SKINSMITH_FIELD_ID(section, field, ...) section##_##field,

enum class ColourId { SKINSMITH_COLOURS(SKINSMITH_ID) };
enum class SectionId { SKINSMITH_SECTIONS(SKINSMITH_ID) };
// Fields are named section_field: FieldId::start_button_x, FieldId::main_list_textColor.
enum class FieldId { SKINSMITH_FIELDS(SKINSMITH_FIELD_ID, SKINSMITH_FIELD_ID) };
enum class SlotId { SKINSMITH_SLOTS(SKINSMITH_ID) };

#undef SKINSMITH_ID
#undef SKINSMITH_FIELD_ID

enum class FieldKind { kInteger, kColour };

struct ColourInfo {
  std::string_view key;
  std::string_view default_text;
};

struct SectionInfo {
  std::string_view name;  // without brackets, exactly as the header spells it
};

struct FieldInfo {
  SectionId section;
  std::string_view name;
  FieldKind kind;
  int default_value;                // integers
  std::string_view default_colour;  // colours, as a text for ParseSkinColour
};

struct SlotInfo {
  std::string_view file;  // relative to the skin folder, "/" before an icon's name
  // The size the menu's layout is made for: that of the slot's built-in picture.
  int expected_width;
  int expected_height;
  // The file name without folder: "btn3.bmp", "cheat.bmp".
  constexpr std::string_view FileName() const { return file.substr(file.rfind('/') + 1); }
  // The file name without folder and extension: "btn3", "cheat".
  constexpr std::string_view BaseName() const {
    const std::string_view name = FileName();
    return name.substr(0, name.rfind('.'));
  }
  constexpr bool IsIcon() const { return file.starts_with("icon/"); }
};

#define SKINSMITH_COLOUR_ROW(name, text) ColourInfo{#name, text},
#define SKINSMITH_SECTION_ROW(id, name) SectionInfo{name},
#define SKINSMITH_INT_ROW(section, field, value) \
  FieldInfo{SectionId::section, #field, FieldKind::kInteger, value, {}},
#define SKINSMITH_COLOUR_FIELD_ROW(section, field, text) \
  FieldInfo{SectionId::section, #field, FieldKind::kColour, 0, text},
#define SKINSMITH_SLOT_ROW(id, file, width, height) SlotInfo{file, width, height},

inline constexpr std::array kColours{SKINSMITH_COLOURS(SKINSMITH_COLOUR_ROW)};
inline constexpr std::array kSections{SKINSMITH_SECTIONS(SKINSMITH_SECTION_ROW)};
inline constexpr std::array kFields{
    SKINSMITH_FIELDS(SKINSMITH_INT_ROW, SKINSMITH_COLOUR_FIELD_ROW)};
inline constexpr std::array kSlots{SKINSMITH_SLOTS(SKINSMITH_SLOT_ROW)};

#undef SKINSMITH_COLOUR_ROW
#undef SKINSMITH_SECTION_ROW
#undef SKINSMITH_INT_ROW
#undef SKINSMITH_COLOUR_FIELD_ROW
#undef SKINSMITH_SLOT_ROW

inline constexpr std::size_t kColourCount = kColours.size();
inline constexpr std::size_t kSectionCount = kSections.size();
inline constexpr std::size_t kFieldCount = kFields.size();
inline constexpr std::size_t kSlotCount = kSlots.size();
inline constexpr std::size_t kMainSlotCount = 42;  // the rest are the icons of icon/

static_assert(kColourCount == 34);
static_assert(kSectionCount == 34);
static_assert(kFieldCount == 131);
static_assert(kSlotCount == 53);

constexpr const ColourInfo& Info(ColourId id) { return kColours[static_cast<std::size_t>(id)]; }
constexpr const SectionInfo& Info(SectionId id) { return kSections[static_cast<std::size_t>(id)]; }
constexpr const FieldInfo& Info(FieldId id) { return kFields[static_cast<std::size_t>(id)]; }
constexpr const SlotInfo& Info(SlotId id) { return kSlots[static_cast<std::size_t>(id)]; }

constexpr std::size_t Index(ColourId id) { return static_cast<std::size_t>(id); }
constexpr std::size_t Index(SectionId id) { return static_cast<std::size_t>(id); }
constexpr std::size_t Index(FieldId id) { return static_cast<std::size_t>(id); }
constexpr std::size_t Index(SlotId id) { return static_cast<std::size_t>(id); }

namespace table_checks {
constexpr std::size_t CountKind(FieldKind kind) {
  std::size_t n = 0;
  for (const FieldInfo& f : kFields) n += f.kind == kind;
  return n;
}
constexpr bool SectionsAreContiguousAndInOrder() {
  for (std::size_t i = 1; i < kFieldCount; ++i) {
    if (kFields[i].section < kFields[i - 1].section) return false;
  }
  return true;
}
constexpr bool IconsComeLast() {
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (kSlots[i].IsIcon() != (i >= kMainSlotCount)) return false;
  }
  return true;
}
static_assert(CountKind(FieldKind::kInteger) == 124);
static_assert(CountKind(FieldKind::kColour) == 7);
static_assert(SectionsAreContiguousAndInOrder());
static_assert(IconsComeLast());
}  // namespace table_checks

}  // namespace skin

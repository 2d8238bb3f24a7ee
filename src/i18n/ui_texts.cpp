// The interface texts. The Menu, Panel and Information texts, the language menu and the program's
// name are held scrambled; the colour, picture and element captions are plain.
#include "i18n/ui_texts.h"

#include <optional>

#include "assets/scrambled.h"
#include "base/paths.h"
#include "i18n/ini_file.h"

namespace i18n {
namespace {

using BuiltIn = std::string (*)();

struct Row {
  Group group;
  std::string_view key;
  BuiltIn text;
};

#define SCRAMBLED(text)                                           \
  []() -> std::string {                                           \
    static constexpr auto kScrambled = SKINSMITH_SCRAMBLED(text); \
    return kScrambled.Unscramble();                               \
  }
#define PLAIN(text) []() -> std::string { return text; }
#define MENU(key, text) Row{Group::kMenu, key, SCRAMBLED(text)},
#define PANEL(key, text) Row{Group::kPanel, key, SCRAMBLED(text)},
#define INFO(key, text) Row{Group::kInformation, key, SCRAMBLED(text)},
#define COLOR(name) Row{Group::kColors, "LANG_COLOR_" name "$", PLAIN(name)},
#define IMAGE(name, text) Row{Group::kImages, "LANG_IMAGE_" name "$", PLAIN(text)},
#define ELEMENT(key, text) Row{Group::kElements, key, PLAIN(text)},

const Row kRows[] = {
    // clang-format off
    MENU("LANG_FILE$", "File")
    MENU("LANG_FILE_NEW$", "New skin")
    MENU("LANG_FILE_OPEN$", "Open")
    MENU("LANG_FILE_OPEN_FOLDER$", "Skin folder...")
    MENU("LANG_FILE_OPEN_RECENT$", "Open recent")
    MENU("LANG_FILE_RECENT_CLEAR$", "Clear list")
    MENU("LANG_FILE_SAVE$", "Save as")
    MENU("LANG_FILE_SAVE_FOLDER$", "Skin folder...")
    MENU("LANG_FILE_SAVE_ZIP$", "ZIP archive...")
    MENU("LANG_FILE_SCREENSHOT$", "Screenshot")
    MENU("LANG_FILE_SCREENSHOT2D$", "Save to file...")
    MENU("LANG_FILE_SCREENSHOT2C$", "Copy to clipboard")
    MENU("LANG_FILE_CLOSE$", "Quit")
    MENU("LANG_EDIT$", "Edit")
    MENU("LANG_EDIT_UNDO$", "Undo")
    MENU("LANG_EDIT_REDO$", "Redo")
    MENU("LANG_EDIT_UNDO_STEP$", "Undo %1")
    MENU("LANG_EDIT_REDO_STEP$", "Redo %1")
    MENU("LANG_STEP_OPEN$", "Open %1")
    MENU("LANG_STEP_IMPORT$", "Import %1")
    MENU("LANG_STEP_CHANGE$", "Change %1")
    MENU("LANG_STEP_RELOAD$", "Reload %1")
    MENU("LANG_STEP_MOVE$", "Move %1")
    MENU("LANG_STEP_REVERT$", "Revert %1")
    MENU("LANG_PICK_PICTURE$", "%1 (%2 x %3)")
    MENU("LANG_PICK_SAMPLE$", "Sample game icon (%1 x %2)")
    MENU("LANG_PICK_TEXT$", "Text in %1")
    MENU("LANG_PICK_BOX$", "Box in %1")
    MENU("LANG_PICK_LINE$", "Line in %1")
    MENU("LANG_PICK_WHITE$", "fixed white")
    MENU("LANG_PICK_PLACED$", "%2: %1")
    MENU("LANG_PICK_DRAG$", "%1 \u2013 drag to move")
    MENU("LANG_QUIT_QUESTION$", "The skin has changes that are not saved. Save them before "
                                "quitting?")
    MENU("LANG_QUIT_SAVE$", "Save...")
    MENU("LANG_QUIT_DISCARD$", "Discard")
    MENU("LANG_REPLACE_QUESTION$", "The skin has changes that are not saved. Save them before "
                                   "another skin takes its place?")
    MENU("LANG_DISK_CHANGED$", "%1 changed on disk.")
    MENU("LANG_DISK_RELOAD$", "Reload")
    MENU("LANG_DISK_KEEP$", "Keep mine")
    MENU("LANG_FILE_SAVE_HERE$", "Save")
    MENU("LANG_FILE_SCREENSHOT_NOW_FILE$", "Current screen to file...")
    MENU("LANG_FILE_SCREENSHOT_NOW_CLIP$", "Current screen to clipboard")
    MENU("LANG_FILE_SHOT_SCALE1$", "Actual size (1x)")
    MENU("LANG_FILE_SHOT_SCALE2$", "Double size (2x)")
    MENU("LANG_FILE_SHOT_SCALE3$", "Triple size (3x)")
    MENU("LANG_VIEW$", "View")
    MENU("LANG_VIEW_ZOOM_IN$", "Zoom in")
    MENU("LANG_VIEW_ZOOM_OUT$", "Zoom out")
    MENU("LANG_VIEW_ACTUAL$", "Actual size")
    MENU("LANG_VIEW_GRID$", "Pixel grid")
    MENU("LANG_VIEW_CONSOLE$", "Console colours: later models")
    MENU("LANG_VIEW_ORIGINAL$", "Console colours: original model")
    MENU("LANG_COLOR_TITLE$", "Edit colour: %1")
    MENU("LANG_COLOR_KEY$", "Colour: %1")
    MENU("LANG_COLOR_BACKGROUND$", "Preview background")
    MENU("LANG_COLOR_CODE$", "Code:")
    MENU("LANG_INFO_UPDATE_TIP$", "Saving the skin sets this date.")
    MENU("LANG_COLOR_CODE_TIP$", "Type or paste a colour as uisettings.ini writes it (0x329e) "
                                "or as #RRGGBB.")
    MENU("LANG_COLOR_PIXEL$", "(BMP pixel)")
    MENU("LANG_COLOR_PIXEL_TIP$", "The colour as a 16-bit BMP picture holds it, red in the high "
                                  "bits. It is not what uisettings.ini holds: that is the Code "
                                  "below.")
    MENU("LANG_COLOR_CODE_INVALID$", "Not a colour code. Type 0x and one to four hexadecimal "
                                     "digits up to 0x7fff, as uisettings.ini writes it, or #RRGGBB "
                                     "or #RGB.")
    MENU("LANG_SCREEN$", "Screen")
    MENU("LANG_SCREEN_00$", "Game list")
    MENU("LANG_SCREEN_01$", "Folder list")
    MENU("LANG_SCREEN_02$", "Start menu: file operations")
    MENU("LANG_SCREEN_03$", "Delete confirmation")
    MENU("LANG_SCREEN_04$", "Start menu: skins")
    MENU("LANG_SCREEN_05$", "Style change warning")
    MENU("LANG_SCREEN_06$", "Start menu: languages")
    MENU("LANG_SCREEN_07$", "Language change question")
    MENU("LANG_SCREEN_08$", "System settings: display")
    MENU("LANG_SCREEN_09$", "System settings: brightness")
    MENU("LANG_SCREEN_10$", "System settings: hotkeys")
    MENU("LANG_SCREEN_11$", "Help window")
    MENU("LANG_SCREEN_12$", "Game settings")
    MENU("LANG_SCREEN_13$", "Cheat list")
    MENU("LANG_OPTIONS$", "Options")
    MENU("LANG_OPTIONS_BACKCOLOR$", "Background colour...")
    MENU("LANG_OPTIONS_SWAPVIEW$", "Preview on the right")
    MENU("LANG_OPTIONS_FIT$", "Fit")
    MENU("LANG_OPTIONS_FOLLOW$", "Follow changes on disk")
    MENU("LANG_STATUS_RELOADED$", "Reloaded from disk: %1.")
    MENU("LANG_STATUS_NOT_RELOADED$", "Not reloaded: %1")
    MENU("LANG_ABOUT$", "Help")
    MENU("LANG_ABOUT_ABOUT$", "About Skinsmith")
    MENU("LANG_ABOUT_TEXT1$", "A skin editor for the menu of Nintendo DS flash cartridges.")
    MENU("LANG_ABOUT_TEXT2$", "\u2013 made for skin authors.")
    MENU("LANG_ABOUT_TEXT3$", "Open a skin, change its colours, pictures and elements, and see "
                              "every menu screen at once.")
    MENU("LANG_ABOUT_TEXT4$", "Free software. Share your skins!")
    MENU("LANG_ABOUT_LINK$", "User guide")
    MENU("LANG_COLORSETTING$", "Edit colour")
    MENU("LANG_INFO$", "Set each channel (0 to 31), open the colour chooser, or hold the right "
                       "mouse button and point anywhere on the screen to pick a colour.")
    MENU("LANG_ACTUAL_COLOR$", "Current colour")
    MENU("LANG_NEW_COLOR$", "New colour")
    MENU("LANG_RED$", "Red")
    MENU("LANG_GREEN$", "Green")
    MENU("LANG_BLUE$", "Blue")
    MENU("LANG_COLORREQUESTER$", "Colour chooser...")
    MENU("LANG_OK$", "OK")
    MENU("LANG_CANCEL$", "Cancel")
    MENU("LANG_REQPATH_SAVE$", "Choose the folder to save the skin in")
    MENU("LANG_REQPATH_LOAD$", "Choose a skin folder")
    MENU("LANG_REQFILE_SAVE$", "Save screenshot")
    MENU("LANG_REQFILE_LOAD$", "Open file")
    MENU("LANG_REQFILE_SAVE_ZIP$", "Save the skin as a ZIP archive")
    MENU("LANG_FILE_NOTFOUND$", "File not found.")
    MENU("LANG_FILE_NOTSAVE$", "The file could not be saved.")
    MENU("LANG_FILE_UNKNOWN$", "Unknown or unsupported image format.")
    MENU("LANG_FILE_TOOLARGE$", "Too large: a picture may have at most 16384 pixels a side and 64 "
                                "megapixels, a file at most 64 MB.")
    MENU("LANG_FILE_NOMEMORY$", "Not loaded: the skin's pictures together would take more than "
                                "512 MB of memory.")
    MENU("LANG_FILE_PICTUREMEMORY$", "Not loaded: this picture would take more memory than is "
                                     "left of the 512 MB that a skin's pictures may take.")
    MENU("LANG_OUTOFMEMORY$", "Not enough memory.")
    MENU("LANG_FILE_NOTREGULAR$", "Not a regular file.")
    MENU("LANG_FILE_SETTINGSTOOLARGE$", "Too large: uisettings.ini may have at most 1 MB.")
    MENU("LANG_FILE_TOOLONG$", "Not saved: the file would be larger than 1 MB. Shorten the skin "
                               "information.")
    MENU("LANG_FILE_COMPRESSION$", "Not read: the archive entry is compressed with a method this "
                                   "program does not support (only stored and deflated entries).")
    MENU("LANG_FILE_RECIPES$", "Some import recipes in this file could not be read: Adjust import "
                               "fits those pictures from themselves.")
    MENU("LANG_FILE_NOSKIN$", "No skin: there is no readable uisettings.ini in this folder or "
                              "archive.")
    MENU("LANG_FOLDER_REPLACED$", "%1 is no longer the folder this skin was opened from or last "
                                  "saved to: it was moved or replaced. Choose the folder to save "
                                  "the skin in.")
    MENU("LANG_ERROR$", "Error")
    MENU("LANG_QUIET$", "Don't show further messages for this operation")
    MENU("LANG_STATUS_NEW$", "New skin: the built-in default skin")
    MENU("LANG_STATUS_OPENED$", "Opened %1")
    MENU("LANG_STATUS_NOT_OPENED$", "Not opened: %1")
    MENU("LANG_STATUS_SAVED$", "Saved %1 files to %2")
    MENU("LANG_STATUS_EXPORTED$", "Saved the ZIP archive %1")
    MENU("LANG_STATUS_NOT_SAVED$", "Not saved: %1")
    MENU("LANG_STATUS_IMPORTED$", "Imported %1 as %2")
    MENU("LANG_STATUS_NOT_IMPORTED$", "Not imported: %1")
    MENU("LANG_STATUS_SHOT_SAVED$", "Screen %2 (%3) saved to %1")
    MENU("LANG_STATUS_SHOT_COPIED$", "Screen %1 (%2) copied to the clipboard")
    MENU("LANG_STATUS_ONE_MESSAGE$", "1 message")
    MENU("LANG_STATUS_MESSAGES$", "%1 messages")
    MENU("LANG_STATUS_NOT_SHOWN$", "%1 not shown")
    MENU("LANG_CHECK_LEGIBILITY$", "Text in %1 is hard to read on screen %2: its contrast with what lies beneath it is %3:1 (3:1 or more reads well)")
    MENU("LANG_CHECK_LEGIBILITY_ORIGINAL$", "Text in %1 reads on the later models but is hard to read on the original model's screen on screen %2: its contrast with what lies beneath it there is %3:1 (3:1 or more reads well)")
    MENU("LANG_CHECK_HIGHLIGHT$", "The highlight colour %1 looks like %2, the colour it replaces (contrast %3:1): the selection cannot be seen")
    MENU("LANG_CHECK_SIZE_UNDRAWN$", "%1 is %2 pixels, smaller than the %3 its place is made for: part of that place stays undrawn")
    MENU("LANG_CHECK_SIZE_CUT$", "%1 is %2 pixels, larger than the %3 its place is made for: the edge of the screen cuts part of it off")
    MENU("LANG_CHECK_EMPTY$", "%1 holds no picture, but the screen draws it")
    MENU("LANG_CHECK_KEY_COLOUR$", "%1 has %2 pixels of key green that show as green: this picture is drawn without keying")
    MENU("LANG_CHECK_OFF_SCREEN$", "[%1] lies wholly outside the screen wherever it is drawn")
    MENU("LANG_CHECK_UNSEEN$", "[%1] is drawn, but none of its pixels can be seen: it lies at the edge of the screen, is see-through or is covered")
    MENU("LANG_CHECK_OUT_OF_RANGE$", "%1 of [%2] is %3, but the editor can show only %4 to %5")
    MENU("LANG_CHECK$", "Check")
    MENU("LANG_CHECK_NONE$", "No problems found: every screen should look as intended.")
    MENU("LANG_CHECK_ONE_ERROR$", "1 error")
    MENU("LANG_CHECK_ERRORS$", "%1 errors")
    MENU("LANG_CHECK_ONE_WARNING$", "1 warning")
    MENU("LANG_CHECK_WARNINGS$", "%1 warnings")
    MENU("LANG_CHECK_TOTALS$", "%1, %2")
    MENU("LANG_CHECK_FIX_COLOUR$", "Use the nearest legible colour")
    MENU("LANG_CHECK_FIX_VALUE$", "Set the nearest value the field can show")
    MENU("LANG_CHECK_FIX_PLACE$", "Move it to the nearest place where it shows whole")
    MENU("LANG_STUDIO_TITLE$", "Import into %1")
    MENU("LANG_STUDIO_SOURCE$", "%1: %2 x %3 pixels")
    MENU("LANG_STUDIO_SIZE$", "Size:")
    MENU("LANG_STUDIO_EXPECTED$", "Expected size")
    MENU("LANG_STUDIO_CURRENT$", "Current size")
    MENU("LANG_STUDIO_FIT$", "Fit:")
    MENU("LANG_STUDIO_COVER$", "Cover")
    MENU("LANG_STUDIO_CONTAIN$", "Contain")
    MENU("LANG_STUDIO_STRETCH$", "Stretch")
    MENU("LANG_STUDIO_KEEP$", "Keep original size")
    MENU("LANG_STUDIO_RESAMPLE$", "Scaling:")
    MENU("LANG_STUDIO_SMOOTH$", "Smooth")
    MENU("LANG_STUDIO_NEAREST$", "Nearest neighbour (pixel art)")
    MENU("LANG_STUDIO_DITHER$", "Colour reduction:")
    MENU("LANG_STUDIO_DITHER_FS$", "Floyd-Steinberg")
    MENU("LANG_STUDIO_DITHER_SERPENTINE$", "Floyd-Steinberg, serpentine")
    MENU("LANG_STUDIO_DITHER_ORDERED$", "Ordered (Bayer 8x8)")
    MENU("LANG_STUDIO_DITHER_NONE$", "None")
    MENU("LANG_STUDIO_STRENGTH$", "Strength:")
    MENU("LANG_STUDIO_KEY$", "Transparent:")
    MENU("LANG_STUDIO_KEY_NONE$", "Only transparent pixels")
    MENU("LANG_STUDIO_KEY_PICK$", "Pick from picture")
    MENU("LANG_STUDIO_KEY_CLEAR$", "Clear")
    MENU("LANG_STUDIO_FILL$", "Fill:")
    MENU("LANG_STUDIO_FILL_CHOOSE$", "Colour...")
    MENU("LANG_STUDIO_FILL_KEY$", "Transparent")
    MENU("LANG_STUDIO_RESET$", "Whole picture")
    MENU("LANG_STUDIO_HINT$", "Drag the frame to move it; turn the mouse wheel to zoom.")
    MENU("LANG_STUDIO_PICK_HINT$", "Click the colour of the picture that is to be transparent.")
    MENU("LANG_STUDIO_KEY_TOLERANCE$", "Tolerance:")
    MENU("LANG_STUDIO_KEY_CONNECTED$", "Only the area around the picked pixel")
    MENU("LANG_STUDIO_KEYLESS$", "The console draws this picture without transparency: key green shows as green.")
    MENU("LANG_STUDIO_SOURCE_GONE$", "%1 is gone: the studio fits the slot's own picture.")
    MENU("LANG_IMAGE_ADJUST$", "Adjust import...")
    MENU("LANG_IMAGE_IMPORT$", "Import picture...")
    MENU("LANG_IMAGE_EXPORT$", "Export picture...")
    MENU("LANG_IMAGE_REVERT$", "Revert to default")
    MENU("LANG_IMAGE_EDIT$", "Edit in the image editor")
    MENU("LANG_IMAGE_EXPORT_TITLE$", "Export picture")
    MENU("LANG_STATUS_PICTURE_EXPORTED$", "%1 saved to %2")
    MENU("LANG_EDIT_NEEDS_FOLDER$", "Save the skin to a folder first: the image editor opens the picture's file in the skin folder.")
    MENU("LANG_EDIT_NEEDS_SAVE$", "Save the skin first: the picture has changes that its file in the skin folder does not have yet.")
    MENU("LANG_STATUS_EDITING$", "%1 opened in the image editor: what you save there shows here")
    MENU("LANG_STATUS_NOT_EDITED$", "No program could open %1")
    MENU("LANG_STATUS_REIMPORTED$", "%1 changed on disk: imported into %2 again")
    MENU("LANG_CHECK_FIX_SIZE$", "Fit the picture to its place...")
    PANEL("LANG_PANEL_COLORS$", "Colours")
    PANEL("LANG_PANEL_IMAGES$", "Images")
    PANEL("LANG_PANEL_ELEMETS$", "Elements")
    PANEL("LANG_PANEL_INFORMATIONS$", "Information")
    PANEL("LANG_IMAGE_EXPECTED$", "%1: %2 x %3; this picture %4 x %5")
    PANEL("LANG_IMAGE_EXPECTED_NONE$", "%1: %2 x %3; no picture")
    PANEL("LANG_OUTOFRANGE$", "The skin holds %1 here, outside %2 to %3. It keeps that value until "
                              "you change this field.")
    PANEL("LANG_FLAG_OTHER$", "The skin holds %1 here, neither 0 nor 1. It keeps that value until "
                              "you change this box.")
    PANEL("LANG_ELEMENTS_X$", "x")
    PANEL("LANG_ELEMENTS_Y$", "y")
    PANEL("LANG_ELEMENTS_W$", "w")
    COLOR("gameInfoTextColor") COLOR("fileNameTextColor") COLOR("vTextColor")
    COLOR("vTextHighLightColor") COLOR("logoFrameColor") COLOR("listTextBgColor")
    COLOR("gameInfoTitleColor") COLOR("listTextColor") COLOR("listTextHighLightColor")
    COLOR("popMenuTextColor") COLOR("popMenuTextHighLightColor") COLOR("popSubMenuTextColor")
    COLOR("popSubMenuTextHighLightColor") COLOR("formFrameColor") COLOR("formTextColor")
    COLOR("popSubMenuBodyColor") COLOR("formBodyColor") COLOR("formTitleTextColor")
    COLOR("buttonTextColor") COLOR("spinBoxNormalColor") COLOR("spinBoxFocusColor")
    COLOR("spinBoxFrameColor") COLOR("spinBoxTextColor") COLOR("spinBoxTextHighLightColor")
    COLOR("romInfoTextColor") COLOR("romInfoTitleColor") COLOR("cheatListTextColor")
    COLOR("cheatListTextHighLightColor") COLOR("cheatTitleTextColor")
    IMAGE("upper_screen", "upper_screen.bmp") IMAGE("lower_screen", "lower_screen.bmp")
    IMAGE("startbar", "startbar.bmp") IMAGE("start_released", "start_released.bmp")
    IMAGE("brightness", "brightness.bmp") IMAGE("cardFrame0", "cardFrame0.bmp")
    IMAGE("reBack", "reBack.bmp") IMAGE("clock_colon", "clock_colon.bmp")
    IMAGE("clock_numbers", "clock_numbers.bmp") IMAGE("cheat", "cheat.bmp")
    IMAGE("dpg", "dpg.bmp") IMAGE("gba", "gba.bmp") IMAGE("nds", "nds.bmp")
    IMAGE("plg", "plg.bmp") IMAGE("pth", "pth.bmp") IMAGE("realtime", "realtime.bmp")
    IMAGE("rpth", "rpth.bmp") IMAGE("sav", "sav.bmp") IMAGE("txt", "text.bmp")
    IMAGE("unk", "unk.bmp") IMAGE("cardFrame1", "cardFrame1.bmp")
    IMAGE("selectbar", "selectbar.bmp") IMAGE("form_L", "form_L.bmp") IMAGE("form_M", "form_M.bmp")
    IMAGE("form_R", "form_R.bmp") IMAGE("popsubbar", "popsubbar.bmp") IMAGE("lamp", "lamp.bmp")
    IMAGE("triangle", "triangle.bmp") IMAGE("title_left", "title_left.bmp")
    IMAGE("title_bg", "title_bg.bmp") IMAGE("title_right", "title_right.bmp")
    IMAGE("btn3", "btn3.bmp") IMAGE("activehotkey", "activehotkey.bmp")
    IMAGE("active", "active.bmp") IMAGE("btn", "btn.bmp") IMAGE("hotkeybk", "hotkeybk.bmp")
    IMAGE("close1", "close1.bmp") IMAGE("settingbg", "settingbg.bmp")
    IMAGE("spin_btn_left", "spin_btn_left.bmp") IMAGE("spin_btn_right", "spin_btn_right.bmp")
    IMAGE("cheatbg", "cheatbg.bmp") IMAGE("cheat_clearall", "cheat_clearall.bmp")
    IMAGE("cheatmenubtn", "cheatmenubtn.bmp") IMAGE("cheatselectbar", "cheatselectbar.bmp")
    IMAGE("close", "close.bmp") IMAGE("fathernode", "fathernode.bmp")
    IMAGE("onehoton", "onehoton.bmp") IMAGE("onehotdown", "onehotdown.bmp")
    IMAGE("pitchdown", "pitchdown.bmp") IMAGE("pitchon", "pitchon.bmp")
    INFO("LANG_INFO_TITLE$", "Title")
    INFO("LANG_INFO_AUTHOR$", "Author")
    INFO("LANG_INFO_EMAIL$", "E-mail")
    INFO("LANG_INFO_URL$", "Web page")
    INFO("LANG_INFO_UPDATE$", "Last update")
    ELEMENT("LANG_SETTINGS_LOGO_INFO_text$", "LogoInfo")
    ELEMENT("LANG_SETTINGS_FILE_TYPE_show$", "FileType")
    ELEMENT("LANG_SETTINGS_FILE_NAME_show$", "FileName")
    ELEMENT("LANG_SETTINGS_FILE_NAME_title$", "FileName Titleshow")
    ELEMENT("LANG_SETTINGS_GAME_NAME_show$", "GameName")
    ELEMENT("LANG_BIG_CLOCK_show$", "BigClock")
    ELEMENT("LANG_FOLDER_TEXT_show$", "FolderText")
    ELEMENT("LANG_START_BAR_text$", "StartBar")
    ELEMENT("LANG_SETTINGS_START_BUTTON_text$", "StartButton")
    ELEMENT("LANG_DISC_ICON_text$", "DiscIcon")
    ELEMENT("LANG_SETTINGS_BRIGHTNESS_BTN_text$", "BrightnessButton")
    ELEMENT("LANG_SETTINGS_REBACK_BTN_text$", "RebackButton")
    ELEMENT("LANG_START_MENU_text$", "StartMenu")
    ELEMENT("LANG_FILE_HANDLE_MENU_text$", "FileHandleMenu")
    ELEMENT("LANG_UITYPE_MENU_text$", "UITypeMenu")
    ELEMENT("LANG_LANGUAGE_text$", "LanguageMenu")
    ELEMENT("LANG_SYSET_MENU_text$", "SysSetMenu")
    ELEMENT("LANG_LIST_TYPE_text$", "ListTypeMenu")
    ELEMENT("LANG_BRIGHTNESS_text$", "BrightnessMenu")
    ELEMENT("LANG_CHEAT_TITLE_text$", "CheatTitle")
    ELEMENT("LANG_CLSOE_BTN_text$", "CheatCloseButton")
    ELEMENT("LANG_CHEAT_CLEARTITLE_text$", "CheatClearTitle")
    ELEMENT("LANG_CHEAT_CANCEL_ALL_BTN_text$", "CheatClearAllButton")
    // clang-format on
};

constexpr std::size_t kRowCount = sizeof kRows / sizeof kRows[0];

// The first `max_bytes` bytes of `text`, less a UTF-8 character that the cut would split: a
// character has at most three continuation bytes (10xxxxxx) after its lead byte.
std::string_view CutAtCharacter(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t cut = max_bytes;
  for (int k = 0; k < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++k) {
    --cut;
  }
  return text.substr(0, cut);
}

std::optional<std::size_t> FindRow(std::string_view key) {
  for (std::size_t i = 0; i < kRowCount; ++i) {
    if (kRows[i].key == key) return i;
  }
  return std::nullopt;
}

}  // namespace

std::string_view GroupName(Group group) {
  static constexpr std::string_view kNames[] = {"Menu",   "Panel",       "Colors",
                                                "Images", "Information", "Elements"};
  return kNames[static_cast<int>(group)];
}

const std::vector<TextKey>& AllTextKeys() {
  static const std::vector<TextKey> keys = [] {
    std::vector<TextKey> k;
    for (Group g : {Group::kMenu, Group::kPanel, Group::kColors, Group::kImages,
                    Group::kInformation, Group::kElements}) {
      for (const Row& row : kRows) {
        if (row.group == g) k.push_back({row.group, row.key});
      }
    }
    return k;
  }();
  return keys;
}

UiTexts::UiTexts() : current_(kRowCount) { ResetUiTexts(*this); }

std::string UiTexts::Text(std::string_view key) const {
  if (const std::optional<std::size_t> row = FindRow(key)) return current_[*row];
  return std::string(key);
}

void UiTexts::Set(std::string_view key, std::string text) {
  if (const std::optional<std::size_t> row = FindRow(key)) current_[*row] = std::move(text);
}

void ResetUiTexts(UiTexts& texts) {
  for (const Row& row : kRows) texts.Set(row.key, row.text());
}

std::string BuiltInText(std::string_view key) {
  const std::optional<std::size_t> row = FindRow(key);
  return row ? kRows[*row].text() : std::string();
}

std::string ScreenNameKey(int screen) {
  std::string number = std::to_string(screen);
  if (number.size() < 2) number.insert(0, 1, '0');
  return "LANG_SCREEN_" + number + "$";
}

std::string_view LanguageFile(int number) {
  for (const Language& language : kLanguages) {
    if (language.number == number) return language.file;
  }
  return {};
}

std::string_view LanguageLocale(int number) {
  for (const Language& language : kLanguages) {
    if (language.number == number) return language.locale;
  }
  return {};
}

void ApplyLanguage(UiTexts& texts, int language, const std::string& language_folder) {
  ResetUiTexts(texts);
  const std::string_view file = LanguageFile(language);
  // Without a language folder a bare file name would be opened in the working folder.
  if (file.empty() || language_folder.empty()) return;
  if (const std::optional<IniFile> ini = IniFile::Load(base::JoinPath(language_folder, file))) {
    ApplyLanguageFile(texts, *ini);
  }
}

void ApplyLanguageFile(UiTexts& texts, const IniFile& language_file) {
  for (const TextKey& key : AllTextKeys()) {
    if (std::optional<std::string> value = language_file.Value(GroupName(key.group), key.key)) {
      texts.Set(key.key, std::string(CutAtCharacter(*value, kMaxLanguageTextBytes)));
    }
  }
}

std::string FormatText(std::string_view text, std::span<const std::string_view> args) {
  std::string out;
  // Appends `piece` as far as the limit allows; false once the text is full.
  const auto append = [&out](std::string_view piece) {
    const std::string_view fits = CutAtCharacter(piece, kMaxFormattedTextBytes - out.size());
    out += fits;
    return fits.size() == piece.size();
  };
  std::size_t plain = 0;  // start of the text not yet copied
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '%' || text[i + 1] < '1' || text[i + 1] > '9') continue;
    const auto n = static_cast<std::size_t>(text[i + 1] - '1');
    if (n >= args.size()) continue;
    if (!append(text.substr(plain, i - plain)) || !append(args[n])) return out;
    plain = i + 2;
    ++i;
  }
  append(text.substr(plain));
  return out;
}

std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args) {
  return FormatText(text, std::span<const std::string_view>(args.begin(), args.size()));
}

std::string LanguageLabel(std::size_t menu_position) {
  switch (menu_position) {
    case 0:
      return SCRAMBLED("English")();
    case 1:
      return "繁体中文";
    case 2:
      return "简体中文";
    case 3:
      return SCRAMBLED("Español")();
    case 4:
      return SCRAMBLED("Français")();
    case 5:
      return SCRAMBLED("Deutsch")();
    case 6:
      return SCRAMBLED("Português (Brasil)")();
    case 7:
      return SCRAMBLED("Italiano")();
    case 8:
      return "日本語";
    case 9:
      return SCRAMBLED("Other (other.ini)")();
    default:
      return {};
  }
}

std::string LanguageMenuTitle() { return SCRAMBLED("Language")(); }

std::string ProgramName() { return SCRAMBLED("Skinsmith")(); }

}  // namespace i18n

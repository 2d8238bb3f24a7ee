// The fourteen menu states. Positions are those of the cartridge menu: where a place follows the
// skin, it comes from the skin's element fields; the rest are the menu's own constants.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "assets/scrambled.h"
#include "preview/draw.h"
#include "preview/preview.h"
#include "preview/preview_font.h"

namespace preview {
namespace {

using imaging::Image;
using imaging::Rgb;
using skin::ColourId;
using skin::FieldId;
using skin::SectionId;
using skin::SlotId;

constexpr Rgb kWhite = 0xFFFFFF;
constexpr int kStartMenuWidth = 108;

// Sample texts held scrambled; each has the length the menu's layout was made for.
#define SAMPLE(name, text, length)                           \
  std::string name() {                                       \
    static_assert(sizeof(text) - 1 == length, text);         \
    static constexpr auto kText = SKINSMITH_SCRAMBLED(text); \
    return kText.Unscramble();                               \
  }
SAMPLE(FileNameCaption, "File name:", 10)
SAMPLE(SampleFileName, "0022 - Super Mario 64 DS (EU)(M5).nds", 37)
SAMPLE(GameNameCaption, "Game name:", 10)
SAMPLE(SampleGameName, "SUPER MARIO", 11)
SAMPLE(FileTypeLine1, "Nintendo DS image", 17)
SAMPLE(FileTypeLine2, "32 MByte", 8)
SAMPLE(FileTypeLine3, "Euro", 4)
SAMPLE(SampleFolderPath, "fat1:/games/nintendo ds/platformers/2026", 40)
SAMPLE(SampleFolderName, "Game", 4)
SAMPLE(FolderLine, "Nintendo DS ROMs", 16)
SAMPLE(FolderTypeLine, "6 ROMs", 6)
SAMPLE(FolderTextLine, "/NDS", 4)
SAMPLE(ListFolder1, "Adventure", 9)
SAMPLE(ListFolder2, "Demo", 4)
SAMPLE(ListFolder3, "Puzzles", 7)
SAMPLE(ListFolder4, "Racing Fast", 11)
SAMPLE(CheatListTitle, "Super Mario 64 DS codes", 23)
SAMPLE(CheatClearTitle, "Remove all", 10)
SAMPLE(Cheat1, "Infinite lives for every player.", 32)
SAMPLE(Cheat2, "Infinite health meter", 21)
SAMPLE(Cheat3, "Unlock all playable heroes.", 27)
SAMPLE(Cheat4, "Moon jump (press L to fly high).", 32)
SAMPLE(Cheat5, "Max stars 150", 13)
SAMPLE(Cheat6, "Always have 99 coins", 20)
SAMPLE(Cheat7, "Walk through walls.", 19)
#undef SAMPLE

constexpr const char* kSelectedName = "0022 - Super Mario";

// What a screen procedure needs of the document, with short names for the fields. Pictures and
// colours come with the slot and key they were taken from, which a recording target keeps.
class Painter {
 public:
  explicit Painter(const skin::SkinDocument& doc) : doc_(doc) {}

  Coord F(FieldId id) const { return doc_.Field(id); }
  Ink C(ColourId id) const { return {doc_.Colour(id), id}; }
  Picture P(SlotId id) const { return {doc_.Slot(id), id}; }
  Picture SampleIcon() const { return *doc_.sample_game_icon; }
  Coord W(SlotId id) const { return doc_.Slot(id).Empty() ? 0 : doc_.Slot(id).width; }
  Coord H(SlotId id) const { return doc_.Slot(id).Empty() ? 0 : doc_.Slot(id).height; }

 private:
  const skin::SkinDocument& doc_;
};

Image NewScreen() { return Image(kScreenWidth, kScreenHeight, 0); }

// The clock reads 12:34: digits cut out of the 31-pixel-high strip of clock_numbers.
void DrawBigClock(Target& s, const Painter& p) {
  if (p.F(FieldId::big_clock_show) != 1) return;
  const Placement placed(s, SectionId::big_clock);
  const Picture numbers = p.P(SlotId::clock_numbers);
  const Coord wd = p.W(SlotId::clock_numbers);
  const Coord wc = p.W(SlotId::clock_colon);
  const Coord x = p.F(FieldId::big_clock_x);
  const Coord y = p.F(FieldId::big_clock_y);
  // Digit d is the 31-pixel-high band of clock_numbers that starts at row 31 x d.
  auto digit = [&](int d, Coord at) { DrawKeyedPart(s, numbers, 0, 31 * d, wd, 31, at, y); };
  digit(1, x);
  digit(2, x + wd);
  DrawKeyed(s, p.P(SlotId::clock_colon), x + 2 * wd, y);
  digit(3, x + 2 * wd + wc);
  digit(4, x + 3 * wd + wc);
}

void DrawGameInfoTop(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::upper_screen), 0, 0, kNoKey);
  const Coord fx = p.F(FieldId::file_name_x), fy = p.F(FieldId::file_name_y);
  if (p.F(FieldId::file_name_show) == 1) {
    const Placement placed(s, SectionId::file_name);
    if (p.F(FieldId::file_name_titleshow) == 1) {
      DrawText(s, fx, fy - 2, FileNameCaption(), p.C(ColourId::gameInfoTitleColor));
    }
    const Coord w = p.F(FieldId::file_name_w);
    const std::string full = SampleFileName();
    const std::string name = FitText(full, w);
    const Coord offset = TextWidth(full) > w ? 0 : (w - TextWidth(name)) / 2;
    DrawText(s, fx + offset, fy + 13, name, p.C(ColourId::fileNameTextColor));
  }
  if (p.F(FieldId::game_name_show) == 1) {
    const Placement placed(s, SectionId::game_name);
    const Coord gx = p.F(FieldId::game_name_x), gy = p.F(FieldId::game_name_y);
    DrawText(s, gx, gy - 2, GameNameCaption(), p.C(ColourId::gameInfoTitleColor));
    DrawText(s, gx, gy + 13, SampleGameName(), p.C(ColourId::gameInfoTextColor));
  }
  if (p.F(FieldId::file_type_show) == 1) {
    const Placement placed(s, SectionId::file_type);
    const Coord tx = p.F(FieldId::file_type_x), ty = p.F(FieldId::file_type_y);
    const Coord w = p.F(FieldId::file_type_w);
    const Ink c = p.C(ColourId::gameInfoTextColor);
    DrawText(s, tx, ty - 2, FitText(FileTypeLine1() + " ", w), c);
    DrawText(s, tx, ty + 10, FitText(FileTypeLine2() + " ", w), c);
    DrawText(s, tx, ty + 22, FitText(FileTypeLine3() + " ", w), c);
  }
  if (p.F(FieldId::folder_text_show) == 1) {
    const Placement placed(s, SectionId::folder_text);
    DrawText(s, p.F(FieldId::folder_text_x), p.F(FieldId::folder_text_y) - 2,
             FitText(SampleFolderPath(), p.F(FieldId::folder_text_w)),
             p.C(ColourId::formTitleTextColor));
  }
  {
    const Placement placed(s, SectionId::logo_info);
    DrawKeyed(s, p.SampleIcon(), p.F(FieldId::logo_info_x), p.F(FieldId::logo_info_y));
  }
  DrawBigClock(s, p);
}

void DrawFolderInfoTop(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::upper_screen), 0, 0, kNoKey);
  const Coord fx = p.F(FieldId::file_name_x), fy = p.F(FieldId::file_name_y);
  if (p.F(FieldId::file_name_show) == 1) {
    const Placement placed(s, SectionId::file_name);
    if (p.F(FieldId::file_name_titleshow) == 1) {
      DrawText(s, fx, fy - 2, "Folder", p.C(ColourId::gameInfoTitleColor));
    }
    const Coord w = p.F(FieldId::file_name_w);
    const std::string name = FitText(SampleFolderName(), w);
    const Coord offset = TextWidth("NDS") > w ? 0 : (w - TextWidth(name)) / 2;
    DrawText(s, fx + offset, fy + 13, name, p.C(ColourId::fileNameTextColor));
  }
  if (p.F(FieldId::game_name_show) == 1) {
    const Placement placed(s, SectionId::game_name);
    const Coord gx = p.F(FieldId::game_name_x), gy = p.F(FieldId::game_name_y);
    DrawText(s, gx, gy - 2, FolderLine(), p.C(ColourId::gameInfoTitleColor));
    DrawText(s, gx, gy + 13, FolderLine(), p.C(ColourId::gameInfoTextColor));
  }
  if (p.F(FieldId::file_type_show) == 1) {
    const Placement placed(s, SectionId::file_type);
    DrawText(s, p.F(FieldId::file_type_x), p.F(FieldId::file_type_y) + 13, FolderTypeLine(),
             p.C(ColourId::gameInfoTextColor));
  }
  if (p.F(FieldId::folder_text_show) == 1) {
    const Placement placed(s, SectionId::folder_text);
    DrawText(s, p.F(FieldId::folder_text_x), p.F(FieldId::folder_text_y) - 2, FolderTextLine(),
             p.C(ColourId::formTitleTextColor));
  }
  {
    const Placement placed(s, SectionId::logo_info);
    DrawKeyed(s, p.P(SlotId::pth), p.F(FieldId::logo_info_x), p.F(FieldId::logo_info_y));
  }
  DrawBigClock(s, p);
}

// The icon grid: three rows of four cells; the cell at row 1, column 0 holds the sample game.
void DrawGridIcons(Target& s, const Painter& p) {
  static constexpr std::array<int, 4> kColumns{16, 77, 138, 199};
  static constexpr std::array<int, 3> kRows{10, 64, 118};
  static constexpr std::array<std::optional<SlotId>, 12> kIcons{
      SlotId::rpth, SlotId::cheat, SlotId::dpg,      SlotId::gba, std::nullopt, SlotId::nds,
      SlotId::plg,  SlotId::pth,   SlotId::realtime, SlotId::sav, SlotId::txt,  SlotId::unk};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      const std::optional<SlotId> slot = kIcons[row * 4 + column];
      DrawKeyed(s, slot ? p.P(*slot) : p.SampleIcon(), kColumns[column], kRows[row]);
    }
  }
}

void DrawGridCaptions(Target& s, const Painter& p) {
  struct Caption {
    int x, y;
    const char* text;
  };
  static constexpr Caption kCaptions[] = {
      {15, 42, "../"},      {71, 42, "cheat.bmp"}, {132, 42, "dpg.bmp"}, {193, 42, "gba.bmp"},
      {71, 96, "nds.bmp"},  {132, 96, "plg.bmp"},  {193, 96, "pth.bmp"}, {10, 150, "realtime"},
      {71, 150, "sav.bmp"}, {132, 150, "txt.bmp"}, {193, 150, "unk.bmp"}};
  for (const Caption& c : kCaptions) DrawText(s, c.x, c.y, c.text, p.C(ColourId::vTextColor));
}

void DrawSelectedCell(Target& s, const Painter& p) {
  const Ink frame = p.C(ColourId::logoFrameColor);
  VerticalLine(s, 15, 63, 34, frame);
  HorizontalLine(s, 15, 63, 34, frame);
  VerticalLine(s, 48, 63, 34, frame);
  HorizontalLine(s, 15, 96, 34, frame);
  FillBox(s, 3, 98, 61, 13, p.C(ColourId::listTextBgColor));
  const std::string name = FitText(kSelectedName, 60);
  DrawText(s, (60 - TextWidth(name)) / 2 + 4, 96, name, p.C(ColourId::vTextHighLightColor));
}

// A picture placed by the x and y of an element section.
void DrawElement(Target& s, const Painter& p, SlotId slot, FieldId x, FieldId y,
                 std::int64_t key = kDefaultKey) {
  const Placement placed(s, skin::Info(x).section);
  DrawKeyed(s, p.P(slot), p.F(x), p.F(y), key);
}

void DrawBrightnessAndBack(Target& s, const Painter& p) {
  DrawElement(s, p, SlotId::brightness, FieldId::brightness_btn_x, FieldId::brightness_btn_y,
              kNoKey);
  DrawElement(s, p, SlotId::reBack, FieldId::reback_btn_x, FieldId::reback_btn_y);
}

void DrawIconViewBottom(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::lower_screen), 0, 0, kNoKey);
  DrawElement(s, p, SlotId::startbar, FieldId::start_bar_x, FieldId::start_bar_y, kNoKey);
  DrawGridIcons(s, p);
  DrawElement(s, p, SlotId::start_released, FieldId::start_button_x, FieldId::start_button_y);
  DrawGridCaptions(s, p);
  DrawSelectedCell(s, p);
  DrawElement(s, p, SlotId::cardFrame0, FieldId::disk_icon_x, FieldId::disk_icon_y);
  DrawBrightnessAndBack(s, p);
}

void IconGridBackground(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::lower_screen), 0, 0, kNoKey);
  DrawElement(s, p, SlotId::startbar, FieldId::start_bar_x, FieldId::start_bar_y, kNoKey);
  DrawBrightnessAndBack(s, p);
  DrawGridIcons(s, p);
  DrawElement(s, p, SlotId::start_released, FieldId::start_button_x, FieldId::start_button_y);
  DrawGridCaptions(s, p);
  DrawSelectedCell(s, p);
}

void DrawListViewBottom(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::lower_screen), 0, 0, kNoKey);
  DrawElement(s, p, SlotId::startbar, FieldId::start_bar_x, FieldId::start_bar_y, kNoKey);
  DrawElement(s, p, SlotId::start_released, FieldId::start_button_x, FieldId::start_button_y);
  DrawKeyed(s, p.P(SlotId::selectbar), 0, 55 - (p.H(SlotId::selectbar) - 32) / 2);
  const Coord ox = p.F(FieldId::logo_offset_x), oy = p.F(FieldId::logo_offset_y);
  const Picture folder = p.P(SlotId::pth);
  DrawKeyed(s, folder, 16, 17);
  {
    const Placement placed(s, SectionId::logo_offset);
    DrawKeyed(s, folder, 16 + ox, 55 + oy);
  }
  DrawKeyed(s, folder, 16, 93);
  DrawKeyed(s, folder, 16, 131);
  DrawText(s, 52, 26, ListFolder1(), p.C(ColourId::listTextColor));
  {
    const Placement placed(s, SectionId::logo_offset);
    DrawText(s, 52 + ox, 64, ListFolder2(), p.C(ColourId::listTextHighLightColor));
  }
  DrawText(s, 52, 102, ListFolder3(), p.C(ColourId::listTextColor));
  DrawText(s, 52, 140, ListFolder4(), p.C(ColourId::listTextColor));
  DrawElement(s, p, SlotId::cardFrame1, FieldId::disk_icon_x, FieldId::disk_icon_y);
  DrawBrightnessAndBack(s, p);
}

// Half a marker's height rounded up, plus one: where markers are centred on a menu row.
Coord Half(Coord height) { return (height + 1) / 2 + 1; }

void DrawStartMenu(Target& s, const Painter& p, int row) {
  const Placement placed(s, SectionId::start_menu);
  const Coord x = p.F(FieldId::start_menu_x), y = p.F(FieldId::start_menu_y);
  const Coord ih = p.F(FieldId::start_menu_itemHeight);
  const Coord item_y = p.F(FieldId::start_menu_itemY);
  const Coord wl = p.W(SlotId::form_L), wm = p.W(SlotId::form_M), wr = p.W(SlotId::form_R);
  DrawKeyed(s, p.P(SlotId::form_L), x, y);
  if (wm > 0) {
    const Coord n = (kStartMenuWidth - wr - wl) / wm;
    for (int i = 0; i <= n; ++i) DrawKeyed(s, p.P(SlotId::form_M), x + wl + i * wm, y);
  }
  DrawKeyed(s, p.P(SlotId::form_R), x + kStartMenuWidth - wr, y);

  const Picture lamp = p.P(SlotId::lamp);
  const Coord lamp_h = p.H(SlotId::lamp);
  const Coord lamp_x = x + p.F(FieldId::start_menu_leftlogoupX);
  const Coord yr = y + item_y + ih / 2 - Half(lamp_h);
  if (row >= 1 && row <= 3) {
    DrawKeyed(s, lamp, lamp_x, yr + row * ih);
  } else if (row == 4) {
    DrawKeyedPart(s, lamp, 0, 0, p.W(SlotId::lamp), lamp_h - p.F(FieldId::start_menu_leftlogodownY),
                  lamp_x, yr + 4 * ih);
  } else if (row == 0) {
    const Coord u = p.F(FieldId::start_menu_leftlogoupY);
    DrawKeyedPart(s, lamp, 0, u, p.W(SlotId::lamp), lamp_h - u, lamp_x, yr + u);
  }
  DrawKeyed(s, p.P(SlotId::triangle),
            x + kStartMenuWidth - p.F(FieldId::start_menu_rightLogoX) - p.W(SlotId::triangle),
            y + item_y + ih / 2 - Half(p.H(SlotId::triangle)) + row * ih);
  static constexpr const char* kItems[] = {"File Operation", "Skin", "Language", "System settings",
                                           "Help"};
  for (int k = 0; k < 5; ++k) {
    DrawText(s, x + p.F(FieldId::start_menu_itemX), y + item_y + k * ih - 2, kItems[k],
             p.C(k == row ? ColourId::popMenuTextHighLightColor : ColourId::popMenuTextColor));
  }
}

struct SubMenuText {
  const char* text;
  bool highlighted;
};

struct SubMenu {
  SectionId section;  // whose x and y place it
  Coord bx, tx, by;
  int w, bar_row, indent;
  std::vector<SubMenuText> texts;
  bool all_white = false;
  SlotId marker = SlotId::active;
  int marker_x = -1;  // -1: no marker
  int marker_row = 0;
  bool marker_before_bar = false;
};

void DrawSubMenu(Target& s, const Painter& p, const SubMenu& m) {
  const Placement placed(s, m.section);
  const Coord sih = p.F(FieldId::start_menu_subMenuItemHeight);
  const Coord off = p.F(FieldId::start_menu_submenuoffsetY);
  const Coord n = static_cast<Coord>(m.texts.size());
  FillBox(s, m.bx, m.by, m.w, n * sih + 2 * off, p.C(ColourId::formFrameColor));
  FillBox(s, m.bx + 1, m.by + 1, m.w - 2, n * sih + 2 * off - 2,
          p.C(ColourId::popSubMenuBodyColor));
  auto marker = [&] {
    if (m.marker_x >= 0)
      DrawKeyed(s, p.P(m.marker), m.tx + m.marker_x, m.by + off + m.marker_row * sih + 4);
  };
  if (m.marker_before_bar) marker();
  const Coord yb = m.by + off + sih / 2 - p.H(SlotId::popsubbar) / 2 - 1 + m.bar_row * sih;
  DrawRepeated(s, p.P(SlotId::popsubbar), m.tx + 2, yb, m.w - 3 - p.W(SlotId::popsubbar));
  for (int k = 0; k < n; ++k) {
    const Ink colour = m.all_white              ? Ink(kWhite)
                       : m.texts[k].highlighted ? p.C(ColourId::popSubMenuTextHighLightColor)
                                                : p.C(ColourId::popSubMenuTextColor);
    DrawText(s, m.tx + m.indent, m.by + off + k * sih - 2, m.texts[k].text, colour);
  }
  if (!m.marker_before_bar) marker();
}

SubMenu SystemMenu(const Painter& p, int bar_row, bool white) {
  const Coord x = p.F(FieldId::start_menu_x) + p.F(FieldId::Syset_menu_x);
  SubMenu m{SectionId::Syset_menu,
            white ? x + 108 : x + 107,
            x + 108,
            p.F(FieldId::Syset_menu_y),
            75,
            bar_row,
            8,
            {{"Display", !white}, {"Brightness", false}, {"Hotkey", false}}};
  m.all_white = white;
  return m;
}

// A sub-menu whose box, bar and texts start at `x`, `y` down, with texts indented by 12; it belongs
// to the section of `y`.
SubMenu SubMenuAt(const Painter& p, Coord x, FieldId y, int w, int bar_row,
                  std::vector<SubMenuText> texts) {
  return {skin::Info(y).section, x, x, p.F(y), w, bar_row, 12, std::move(texts)};
}

void DrawPopUpScreen(Target& s, const Painter& p, int screen) {
  IconGridBackground(s, p);
  const Coord x = p.F(FieldId::start_menu_x);
  switch (screen) {
    case 2:
      DrawStartMenu(s, p, 0);
      DrawSubMenu(
          s, p,
          SubMenuAt(p, x + p.F(FieldId::file_handle_menu_x) + 107, FieldId::file_handle_menu_y, 70,
                    3, {{"Copy", false}, {"Cut", false}, {"Paste", false}, {"Delete", true}}));
      break;
    case 4: {
      DrawStartMenu(s, p, 1);
      SubMenu m = SubMenuAt(p, x + p.F(FieldId::UiType_menu_x) + 107, FieldId::UiType_menu_y, 100,
                            0, {{"PINK", false}, {"SILVER", false}});
      m.marker = SlotId::activehotkey;
      m.marker_x = 2;
      DrawSubMenu(s, p, m);
      break;
    }
    case 6: {
      DrawStartMenu(s, p, 2);
      SubMenu m =
          SubMenuAt(p, x + p.F(FieldId::Language_menu_x) + 107, FieldId::Language_menu_y, 100, 5,
                    {{"English", false},
                     {"S-Chinese", false},
                     {"T-Chinese", false},
                     {"French", false},
                     {"Italian", false},
                     {"German", true},
                     {"Spanish", false},
                     {"Korean", false}});
      m.marker_x = 4;
      m.marker_before_bar = true;
      DrawSubMenu(s, p, m);
      break;
    }
    case 8:
    case 9: {
      DrawStartMenu(s, p, 3);
      DrawSubMenu(s, p, SystemMenu(p, 0, false));
      const Coord syset = x + p.F(FieldId::Syset_menu_x);
      SubMenu m = screen == 8 ? SubMenuAt(p, syset + p.F(FieldId::List_type_menu_x) + 182,
                                          FieldId::List_type_menu_y, 50, 1,
                                          {{"Icon", false}, {"List", true}})
                              : SubMenuAt(p, syset + p.F(FieldId::Brightness_menu_x) + 182,
                                          FieldId::Brightness_menu_y, 60, 0,
                                          {{"Level 1", true},
                                           {"Level 2", false},
                                           {"Level 3", false},
                                           {"Level 4", false}});
      if (screen == 9) m.marker_row = 2;
      m.marker_x = 4;
      DrawSubMenu(s, p, m);
      break;
    }
    case 10: {
      DrawStartMenu(s, p, 3);
      DrawSubMenu(s, p, SystemMenu(p, 2, true));
      DrawKeyed(s, p.P(SlotId::hotkeybk), (256 - p.W(SlotId::hotkeybk)) / 2,
                (192 - p.H(SlotId::hotkeybk)) / 2);
      DrawKeyed(s, p.P(SlotId::btn), 75, 139);
      DrawKeyed(s, p.P(SlotId::btn), 135, 139);
      DrawText(s, 110, 32, "Hotkey", p.C(ColourId::formTitleTextColor));
      DrawText(s, 86, 138, "OK(A)", p.C(ColourId::buttonTextColor));
      DrawText(s, 146, 138, "NO(B)", p.C(ColourId::buttonTextColor));
      break;
    }
    default:
      break;
  }
}

// Delete confirmation (3), style warning (5) and language question (7).
void DrawMessageDialog(Target& s, const Painter& p, int screen) {
  struct Dialog {
    int row;
    const char* lines[3];
    const char* left;
    const char* title;
    int title_y;
  };
  static constexpr Dialog kConfirm{
      0,
      {"File cannot be recovered after", "deletion. Do you wish to delete '0022 -",
       "Super Mario DS (E)(M5).nds"},
      "YES(A) ",
      "Confirm",
      62};
  static constexpr Dialog kWarning{1,
                                   {"User interface style changed. Restart",
                                    "now to apply new style? Press NO to", "keep current style."},
                                   "OK(A) ",
                                   "Warning",
                                   63};
  static constexpr Dialog kQuestion{2,
                                    {"System Language changed. Restart",
                                     "now to apply new language? Press NO", "to restart later."},
                                    "OK(A) ",
                                    "Question",
                                    63};
  const Dialog& d = screen == 3 ? kConfirm : screen == 5 ? kWarning : kQuestion;
  IconGridBackground(s, p);
  DrawStartMenu(s, p, d.row);
  FillBox(s, 12, 65, 234, 80, p.C(ColourId::formFrameColor));
  FillBox(s, 13, 66, 232, 78, p.C(ColourId::formBodyColor));
  for (int k = 0; k < 3; ++k)
    DrawText(s, 36, 74 + 12 * k, d.lines[k], p.C(ColourId::formTextColor));

  const Coord wb = p.W(SlotId::btn3);
  DrawKeyed(s, p.P(SlotId::btn3), 237 - wb, 126);
  DrawKeyed(s, p.P(SlotId::btn3), 229 - 2 * wb, 126);
  const Ink text = p.C(ColourId::buttonTextColor);
  const Coord left_width = TextWidth(d.left);
  if (left_width < wb) {
    DrawText(s, 229 - 2 * wb + (wb - left_width) / 2, 125, d.left, text);
  } else {
    DrawText(s, 229 - 2 * wb, 125, FitText(d.left, wb), text);  // kept on the left button
  }
  const Coord right_width = TextWidth("NO(B) ");
  if (right_width < wb) {
    DrawText(s, 237 - wb + (wb - right_width) / 2, 125, "NO(B) ", text);
  } else {
    DrawText(s, 234 - wb, 125, FitText("NO(B) ", wb), text);
  }
  DrawBrightnessAndBack(s, p);

  const Coord t = p.H(SlotId::title_left), wl = p.W(SlotId::title_left);
  DrawKeyed(s, p.P(SlotId::title_left), 12, 65 - t);
  DrawRepeated(s, p.P(SlotId::title_bg), 12 + wl, 65 - t, 233 - 2 * wl, kNoKey);
  DrawKeyed(s, p.P(SlotId::title_right), 246 - wl, 65 - t);
  const Coord hb = p.H(SlotId::title_bg);
  DrawText(s, 112, d.title_y - hb + (hb - 12) / 2, d.title, p.C(ColourId::formTitleTextColor));
}

void DrawHelpWindow(Target& s, const Painter& p) {
  IconGridBackground(s, p);
  DrawStartMenu(s, p, 4);
  const Coord w = p.F(FieldId::help_window_w), h = p.F(FieldId::help_window_h);
  const Coord hx = (256 - w) / 2, hy = (192 - h) / 2;
  const Coord t = p.H(SlotId::title_left);
  {
    const Placement placed(s, SectionId::help_window);
    FillBox(s, hx, hy + t, w, h - t, p.C(ColourId::formFrameColor));
    FillBox(s, hx + 1, hy + t + 1, w - 2, h - t - 2, p.C(ColourId::formBodyColor));
  }
  static constexpr const char* kLines[] = {
      "\u00E6  Select Programs",  "\u00E0  Start/OK/YES",  "\u00E1  Back/Cancel/NO",
      "\u00E3  Select cheats",    "\u00E2  Set game info", "\u00E4  Back to parent directory",
      "\u00E5  Adjust brightnes", "START  Start Menu",     "SELECT  Menu style new/classical"};
  const Ink text = p.C(ColourId::formTextColor);
  for (int k = 0; k < 9; ++k) DrawText(s, 38, 32 + 12 * k, kLines[k], text);
  DrawText(s, 38, 152, "VELDAMENU 1.01", text);
  {
    const Placement placed(s, SectionId::help_window);
    DrawKeyed(s, p.P(SlotId::title_left), hx, hy);
    DrawRepeated(s, p.P(SlotId::title_bg), hx + p.W(SlotId::title_right), hy,
                 w - p.W(SlotId::title_left) - p.W(SlotId::title_right) + 1, kNoKey);
    DrawKeyed(s, p.P(SlotId::title_right), hx + w - p.W(SlotId::title_left), hy);
  }
  const Coord wbtn = p.W(SlotId::btn);
  DrawKeyed(s, p.P(SlotId::btn), 217 - wbtn, 154);
  {
    const Placement placed(s, SectionId::help_window);
    DrawText(s, hx + 56, hy, "Help informations", p.C(ColourId::formTitleTextColor));
  }
  const Coord ok_width = TextWidth("OK(A) ");
  if (ok_width < wbtn) {
    DrawText(s, 217 - wbtn + (wbtn - ok_width) / 2, 153, "OK(A) ", p.C(ColourId::buttonTextColor));
  } else {
    DrawText(s, 217 - wbtn, 153, FitText("OK(A) ", p.W(SlotId::btn3)),
             p.C(ColourId::buttonTextColor));
  }
}

void DrawGameSettings(Target& s, const Painter& p) {
  IconGridBackground(s, p);
  DrawKeyed(s, p.P(SlotId::settingbg), 28, 46);
  DrawKeyed(s, p.P(SlotId::close1), 200, 49);
  DrawText(s, 80, 46, kSelectedName, p.C(ColourId::romInfoTitleColor));
  DrawText(s, 80, 70, "Multi-Save", p.C(ColourId::romInfoTextColor));
  DrawText(s, 80, 90, "Cheat", p.C(ColourId::romInfoTextColor));
  DrawText(s, 80, 110, "Mode", p.C(ColourId::romInfoTextColor));
  struct Spin {
    int y;
    ColourId inner, text;
    const char* value;
    int value_x;
  };
  static constexpr Spin kSpins[] = {
      {72, ColourId::spinBoxFocusColor, ColourId::spinBoxTextHighLightColor, "3", 174},
      {92, ColourId::spinBoxNormalColor, ColourId::spinBoxTextColor, "On", 171},
      {112, ColourId::spinBoxNormalColor, ColourId::spinBoxTextColor, "Patch", 162}};
  for (const Spin& spin : kSpins) {
    FillBox(s, 148, spin.y, 56, 14, p.C(ColourId::spinBoxFrameColor));
    FillBox(s, 149, spin.y + 1, 54, 12, p.C(spin.inner));
    DrawText(s, spin.value_x, spin.y - 1, spin.value, p.C(spin.text));
  }
  DrawKeyed(s, p.SampleIcon(), 40, 74);
  for (const Spin& spin : kSpins)
    DrawKeyed(s, p.P(SlotId::spin_btn_left), 145 - p.W(SlotId::spin_btn_left), spin.y);
  for (const Spin& spin : kSpins) DrawKeyed(s, p.P(SlotId::spin_btn_right), 207, spin.y);
  DrawKeyed(s, p.P(SlotId::cheatmenubtn), 36, 131);
  DrawKeyed(s, p.P(SlotId::btn), 120, 131);
  DrawKeyed(s, p.P(SlotId::btn), 170, 131);
  DrawBrightnessAndBack(s, p);
  const Ink text = p.C(ColourId::buttonTextColor);
  DrawText(s, 50, 130, "Cheat(Y)", text);
  DrawText(s, 131, 130, "OK(A)", text);
  DrawText(s, 181, 130, "NO(B)", text);
}

void DrawCheatList(Target& s, const Painter& p) {
  DrawKeyed(s, p.P(SlotId::cheatbg), 0, 0, kNoKey);
  const Ink title = p.C(ColourId::cheatTitleTextColor);
  {
    const Placement placed(s, SectionId::cheat_title);
    DrawText(s, p.F(FieldId::cheat_title_x), p.F(FieldId::cheat_title_y) - 2,
             FitText(CheatListTitle(), p.F(FieldId::cheat_title_w)), title);
  }
  {
    const Placement placed(s, SectionId::cheat_clearTitle);
    DrawText(s, p.F(FieldId::cheat_clearTitle_x), p.F(FieldId::cheat_clearTitle_y) - 2,
             FitText(CheatClearTitle(), p.F(FieldId::cheat_clearTitle_w)), title);
  }
  DrawElement(s, p, SlotId::cheat_clearall, FieldId::cheat_cancel_all_btn_x,
              FieldId::cheat_cancel_all_btn_y);
  DrawElement(s, p, SlotId::close, FieldId::clsoe_btn_x, FieldId::clsoe_btn_y);
  DrawKeyed(s, p.P(SlotId::cheatselectbar), 18, 36, kNoKey);
  DrawKeyed(s, p.P(SlotId::cheatselectbar), 18, 55, kNoKey);
  const std::pair<SlotId, int> kMarkers[] = {{SlotId::pitchon, 41},     {SlotId::pitchon, 61},
                                             {SlotId::pitchdown, 81},   {SlotId::onehoton, 101},
                                             {SlotId::onehotdown, 121}, {SlotId::onehotdown, 141},
                                             {SlotId::fathernode, 161}};
  for (const auto& [slot, y] : kMarkers) DrawKeyed(s, p.P(slot), 18, y);
  const std::string names[] = {Cheat1(), Cheat2(), Cheat3(), Cheat4(),
                               Cheat5(), Cheat6(), Cheat7()};
  for (int k = 0; k < 7; ++k) {
    DrawText(s, 35, 38 + 20 * k, names[k],
             p.C(k == 0 ? ColourId::cheatListTextHighLightColor : ColourId::cheatListTextColor));
  }
}

void DrawBottom(Target& s, const Painter& p, int screen) {
  switch (screen) {
    case 0:
      return DrawIconViewBottom(s, p);
    case 1:
      return DrawListViewBottom(s, p);
    case 3:
    case 5:
    case 7:
      return DrawMessageDialog(s, p, screen);
    case 11:
      return DrawHelpWindow(s, p);
    case 12:
      return DrawGameSettings(s, p);
    case 13:
      return DrawCheatList(s, p);
    default:
      return DrawPopUpScreen(s, p, screen);
  }
}

}  // namespace

ScreenPair DrawScreens(const skin::SkinDocument& doc, int screen, ScreenSources* sources) {
  ScreenPair pair{NewScreen(), NewScreen()};
  Target top = sources ? Target(pair.top, sources->top) : Target(pair.top);
  Target bottom = sources ? Target(pair.bottom, sources->bottom) : Target(pair.bottom);
  if (screen < 0 || screen >= kScreenCount) return pair;
  const Painter p(doc);
  if (screen == 1) {
    DrawFolderInfoTop(top, p);
  } else {
    DrawGameInfoTop(top, p);
  }
  DrawBottom(bottom, p, screen);
  return pair;
}

}  // namespace preview

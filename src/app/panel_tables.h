// The side panel as data: its colour buttons, image buttons and element rows with their gadget
// numbers, places, texts, what they edit and the preview screen they belong to. The panel is built
// by walking these tables.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "preview/draw.h"
#include "skin/field_ranges.h"
#include "skin/skin_document.h"
#include "skin/skin_tables.h"

namespace app {

struct ColourButton {
  int gadget;
  int x, y;
  std::string_view text_key;
  int screen;
  skin::ColourId colour;
};

struct ImageButton {
  int gadget;
  int x, y;
  skin::SlotId slot;
  int screen;
};

enum class LabelKind { kText, kCheckBox };

struct ElementSpin {
  int gadget;
  skin::FieldId field;
};

struct ElementRow {
  int label_gadget;
  LabelKind kind;
  std::string_view text_key;  // "" for the fixed text "LogoOffset"
  std::optional<skin::FieldId> flag;
  std::optional<ElementSpin> x, y, w;
  int screen;
};

std::span<const ColourButton> ColourButtons();
std::span<const ImageButton> ImageButtons();
std::span<const ElementRow> ElementRows();

// Spin columns and ranges of the Elements tab.
inline constexpr int kSpinX = 205, kSpinY = 265, kSpinW = 325;
// The ranges the core knows the editor shows (the skin check reports values outside them).
inline constexpr int kMaxX = skin::kMaxShownX, kMaxY = skin::kMaxShownY, kMaxW = skin::kMaxShownW;

// What an element gadget edits: its field, and whether it is a check box.
struct ElementGadget {
  skin::FieldId field;
  bool check_box;
};
std::optional<ElementGadget> FindElementGadget(int gadget);

const ColourButton* FindColourButton(int gadget);
const ImageButton* FindImageButton(int gadget);

// The fixed number of the gadget that edits a field, a colour (the button on `screen`, else the
// first one), a slot or an information text; 0 for none.
int GadgetOf(skin::FieldId field);
int GadgetOf(skin::ColourId colour, int screen = -1);
int GadgetOf(skin::SlotId slot);
int GadgetOf(skin::InfoId info);

// The preview screen whose panel offers gadget `gadget`; -1 for a gadget of no one screen.
int ScreenOfGadget(int gadget);

// Whether the panel of preview screen `screen` offers the image button of `slot`: only the buttons
// of the screen shown take a dropped picture or open their menu.
bool SlotButtonOn(skin::SlotId slot, int screen);

// The gadgets of preview screen `screen` that edit what a preview pixel shows: the image button of
// its picture's slot or the colour button of its colour key (0 where that screen offers none), and
// the x and y fields of the element section that placed it, where that screen offers them.
struct SourceGadgets {
  int edit = 0;
  std::optional<skin::FieldId> x, y;
};
SourceGadgets FindSourceGadgets(const preview::Source& source, int screen);

// How the Colours, Images and Elements tabs use the room the panel gets. In a page of the
// window's first height the buttons keep their fixed grid: three columns sharing the page's width,
// on rows 20 pixels apart, 20 high, at the tables' places. With room to spare (a page at least
// kRoomyPageHeight high) the buttons grow into tiles with larger swatches and thumbnails and a
// second line of caption, in as many columns as the width holds, each screen's buttons (a run of
// the table with one screen) below a heading that names the screen; the tables' order is kept.
inline constexpr int kRoomyPageHeight = 560;
// A button holds its icon and caption this far inside its edges, and this far apart.
inline constexpr int kButtonPad = 5;

// A place on a page, in pixels.
struct PanelRect {
  int x = 0, y = 0, width = 0, height = 0;
  int bottom() const { return y + height; }
  int right() const { return x + width; }
  friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

// What the layout needs to know of the panel's font.
struct PanelFont {
  int line = 16;      // the height of one line of a caption
  int heading = 20;   // of a screen's heading
  int caption = 100;  // the least room a caption gets beside its icon in a tile
  int widest = 0;     // the room the tab's widest caption needs: more than three columns only
                      // where every caption shows whole
};

struct PanelHeading {
  int screen;
  PanelRect place;
};

enum class ButtonTab { kColours, kImages };

struct ButtonLayout {
  bool roomy = false;
  int columns = 3;
  int lines = 1;       // of each caption: the name, and below it the code or the size
  int icon_width = 0;  // the swatch's or thumbnail's box, at the button's left
  int icon_height = 0;
  std::vector<PanelRect> buttons;  // in the table's order
  std::vector<PanelHeading> headings;
  int height = 0;  // the page's content
};

// The buttons of `tab` on a page `width` x `height` (the visible part of the page). Roomy, the
// tiles grow as large as lets the whole tab show at once, and no smaller than a floor (thumbnails
// 48 high) where they cannot, the page then scrolls.
ButtonLayout LayOutButtons(ButtonTab tab, int width, int height, const PanelFont& font);

struct RowLayout {
  int row_height = 20;
  std::vector<int> tops;  // each Elements row's, in the table's order
  std::vector<PanelHeading> headings;
  int height = 0;
};

// The Elements rows on a page `height` high: the fixed rows 20 apart from y 5; with room to spare,
// taller rows, each screen's below a heading where the page holds them (the headings' places
// have no width: they span the page), else apart from the next screen's by a gap.
RowLayout LayOutElementRows(int height, const PanelFont& font);

}  // namespace app

// The side panel as data: its colour buttons, image buttons and element rows with their gadget
// numbers, places, texts, what they edit and the preview screen they belong to. The panel is built
// by walking these tables.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

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

}  // namespace app

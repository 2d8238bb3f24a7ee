// The side panel as data: its colour buttons, image buttons and element rows with their gadget
// numbers, places, texts, what they edit and the preview screen they belong to. The panel is built
// by walking these tables.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

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
inline constexpr int kMaxX = 255, kMaxY = 191, kMaxW = 255;

// What an element gadget edits: its field, and whether it is a check box.
struct ElementGadget {
  skin::FieldId field;
  bool check_box;
};
std::optional<ElementGadget> FindElementGadget(int gadget);

const ColourButton* FindColourButton(int gadget);
const ImageButton* FindImageButton(int gadget);

}  // namespace app

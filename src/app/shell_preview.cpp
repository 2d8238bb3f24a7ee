// The shell's answers to the pointer over the preview: what is under it, a click that shows the
// gadget that edits it, a drag that moves its element, and pictures dropped to import.
#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "app/fixed_numbers.h"
#include "app/panel_tables.h"
#include "app/shell.h"

namespace app {
namespace {

// The gadget a click on what `gadgets` edit shows: the image or colour button, else the x spin.
int ClickGadget(const SourceGadgets& gadgets) {
  if (gadgets.edit != 0) return gadgets.edit;
  if (gadgets.x) return GadgetOf(*gadgets.x);
  return gadgets.y ? GadgetOf(*gadgets.y) : 0;
}

bool Draggable(const SourceGadgets& gadgets) { return gadgets.x || gadgets.y; }

// The moves that keep what `section` drew on the screen under canvas point `canvas` whole on that
// screen: from the room left of and above its pixels to the room right of and below them. Toward
// an edge it already crosses it cannot move at all; none when it drew nothing there.
std::optional<QRect> DragRoom(const preview::ScreenSources& sources, QPoint canvas,
                              skin::SectionId section) {
  const bool top = canvas.y() < preview::kHingeAt.y;
  const preview::SourceMap& map = top ? sources.top : sources.bottom;
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
  // As moves: from -left to +(width - 1 - right), and the same down the screen.
  return QRect(QPoint(-left, -upper),
               QPoint(std::max(0, map.width - 1 - right), std::max(0, map.height - 1 - lower)));
}

}  // namespace

std::string SectionName(skin::SectionId section) {
  std::string name = "[";  // appended, not "[" + ...: GCC 12 warns falsely on that form
  name += skin::Info(section).name;
  name += ']';
  return name;
}

preview::Source Shell::SourceAt(QPoint canvas) {
  if (!sources_) {
    try {
      sources_.emplace();
      preview::DrawScreens(document(), state_.selected_screen, &*sources_);
    } catch (const std::bad_alloc&) {
      sources_.reset();
      return {};
    }
  }
  return preview::CanvasSourceAt(*sources_, canvas.x(), canvas.y());
}

void Shell::ShowPointed(QPoint canvas) {
  const preview::Source source = SourceAt(canvas);
  const SourceGadgets gadgets = FindSourceGadgets(source, state_.selected_screen);
  const auto format = [this](std::string_view key, std::initializer_list<std::string_view> args) {
    return i18n::FormatText(Text(key), args);
  };
  std::string what;
  switch (source.kind) {
    case preview::SourceKind::kPicture:
      if (const std::optional<skin::SlotId> slot = source.slot()) {
        const imaging::Image& picture = document().Slot(*slot);
        what = format("LANG_PICK_PICTURE$",
                      {skin::Info(*slot).BaseName(), std::to_string(picture.width),
                       std::to_string(picture.height)});
      } else {
        const imaging::Image& icon = document().sample_game_icon;
        what =
            format("LANG_PICK_SAMPLE$", {std::to_string(icon.width), std::to_string(icon.height)});
      }
      break;
    case preview::SourceKind::kText:
    case preview::SourceKind::kBox:
    case preview::SourceKind::kLine: {
      static constexpr std::string_view kKinds[] = {
          "", "", "", "LANG_PICK_TEXT$", "LANG_PICK_BOX$", "LANG_PICK_LINE$"};
      const std::optional<skin::ColourId> colour = source.colour();
      what = format(kKinds[static_cast<int>(source.kind)],
                    {colour ? std::string(skin::Info(*colour).key) : Text("LANG_PICK_WHITE$")});
      break;
    }
    case preview::SourceKind::kBackground:
    case preview::SourceKind::kHinge:
      break;
  }
  if (const std::optional<skin::SectionId> section = source.placed_by(); section && !what.empty()) {
    what = format("LANG_PICK_PLACED$", {what, SectionName(*section)});
  }
  if (Draggable(gadgets)) what = format("LANG_PICK_DRAG$", {what});
  window_->ShowStatus(QString::fromStdString(what));
  window_->panel()->Highlight(ClickGadget(gadgets));
  QWidget* viewport = window_->preview()->viewport();
  if (Draggable(gadgets)) {
    viewport->setCursor(Qt::SizeAllCursor);
  } else if (ClickGadget(gadgets) != 0) {
    viewport->setCursor(Qt::PointingHandCursor);
  } else {
    viewport->unsetCursor();
  }
}

void Shell::OnPreviewPointer(const PreviewView::Pointer& pointer) {
  using Type = PreviewView::Pointer::Type;
  switch (pointer.type) {
    case Type::kMove:
      if (press_ && pointer.left_held) {
        DragPreview(pointer.canvas);
        return;
      }
      // A release that never came (the button let go elsewhere) ends the press.
      press_.reset();
      ShowPointed(pointer.canvas);
      return;
    case Type::kPress:
      PressPreview(pointer.canvas);
      return;
    case Type::kRelease:
      ReleasePreview(pointer.canvas);
      return;
    case Type::kLeave:
      if (press_) return;
      window_->ShowStatus(QString());
      window_->panel()->Highlight(0);
      window_->preview()->viewport()->unsetCursor();
      return;
  }
}

void Shell::PressPreview(QPoint canvas) {
  const preview::Source source = SourceAt(canvas);
  const SourceGadgets gadgets = FindSourceGadgets(source, state_.selected_screen);
  press_ = Press{canvas,
                 source,
                 ClickGadget(gadgets),
                 gadgets.x,
                 gadgets.y,
                 gadgets.x ? window_->panel()->FieldValue(*gadgets.x) : 0,
                 gadgets.y ? window_->panel()->FieldValue(*gadgets.y) : 0,
                 false,
                 std::nullopt};
  if (Draggable(gadgets) && sources_ && source.placed_by()) {
    press_->room = DragRoom(*sources_, canvas, *source.placed_by());
  }
}

void Shell::DragPreview(QPoint canvas) {
  if (!press_->x && !press_->y) return;
  // The element stops at its screen's edges rather than leave the screen.
  QPoint moved = canvas - press_->canvas;
  if (const std::optional<QRect>& room = press_->room) {
    moved = QPoint(std::clamp(moved.x(), room->left(), room->right()),
                   std::clamp(moved.y(), room->top(), room->bottom()));
  }
  SidePanel* panel = window_->panel();
  if (!press_->dragging) {
    if (moved.isNull()) return;
    press_->dragging = true;
    ++gesture_count_;
    // The Elements tab shows the numbers change as the element moves.
    const int shown = GadgetOf(press_->x ? *press_->x : *press_->y);
    panel->Reveal(shown);
    panel->Highlight(shown);
  }
  // Through the fields, as if typed there, so that their ranges apply; then what they show is
  // stored as one change of both, merged into the drag's one step, and drawn once.
  const std::pair<std::optional<skin::FieldId>, int> axes[] = {
      {press_->x, press_->start_x + moved.x()}, {press_->y, press_->start_y + moved.y()}};
  std::vector<session::SkinSession::FieldValue> changed;
  for (const auto& [field, value] : axes) {
    if (field && panel->SetFieldQuietly(*field, value)) {
      changed.push_back({*field, panel->FieldValue(*field)});
    }
  }
  if (changed.empty()) return;
  const BusyScope busy(busy_);
  Apply(session_.SetFields(changed, {session::StepKind::kMove, *press_->source.placed_by()},
                           session::Gesture{gesture_count_}));
}

void Shell::ReleasePreview(QPoint canvas) {
  if (!press_) return;
  const Press press = *press_;
  press_.reset();
  if (!press.dragging && press.edit_gadget != 0 && SourceAt(canvas) == press.source) {
    window_->panel()->Reveal(press.edit_gadget);
  }
  ShowPointed(canvas);
}

bool Shell::OnFileDrop(int gadget, QPoint canvas, const std::string& path) {
  std::optional<skin::SlotId> slot;
  if (gadget == kGadgetPreviewImage) {
    // The slot of the picture under the drop point, whichever screen's panel offers its button.
    slot = SourceAt(canvas).slot();
    if (path.empty()) ShowPointed(canvas);
  } else {
    slot = SlotOfButtonOn(gadget, state_.selected_screen);
  }
  if (!slot || path.empty()) return slot.has_value();
  const BusyScope busy(busy_);
  ImportImageFile(*slot, path);
  if (gadget == kGadgetPreviewImage) ShowPointed(canvas);
  return true;
}

}  // namespace app

// The gestures over the preview.
#include "app/preview_gestures.h"

#include <QMenu>
#include <new>
#include <optional>
#include <tuple>
#include <vector>

#include "app/fixed_numbers.h"
#include "app/main_window.h"
#include "app/panel_tables.h"
#include "app/step_texts.h"
#include "skin/field_ranges.h"

namespace app {
namespace {

// The gadget a click on what `gadgets` edit shows: the image or colour button, else the x spin.
int ClickGadget(const SourceGadgets& gadgets) {
  if (gadgets.edit != 0) return gadgets.edit;
  if (gadgets.x) return GadgetOf(*gadgets.x);
  return gadgets.y ? GadgetOf(*gadgets.y) : 0;
}

bool Draggable(const SourceGadgets& gadgets) { return gadgets.x || gadgets.y; }

}  // namespace

PreviewGestures::PreviewGestures(EditorHost& host, session::SkinSession& session,
                                 const i18n::UiTexts& texts, const ShellState& state,
                                 Imports imports)
    : host_(host), session_(session), texts_(texts), state_(state), imports_(std::move(imports)) {}

preview::Source PreviewGestures::SourceAt(QPoint canvas) {
  if (!sources_) {
    try {
      sources_.emplace();
      preview::DrawScreens(session_.document(), state_.selected_screen, &*sources_);
    } catch (const std::bad_alloc&) {
      sources_.reset();
      return {};
    }
  }
  return preview::CanvasSourceAt(*sources_, canvas.x(), canvas.y());
}

void PreviewGestures::ShowPointed(QPoint canvas) {
  const preview::Source source = SourceAt(canvas);
  const SourceGadgets gadgets = FindSourceGadgets(source, state_.selected_screen);
  const auto format = [this](std::string_view key, std::initializer_list<std::string_view> args) {
    return i18n::FormatText(Text(key), args);
  };
  std::string what;
  switch (source.kind) {
    case preview::SourceKind::kPicture:
      if (const std::optional<skin::SlotId> slot = source.slot()) {
        const imaging::Image& picture = session_.document().Slot(*slot);
        what = format("LANG_PICK_PICTURE$",
                      {skin::Info(*slot).BaseName(), std::to_string(picture.width),
                       std::to_string(picture.height)});
      } else {
        const imaging::Image& icon = session_.document().sample_game_icon;
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
  MainWindow* window = host_.window();
  window->ShowStatus(QString::fromStdString(what));
  window->PointToGadget(ClickGadget(gadgets), false);
  if (Draggable(gadgets)) {
    window->SetPreviewCursor(Qt::SizeAllCursor);
  } else if (ClickGadget(gadgets) != 0) {
    window->SetPreviewCursor(Qt::PointingHandCursor);
  } else {
    window->SetPreviewCursor(std::nullopt);
  }
}

void PreviewGestures::Pointer(const PreviewView::Pointer& pointer) {
  using Type = PreviewView::Pointer::Type;
  switch (pointer.type) {
    case Type::kMove:
      if (press_ && pointer.left_held) {
        Drag(pointer.canvas);
        return;
      }
      // A release that never came (the button let go elsewhere) ends the press.
      press_.reset();
      ShowPointed(pointer.canvas);
      return;
    case Type::kPress:
      Press(pointer.canvas);
      return;
    case Type::kRelease:
      Release(pointer.canvas);
      return;
    case Type::kLeave:
      if (press_) return;
      host_.window()->ShowStatus(QString());
      host_.window()->PointToGadget(0, false);
      host_.window()->SetPreviewCursor(std::nullopt);
      return;
  }
}

void PreviewGestures::Press(QPoint canvas) {
  const preview::Source source = SourceAt(canvas);
  const SourceGadgets gadgets = FindSourceGadgets(source, state_.selected_screen);
  // The fields start from what their gadgets show, a value outside their range as its nearest.
  const auto shown = [this](const std::optional<skin::FieldId>& field) {
    return field ? skin::NearestShownValue(*field, session_.document().Field(*field)) : 0;
  };
  press_ = Pressed{canvas,           source,    ClickGadget(gadgets),
                   gadgets.x,        gadgets.y, shown(gadgets.x),
                   shown(gadgets.y), false,     std::nullopt};
  if (Draggable(gadgets) && sources_ && source.placed_by()) {
    press_->room = preview::DragRoomOf(*sources_, canvas.y(), *source.placed_by());
  }
}

void PreviewGestures::Drag(QPoint canvas) {
  if (!press_->x && !press_->y) return;
  preview::Move moved{canvas.x() - press_->canvas.x(), canvas.y() - press_->canvas.y()};
  if (press_->room) moved = press_->room->Keep(moved);
  if (!press_->dragging) {
    if (moved == preview::Move{}) return;
    press_->dragging = true;
    ++gesture_count_;
    // The Elements tab shows the numbers change as the element moves.
    host_.window()->PointToGadget(GadgetOf(press_->x ? *press_->x : *press_->y), true);
  }
  // Both fields change as one, merged into the drag's one step, and drawn once.
  const std::tuple<std::optional<skin::FieldId>, std::int32_t, int> axes[] = {
      {press_->x, press_->start_x, moved.dx}, {press_->y, press_->start_y, moved.dy}};
  std::vector<session::SkinSession::FieldValue> changed;
  for (const auto& [field, start, by] : axes) {
    if (!field) continue;
    const std::int32_t value = preview::DraggedValue(*field, start, by);
    if (value != skin::NearestShownValue(*field, session_.document().Field(*field)))
      changed.push_back({*field, value});
  }
  if (changed.empty()) return;
  const BusyScope busy(host_.busy());
  host_.Apply(session_.SetFields(changed, {session::StepKind::kMove, *press_->source.placed_by()},
                                 session::Gesture{gesture_count_}));
}

void PreviewGestures::Release(QPoint canvas) {
  if (!press_) return;
  const Pressed press = *press_;
  press_.reset();
  if (!press.dragging && press.edit_gadget != 0 && SourceAt(canvas) == press.source) {
    host_.window()->PointToGadget(press.edit_gadget, true);
  }
  ShowPointed(canvas);
}

bool PreviewGestures::Drop(std::optional<skin::SlotId> slot, const std::string& path) {
  if (!slot || path.empty()) return slot.has_value();
  const BusyScope busy(host_.busy());
  imports_.file(*slot, path);
  return true;
}

bool PreviewGestures::SlotDrop(skin::SlotId slot, const std::string& path) {
  return Drop(SlotButtonOn(slot, state_.selected_screen) ? std::optional(slot) : std::nullopt,
              path);
}

bool PreviewGestures::PreviewDrop(QPoint canvas, const std::string& path) {
  // The slot of the picture under the drop point, whichever screen's panel offers its button.
  const bool taken = Drop(SourceAt(canvas).slot(), path);
  ShowPointed(canvas);
  return taken;
}

void PreviewGestures::SlotMenu(skin::SlotId slot, QPoint global) {
  if (SlotButtonOn(slot, state_.selected_screen)) Menu(slot, global);
}

void PreviewGestures::PreviewMenu(QPoint canvas, QPoint global) {
  if (const std::optional<skin::SlotId> slot = SourceAt(canvas).slot()) Menu(*slot, global);
}

void PreviewGestures::Menu(skin::SlotId slot, QPoint global) {
  QMenu menu(host_.window());
  menu.setObjectName("PictureMenu");
  const auto item = [&menu, this](std::string_view key, bool enabled) {
    QAction* action = menu.addAction(QString::fromStdString(Text(key)));
    action->setObjectName(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    action->setEnabled(enabled);
    return action;
  };
  const imaging::Image& picture = session_.document().Slot(slot);
  const QAction* import = item("LANG_IMAGE_IMPORT$", true);
  const QAction* adjust =
      item("LANG_IMAGE_ADJUST$", session_.RecipeOf(slot) != nullptr || !picture.Empty());
  menu.addSeparator();
  const QAction* exported = item("LANG_IMAGE_EXPORT$", !picture.Empty());
  const QAction* revert = item("LANG_IMAGE_REVERT$", true);
  const QAction* edit = item("LANG_IMAGE_EDIT$", true);
  const QAction* chosen = menu.exec(global);
  if (chosen == nullptr) return;
  if (chosen == import) imports_.choose(slot);
  if (chosen == adjust) imports_.adjust(slot);
  if (chosen == exported) imports_.export_picture(slot);
  if (chosen == revert) imports_.revert(slot);
  if (chosen == edit) imports_.edit_elsewhere(slot);
}

}  // namespace app

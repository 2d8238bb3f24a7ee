// The pointer over the preview: what is under it, a click that shows the gadget that edits it, a
// drag that moves its element as one step, pictures dragged over or dropped on it, and the menu of
// a picture (also of an image button) with Import picture and Adjust import.
#pragma once

#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/editor_host.h"
#include "app/preview_view.h"
#include "i18n/ui_texts.h"
#include "preview/element_drag.h"
#include "preview/preview.h"
#include "session/skin_session.h"

namespace app {

class PreviewGestures {
 public:
  // What a drop or the menu of a picture asks of the import flow and the picture actions.
  struct Imports {
    std::function<void(skin::SlotId, const std::string&)> file;  // import this file
    std::function<void(skin::SlotId)> choose;                    // Import picture
    std::function<void(skin::SlotId)> adjust;                    // Adjust import
    std::function<void(skin::SlotId)> export_picture;            // Export picture
    std::function<void(skin::SlotId)> revert;                    // Revert to default
    std::function<void(skin::SlotId)> edit_elsewhere;            // Edit in the image editor
  };

  PreviewGestures(EditorHost& host, session::SkinSession& session, const i18n::UiTexts& texts,
                  const ShellState& state, Imports imports);

  void Pointer(const PreviewView::Pointer& pointer);
  // A picture file over the image button of `slot`, or over the preview image at canvas pixel
  // `canvas`: dragged over it when `path` is empty, dropped on it otherwise. True when the button
  // or the picture there takes (or would take) the file.
  bool SlotDrop(skin::SlotId slot, const std::string& path);
  bool PreviewDrop(QPoint canvas, const std::string& path);
  // The menu of the image button of `slot` or of the picture at `canvas` on the preview, at
  // `global`.
  void SlotMenu(skin::SlotId slot, QPoint global);
  void PreviewMenu(QPoint canvas, QPoint global);
  // The preview was drawn anew: what it shows is looked up afresh at the next question.
  void Redrawn() { sources_.reset(); }

 private:
  // What the preview shows at canvas pixel `canvas`. The screens are drawn once more with their
  // record at the first question after a redraw, so that redrawing itself records nothing.
  preview::Source SourceAt(QPoint canvas);
  // Names what is at `canvas` in the status bar, marks the gadget that edits it and gives the
  // pointer the shape of what a press there does.
  void ShowPointed(QPoint canvas);
  // A press of the left button on the preview and the drag that may follow it.
  void Press(QPoint canvas);
  void Drag(QPoint canvas);
  void Release(QPoint canvas);
  // Imports a dropped file into `slot` when it is given; true when a slot takes it.
  bool Drop(std::optional<skin::SlotId> slot, const std::string& path);
  void Menu(skin::SlotId slot, QPoint global);
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  const ShellState& state_;
  Imports imports_;
  std::optional<preview::ScreenSources> sources_;  // of the preview as last drawn
  struct Pressed {
    QPoint canvas;
    preview::Source source;
    int edit_gadget;  // what a click reveals, 0 for none
    std::optional<skin::FieldId> x, y;
    std::int32_t start_x, start_y;  // the values the fields' gadgets showed at the press
    bool dragging = false;
    std::optional<preview::DragRoom> room;  // the moves that keep the element on its screen
  };
  std::optional<Pressed> press_;
  int gesture_count_ = 0;
};

}  // namespace app

// What the menu of a picture does besides importing: Export picture (the slot's picture as a PNG
// or BMP file), Revert to default (the built-in picture, one step) and Edit in the image editor
// (the slot's file in the skin folder, opened in the system's program for it; the live link
// brings back what that program saves).
#pragma once

#include <string>
#include <string_view>

#include "app/editor_host.h"
#include "app/user_dialogs.h"
#include "i18n/ui_texts.h"
#include "session/skin_session.h"

namespace app {

class PictureActions {
 public:
  PictureActions(EditorHost& host, UserDialogs& dialogs, session::SkinSession& session,
                 const i18n::UiTexts& texts, const ShellState& state);

  void Export(skin::SlotId slot);
  void Revert(skin::SlotId slot);
  void EditElsewhere(skin::SlotId slot);

 private:
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  UserDialogs& dialogs_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  const ShellState& state_;
};

}  // namespace app

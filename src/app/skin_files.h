// The skin's files as the editor's commands handle them: a new skin, a skin opened from a folder or
// an archive (chosen, recent, dropped or named on the command line), saved in place or into a
// chosen folder, exported as an archive, and screenshots of its screens. Unsaved changes are asked
// about before the skin is left.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/editor_host.h"
#include "app/live_link.h"
#include "app/user_dialogs.h"
#include "app/workspace.h"
#include "i18n/ui_texts.h"
#include "session/skin_session.h"
#include "skin/skin_saver.h"

namespace app {

// `chosen` when its extension is `extension` in any letter case, else `chosen` + "." + extension.
std::string WithExtension(const std::string& chosen, std::string_view extension);

// The file name a screenshot is saved under, or "" when nothing is saved. The chosen filter
// (0 PNG, 1 BMP, 2 JPEG) decides the format and the extension (WithExtension).
std::string ScreenshotFileName(const std::string& chosen, int filter);

// The folder an archive of the skin is proposed in: the folder above the skin's folder when it
// has one (`skin_folder`, with its trailing separator), else `last_path`.
std::string ArchiveFolder(const std::string& skin_folder, const std::string& last_path);

class SkinFiles {
 public:
  // What is opened or saved goes to the recent skins of `workspace`; a save into the followed
  // folder counts as seen by `live_link`.
  SkinFiles(EditorHost& host, UserDialogs& dialogs, session::SkinSession& session,
            const i18n::UiTexts& texts, ShellState& state, int code_page, Workspace& workspace,
            LiveLink& live_link);

  void NewSkin();
  void OpenFolder();
  void OpenArchive();
  void OpenRecent(std::size_t index);
  // Opens the skin named on the command line: a folder as Open folder does, anything else as Open
  // archive does (a file that is no skin archive gets the no-skin message). A relative path is
  // taken from the working folder.
  void OpenArgument(const std::string& path);
  // A skin folder or archive dropped on the window; true when it was taken.
  bool Drop(const std::string& path);
  // Writes the skin back into the folder it was opened from or last saved to; without one, or
  // when its path no longer leads to that folder (said in a message), asks for a folder as
  // SaveFolder does. True when every file of the skin was written.
  bool Save();
  // Asks for a folder and saves the skin there. True when every file of the skin was written.
  bool SaveFolder();
  void ExportArchive();
  // A screenshot of preview screen `screen`, to a chosen file or to the clipboard.
  void Screenshot(bool to_clipboard, int screen);
  // Asks for the end of the program, which comes once the skin may be left.
  void Quit();

 private:
  // Whether the skin may be left for another one: true when it has no unsaved changes or the user
  // saved them completely or chose to discard them.
  bool MayLeave(std::string_view question_key);
  // Opens a chosen skin folder or archive, as Open folder and Open archive do once the user chose.
  void OpenChosen(const std::string& path, bool zip);
  void Load(const std::string& path, bool zip);
  // Saves the skin into `folder`, with the messages, progress and status of a save.
  bool SaveInto(const std::string& folder);
  skin::SaveOptions SaveOptionsNow() const;
  void SaveScreenshot(bool to_clipboard, int screen);
  void SetLastPath(std::string path);
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  UserDialogs& dialogs_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  ShellState& state_;
  int code_page_;
  Workspace& workspace_;
  LiveLink& live_link_;
};

}  // namespace app

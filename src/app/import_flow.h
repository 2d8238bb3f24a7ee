// The import flow: a chosen or dropped picture of the slot's size is taken as it is, any other goes
// through the import studio; Adjust import reopens the studio on the file a picture came from, and
// while changes on disk are followed, a change of that file imports it again with the same
// settings. Each import is one step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/editor_host.h"
#include "app/file_watcher.h"
#include "app/user_dialogs.h"
#include "i18n/ui_texts.h"
#include "imaging/picture_fit.h"
#include "session/skin_session.h"

namespace app {

class ImportFlow {
 public:
  ImportFlow(EditorHost& host, UserDialogs& dialogs, session::SkinSession& session,
             const i18n::UiTexts& texts, const ShellState& state);

  // Import picture: asks for a file and imports it into `slot`.
  void Choose(skin::SlotId slot);
  // Imports `path` into `slot` as one step, with the messages of an import: a picture of the
  // slot's size (its picture's, or the expected one when it is empty) at once, any other through
  // the import studio.
  void ImportFile(skin::SlotId slot, const std::string& path);
  // Opens the import studio on the file the slot's picture was imported from, with the settings
  // it was imported with; with `to_expected`, aimed at the slot's expected size. A picture without
  // such a file, or whose file is gone (the studio says so), is fitted from itself.
  void Adjust(skin::SlotId slot, bool to_expected = false);

  // Whether the files the pictures were imported from are followed on disk.
  void SetFollowing(bool follow);
  // After an edit: an import, or an undo or redo past one, changes which files are followed.
  void Apply(const session::Changes& changes);

 private:
  // The studio on `picture`, decoded from `path` ("" for the slot's own picture), fitted into
  // `slot` with `settings` at first; OK imports what it makes as one step. `missing_source` names
  // the file the picture was made from when it is gone.
  void RunStudio(skin::SlotId slot, const std::string& path, imaging::DecodedForFit picture,
                 imaging::FitSettings settings, const std::string& missing_source = {});
  // The picture file at `path` read for the studio, a JPEG at the scale the first fit `plan` makes
  // needs (the studio decodes it finer when a zoom needs it); a file that cannot be taken is
  // reported as an import that was not made.
  std::optional<imaging::DecodedForFit> ReadSource(skin::SlotId slot, const std::string& path,
                                                   const imaging::FitPlanFor& plan);
  // Puts `fitted`, which `settings` made of the file at `path` ("" for the slot's own picture),
  // into `slot` as one step, with the status of an import.
  void TakeImport(skin::SlotId slot, const std::string& path, const imaging::FitSettings& settings,
                  imaging::Image fitted);
  // Shows a screen that draws `slot`, the one shown when it does.
  void ShowScreenOf(skin::SlotId slot);
  void FollowSources();
  void ReimportChangedSources(const std::vector<FileWatcher::Change>& changes);
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  UserDialogs& dialogs_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  const ShellState& state_;
  bool following_ = false;
  FileWatcher sources_;  // the files the slots' pictures were imported from
};

}  // namespace app

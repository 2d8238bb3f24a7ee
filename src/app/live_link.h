// The live link to the skin folder: while the editor follows changes on disk, a file of the skin
// rewritten outside the editor is reloaded as one step, unless the user has unsaved changes to it;
// those wait in the bar above the preview for the user's answer.
#pragma once

#include <string>
#include <vector>

#include "app/editor_host.h"
#include "app/file_watcher.h"
#include "i18n/ui_texts.h"
#include "session/skin_session.h"

namespace app {

class LiveLink {
 public:
  LiveLink(EditorHost& host, session::SkinSession& session, const i18n::UiTexts& texts,
           int code_page);

  // Whether the folder the skin comes from is followed; the switch of Options > Follow changes.
  void SetFollowing(bool follow);
  // Follows the session's folder anew, while following is on. Called after a save into the
  // folder, so that what the save wrote counts as seen.
  void FollowOrigin();
  // After an edit: a skin that comes from elsewhere now is followed there, and what waited for an
  // answer about the old folder is dropped.
  void Apply(const session::Changes& changes);
  // The answer of the bar above the preview: take the disk's version of each waiting file (one
  // step each), or keep the user's.
  void Answer(bool reload);
  // Shows the files that wait for an answer in the bar above the preview, or hides the bar.
  void ShowDiskChanges();

  // The skin folder followed, with its trailing separator; "" when none.
  const std::string& folder() const { return folder_; }
  const std::vector<session::SkinFile>& disk_changes() const { return disk_changes_; }

 private:
  // Takes the changed files of the followed folder.
  void ReloadChangedFiles(const std::vector<FileWatcher::Change>& changes);
  // Reloads one file; "" when done, else the message why not.
  std::string ReloadFile(const session::SkinFile& file, bool take);
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  int code_page_;
  bool following_ = false;
  std::string folder_;
  std::vector<session::SkinFile> disk_changes_;
  FileWatcher watcher_;
};

}  // namespace app

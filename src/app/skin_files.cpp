// The skin's files: new, open, save, export and screenshots.
#include "app/skin_files.h"

#include <filesystem>
#include <new>
#include <utility>

#include "app/main_window.h"
#include "app/window_feedback.h"
#include "base/paths.h"
#include "i18n/program_settings.h"
#include "imaging/screenshot_writer.h"
#include "preview/contact_sheet.h"
#include "preview/preview.h"
#include "skin/skin_export.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace app {
namespace {

// The folder part of a file name, up to and including its last separator.
std::string FolderOf(const std::string& path) { return std::string(base::FolderOf(path)); }

}  // namespace

std::string WithExtension(const std::string& chosen, std::string_view extension) {
  const std::string dotted = "." + std::string(extension);
  return base::HasExtension(chosen, dotted) ? chosen : chosen + dotted;
}

std::string ArchiveFolder(const std::string& skin_folder, const std::string& last_path) {
  if (skin_folder.empty()) return base::FolderWithSeparator(last_path);
  const std::string up = FolderOf(base::WithoutTrailingSeparator(skin_folder));
  return up.empty() ? skin_folder : up;
}

std::string ScreenshotFileName(const std::string& chosen, int filter) {
  static constexpr const char* kExtensions[] = {"png", "bmp", "jpg"};
  if (chosen.empty() || filter < 0 || filter > 2) return {};
  return WithExtension(chosen, kExtensions[filter]);
}

SkinFiles::SkinFiles(EditorHost& host, UserDialogs& dialogs, session::SkinSession& session,
                     const i18n::UiTexts& texts, ShellState& state, int code_page,
                     Workspace& workspace, LiveLink& live_link)
    : host_(host),
      dialogs_(dialogs),
      session_(session),
      texts_(texts),
      state_(state),
      code_page_(code_page),
      workspace_(workspace),
      live_link_(live_link) {}

void SkinFiles::Quit() {
  if (MayLeave("LANG_QUIT_QUESTION$")) state_.quit_requested = true;
}

bool SkinFiles::MayLeave(std::string_view question_key) {
  if (!session_.Modified()) return true;
  switch (dialogs_.AskSaveChanges(question_key)) {
    case UserDialogs::SaveAnswer::kSave:
      // A save that was cancelled or left a file unwritten keeps the skin.
      return Save();
    case UserDialogs::SaveAnswer::kDiscard:
      return true;
    case UserDialogs::SaveAnswer::kCancel:
      break;
  }
  return false;
}

void SkinFiles::OpenRecent(std::size_t index) {
  const std::optional<std::string> path = workspace_.RecentSkin(index);
  if (path && MayLeave("LANG_REPLACE_QUESTION$")) {
    OpenChosen(*path, skin::OpensAsArchive(*path));
  }
}

void SkinFiles::NewSkin() {
  if (!MayLeave("LANG_REPLACE_QUESTION$")) return;
  const session::Changes changes = session_.NewSkin();
  host_.SelectScreen(0);
  host_.Apply(changes);
  host_.RedrawPreview();
  host_.Report("LANG_STATUS_NEW$", {});
}

void SkinFiles::OpenFolder() {
  if (!MayLeave("LANG_REPLACE_QUESTION$")) return;
  const std::string chosen = dialogs_.ChooseFolder(Text("LANG_REQPATH_LOAD$"), state_.last_path);
  if (!chosen.empty()) OpenChosen(chosen, false);
}

void SkinFiles::OpenArchive() {
  if (!MayLeave("LANG_REPLACE_QUESTION$")) return;
  const std::string chosen =
      dialogs_.ChooseOpenFile(Text("LANG_REQFILE_LOAD$"),
                              base::FolderWithSeparator(state_.last_path) + "*.zip", "* (*.zip)");
  if (!chosen.empty()) OpenChosen(chosen, true);
}

void SkinFiles::SetLastPath(std::string path) {
  // settings.ini holds one value a line: a path it cannot hold is not remembered.
  if (!i18n::SettingsCanHold(path)) return;
  state_.last_path = std::move(path);
}

void SkinFiles::OpenChosen(const std::string& path, bool zip) {
  SetLastPath(zip ? FolderOf(path) : path);
  Load(path, zip);
}

void SkinFiles::OpenArgument(const std::string& path) {
  const BusyScope busy(host_.busy());
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(base::FsPath(path), error);
  if (error) full = base::FsPath(path);
  const std::string name = base::Utf8Path(full.lexically_normal());
  const bool zip = skin::OpensAsArchive(name);
  SetLastPath(zip ? FolderOf(name) : base::FolderWithSeparator(name));
  Load(name, zip);
}

bool SkinFiles::Drop(const std::string& path) {
  const BusyScope busy(host_.busy());
  const bool zip = skin::OpensAsArchive(path);
  if (!MayLeave("LANG_REPLACE_QUESTION$")) return false;
  OpenChosen(zip ? path : base::FolderWithSeparator(path), zip);
  return true;
}

void SkinFiles::Load(const std::string& path, bool zip) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), host_.window()->progress(),
                          Text("LANG_QUIET$"));
  const skin::LoadOptions options{code_page_, host_.Messages()};
  // The whole load is one step: its undo gives back the skin that was open before.
  const session::SkinSession::Opened opened = session_.Open(path, zip, options, feedback);
  if (opened.opened) workspace_.RememberSkin(path, zip);
  host_.SelectScreen(0);
  host_.Apply(opened.changes);
  host_.RedrawPreview();
  host_.Report(opened.opened ? "LANG_STATUS_OPENED$" : "LANG_STATUS_NOT_OPENED$", {path},
               feedback.messages(), feedback.not_shown());
}

skin::SaveOptions SkinFiles::SaveOptionsNow() const {
  skin::SaveOptions options;
  options.code_page = code_page_;
  options.last_update = skin::CurrentLastUpdate();
  options.texts = host_.Messages();
  return options;
}

bool SkinFiles::Save() {
  if (session_.folder().empty()) return SaveFolder();
  if (!session_.MaySaveInPlace()) {
    // The path now leads to another folder, maybe another skin: the user says where to save.
    dialogs_.ShowError(Text("LANG_ERROR$"),
                       i18n::FormatText(Text("LANG_FOLDER_REPLACED$"), {session_.folder()}));
    return SaveFolder();
  }
  return SaveInto(session_.folder());
}

bool SkinFiles::SaveFolder() {
  const std::string folder = dialogs_.ChooseSaveFolder(Text("LANG_REQPATH_SAVE$"),
                                                       skin::NewSkinFolderStart(state_.last_path));
  if (folder.empty()) return false;
  SetLastPath(folder);
  return SaveInto(folder);
}

bool SkinFiles::SaveInto(const std::string& folder) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), host_.window()->progress(),
                          Text("LANG_QUIET$"));
  const session::SkinSession::Saved saved = session_.Save(folder, SaveOptionsNow(), feedback);
  if (saved.complete) workspace_.RememberSkin(folder, false);
  // What the save wrote is no change from outside, also when it wrote only part of the skin. A
  // partial save elsewhere leaves the followed folder alone, with what changed there unseen.
  if (session_.folder() == base::FolderWithSeparator(folder)) live_link_.FollowOrigin();
  host_.Apply(saved.changes);  // the save stamped LastUpdate
  host_.Report("LANG_STATUS_SAVED$", {std::to_string(saved.written), folder}, feedback.messages(),
               feedback.not_shown());
  return saved.complete;
}

void SkinFiles::ExportArchive() {
  // Beside the skin's folder rather than inside it, where the archive would become part of the
  // skin.
  const std::string proposed = ArchiveFolder(session_.folder(), state_.last_path) +
                               skin::SkinFolderName(session_.document().info.Title) + ".zip";
  const UserDialogs::SaveChoice choice =
      dialogs_.ChooseSaveFile(Text("LANG_REQFILE_SAVE_ZIP$"), proposed, {"* (*.zip)"});
  if (choice.path.empty()) return;
  SetLastPath(FolderOf(choice.path));
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), host_.window()->progress(),
                          Text("LANG_QUIET$"));
  // The contact sheet on black, as skinsmith-cli export draws it, whatever the preview's
  // background: the archive is the same from either program.
  const std::string zip_path = WithExtension(choice.path, "zip");
  session::SkinSession::Exported exported;
  try {
    exported = session_.Export(zip_path, preview::RenderContactSheet(session_.document(), 0),
                               SaveOptionsNow(), feedback);
  } catch (const std::bad_alloc&) {
    host_.ReportOutOfMemory();
    return;
  }
  if (exported.saved) workspace_.RememberSkin(zip_path, true);
  host_.Apply(exported.changes);
  host_.Report(exported.saved ? "LANG_STATUS_EXPORTED$" : "LANG_STATUS_NOT_SAVED$", {zip_path},
               feedback.messages(), feedback.not_shown());
}

void SkinFiles::Screenshot(bool to_clipboard, int screen) {
  try {
    SaveScreenshot(to_clipboard, screen);
  } catch (const std::bad_alloc&) {
    host_.ReportOutOfMemory();
  }
}

void SkinFiles::SaveScreenshot(bool to_clipboard, int screen) {
  const imaging::Image shot = preview::RenderScreenshot(session_.document(), screen,
                                                        workspace_.preferences().screenshot_scale);
  // The status names the screen by its button's number and its name in the Screen menu.
  const std::string number = std::to_string(screen + 1);
  const std::string name = Text(i18n::ScreenNameKey(screen));
  if (to_clipboard) {
    dialogs_.CopyToClipboard(shot);
    host_.Report("LANG_STATUS_SHOT_COPIED$", {number, name});
    return;
  }
  const UserDialogs::SaveChoice choice = dialogs_.ChooseSaveFile(
      Text("LANG_REQFILE_SAVE$"), state_.last_path,
      {"Portable Network Graphic (*.png)", "Bitmap (*.bmp)", "JPEG (*.jpg)"});
  if (choice.path.empty()) return;
  SetLastPath(FolderOf(choice.path));
  const std::string path = ScreenshotFileName(choice.path, choice.filter);
  static constexpr imaging::ScreenshotFormat kFormats[] = {imaging::ScreenshotFormat::kPng,
                                                           imaging::ScreenshotFormat::kBmp,
                                                           imaging::ScreenshotFormat::kJpeg};
  if (path.empty()) return;
  if (!imaging::WriteScreenshot(shot, path, kFormats[choice.filter])) {
    dialogs_.ShowError(
        Text("LANG_ERROR$"),
        skin::ComposeFileMessage(path, skin::FileProblem::kNotSaved, host_.Messages()));
    host_.Report("LANG_STATUS_NOT_SAVED$", {path});
    return;
  }
  host_.Report("LANG_STATUS_SHOT_SAVED$", {path, number, name});
}

}  // namespace app

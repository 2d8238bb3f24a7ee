// The picture menu's own actions.
#include "app/picture_actions.h"

#include <new>

#include "app/skin_files.h"
#include "base/paths.h"
#include "imaging/screenshot_writer.h"
#include "skin/messages.h"

namespace app {

PictureActions::PictureActions(EditorHost& host, UserDialogs& dialogs,
                               session::SkinSession& session, const i18n::UiTexts& texts,
                               const ShellState& state)
    : host_(host), dialogs_(dialogs), session_(session), texts_(texts), state_(state) {}

void PictureActions::Export(skin::SlotId slot) {
  const BusyScope busy(host_.busy());
  const imaging::Image& picture = session_.document().Slot(slot);
  const std::string name(skin::Info(slot).BaseName());
  const UserDialogs::SaveChoice choice = dialogs_.ChooseSaveFile(
      Text("LANG_IMAGE_EXPORT_TITLE$"), base::FolderWithSeparator(state_.last_path) + name + ".png",
      {"Portable Network Graphic (*.png)", "Bitmap (*.bmp)"});
  const std::string path = ScreenshotFileName(choice.path, choice.filter);
  if (path.empty() || choice.filter > 1) return;
  const imaging::ScreenshotFormat format =
      choice.filter == 0 ? imaging::ScreenshotFormat::kPng : imaging::ScreenshotFormat::kBmp;
  bool written = false;
  try {
    written = !picture.Empty() && imaging::WriteScreenshot(picture, path, format);
  } catch (const std::bad_alloc&) {
    host_.ReportOutOfMemory();
    return;
  }
  if (!written) {
    dialogs_.ShowError(
        Text("LANG_ERROR$"),
        skin::ComposeFileMessage(path, skin::FileProblem::kNotSaved, host_.Messages()));
    host_.Report("LANG_STATUS_NOT_SAVED$", {path});
    return;
  }
  host_.Report("LANG_STATUS_PICTURE_EXPORTED$", {name, path});
}

void PictureActions::Revert(skin::SlotId slot) {
  const BusyScope busy(host_.busy());
  host_.Apply(session_.RevertPicture(slot));
}

void PictureActions::EditElsewhere(skin::SlotId slot) {
  const BusyScope busy(host_.busy());
  const session::SkinSession::PictureFile file = session_.PictureFileOf(slot);
  using Problem = session::SkinSession::PictureFile::Problem;
  if (file.problem != Problem::kNone) {
    // The program would open no file, or one that does not hold what the slot shows.
    dialogs_.ShowError(Text("LANG_ERROR$"),
                       Text(file.problem == Problem::kNoFolder ? "LANG_EDIT_NEEDS_FOLDER$"
                                                               : "LANG_EDIT_NEEDS_SAVE$"));
    return;
  }
  const std::string shown = base::DisplayPath(file.path);
  if (!dialogs_.OpenWithSystem(file.path)) {
    host_.Report("LANG_STATUS_NOT_EDITED$", {shown});
    return;
  }
  host_.Report("LANG_STATUS_EDITING$", {shown});
}

}  // namespace app

// What the editor asks of the user: file and folder choosers, message boxes, the colour editor,
// the information box and the clipboard. The editor shows Qt dialogs; tests answer from a script.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/image.h"
#include "imaging/picture_fit.h"
#include "preview/screen_colours.h"

class QWidget;

namespace app {

// What the import studio opens with.
struct StudioRequest {
  std::string title;
  std::string source_name;  // the picture file's name, shown with its size
  int source_width = 0;     // the size of the picture the file holds
  int source_height = 0;
  // The picture to fit. The studio changes its key colour to the one the user picks, and keeps
  // it while it is open.
  imaging::FitSource* source = nullptr;
  imaging::FitSettings settings;  // the settings it opens with
  // What the size buttons set: the slot's expected size and its picture's (0 x 0 when empty).
  std::pair<int, int> expected;
  std::pair<int, int> current;
  // The console draws the slot without transparency: the key colour shows as it is.
  bool keyless = false;
  // The file the slot's picture was made from, when it is gone and the studio fits the slot's own
  // picture instead; "" otherwise.
  std::string missing_source;
  // How the result is shown: as the preview shows the screens' colours.
  preview::ScreenColours colours = preview::ScreenColours::kStored;
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // The window the dialogs belong to, once it exists (and again when it is built anew).
  virtual void UseWindow(QWidget* window) {}
  // "" when cancelled.
  virtual std::string ChooseFolder(const std::string& title, const std::string& start) = 0;
  // The same for a folder to save into, which the user may name anew to create it.
  virtual std::string ChooseSaveFolder(const std::string& title, const std::string& start) {
    return ChooseFolder(title, start);
  }
  virtual std::string ChooseOpenFile(const std::string& title, const std::string& proposed,
                                     const std::string& filter) = 0;
  struct SaveChoice {
    std::string path;  // "" when cancelled
    int filter = 0;    // the index of the chosen filter
  };
  // `filters` as "Name (*.ext)", the first one preselected.
  virtual SaveChoice ChooseSaveFile(const std::string& title, const std::string& proposed,
                                    const std::vector<std::string>& filters) = 0;
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
  // A message of an operation that may give many (loading, saving): shown as ShowError, with a
  // check box labelled `quiet_text` that silences the rest of the operation. True when ticked.
  virtual bool ShowOperationError(const std::string& caption, const std::string& text,
                                  const std::string& quiet_text) {
    ShowError(caption, text);
    return false;
  }
  // The colour editor for the colour called `name`: the new colour after OK, `given` after Cancel.
  // `live` is called with each new colour the editor shows while it is open.
  virtual imaging::Rgb EditColour(imaging::Rgb given, const std::string& name,
                                  std::function<void(imaging::Rgb)> live) = 0;
  virtual void ShowInformationBox() = 0;
  // Shows the HTML user guide at `file` in a window of the editor's own; a guide that is not there
  // is reported with its path.
  virtual void ShowUserGuide(const std::string& file) = 0;
  virtual void CopyToClipboard(const imaging::Image& image) = 0;
  // Opens the file at `path` in the program the system opens such files with; false when none
  // could be started.
  virtual bool OpenWithSystem(const std::string& path) = 0;
  // Asked before the skin with unsaved changes is left: when the program is to end
  // (`question_key` "LANG_QUIT_QUESTION$") or another skin is to take its place
  // ("LANG_REPLACE_QUESTION$").
  enum class SaveAnswer { kSave, kDiscard, kCancel };
  virtual SaveAnswer AskSaveChanges(std::string_view question_key) = 0;
  // The import studio: the settings chosen after OK, nothing after Cancel. `live` is called with
  // the slot's picture that the settings make, when it opens and after every change.
  virtual std::optional<imaging::FitSettings> RunImportStudio(
      const StudioRequest& request, std::function<void(const imaging::Image&)> live) = 0;
  // Follows the editor's language number with whatever the dialogs do not take from the text
  // table (the toolkit's own dialogs and menus).
  virtual void UseLanguage(int language) {}
};

}  // namespace app

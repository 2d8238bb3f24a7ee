// The shell: the program-wide state, start-up, the dispatch of every event by its fixed number,
// and the commands of the menus and gadgets.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "i18n/data_folders.h"
#include "i18n/program_settings.h"
#include "i18n/ui_texts.h"
#include "skin/skin_document.h"
#include "skin/skin_saver.h"

namespace app {

struct ShellState {
  std::string title_text;  // the program's name and a space
  std::string version_text = "v0.100531";
  std::string last_path;
  int language_index = 0;
  imaging::Rgb bg_color = 0;
  int swap_view = 0;
  float preview_zoom = 1.0f;
  int preview_x = 3;  // where BuildPanels places the areas before the first layout
  int panel_x = 272;
  int selected_screen = 0;
  bool quit_requested = false;
  std::string skin_name;  // the open skin's folder or archive name; "" for a new skin
};

// The main window's title: the program's name and version, then the open skin's name, if any.
std::string WindowTitle(const ShellState& state);

// What the shell asks of the user. The editor shows Qt dialogs; tests answer from a script.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
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
  // The colour editor: the new colour after OK, `given` after Cancel.
  virtual imaging::Rgb EditColour(imaging::Rgb given) = 0;
  virtual void ShowInformationBox() = 0;
  virtual void CopyToClipboard(const imaging::Image& image) = 0;
  // Follows the editor's language number with whatever the dialogs do not take from the text
  // table (the toolkit's own dialogs and menus).
  virtual void UseLanguage(int language) {}
};

// `chosen` when its extension is `extension` in any letter case, else `chosen` + "." + extension.
std::string WithExtension(const std::string& chosen, std::string_view extension);

// The file name a screenshot is saved under, or "" when nothing is saved. The chosen filter
// (0 PNG, 1 BMP, 2 JPEG) decides the format and the extension (WithExtension).
std::string ScreenshotFileName(const std::string& chosen, int filter);

// The zoom that Options > Fit picks for a preview area of `area`: the largest zoom that wheel
// notches up from 1 reach (the same single-precision sums) whose canvas fits the area whole; 1
// when even the unscaled canvas does not fit.
float FitZoom(QSize area);

class Shell : public WindowEvents {
 public:
  Shell(UserDialogs& dialogs, i18n::DataFolders folders);
  ~Shell() override;

  // Start-up: program settings, language, main window, panels, default skin, first preview.
  void Start();
  // Exit: writes the program settings.
  void Finish();

  void OnMenu(int item) override;
  void OnGadget(int gadget) override;
  void OnWheel(int delta, QPointF at) override;
  void OnResize() override;
  void OnClose() override;

  // Opens the skin named on the command line: a folder as Open folder does, anything else as Open
  // archive does (a file that is no skin archive gets the no-skin message). A relative path is
  // taken from the working folder.
  void OpenSkinArgument(const std::string& path);

  ShellState& state() { return state_; }
  skin::SkinDocument& document() { return doc_; }
  const i18n::UiTexts& texts() const { return texts_; }
  const i18n::DataFolders& folders() const { return folders_; }
  MainWindow* window() const { return window_.get(); }
  // How many times the preview was drawn (tests see that an edit redraws).
  int redraw_count() const { return redraw_count_; }

  void RedrawPreview();
  void SelectScreen(int screen);
  void RefreshPanels();

 private:
  void OpenMainWindow();
  void RebuildMainWindow();
  void SetLanguageChecks(int language);
  void OpenSkin(bool zip);
  void LoadSkin(const std::string& path, bool zip);
  void SaveSkinCommand();
  void ExportSkinCommand();
  skin::SaveOptions SaveOptionsNow() const;
  void ImportImage(skin::SlotId slot);
  void Screenshot(bool to_clipboard);
  void SaveScreenshot(bool to_clipboard);
  // Sets the zoom, keeping the canvas point at the middle of the preview in place, and redraws.
  void SetZoom(float zoom);
  skin::MessageTexts Messages() const;
  void UpdateWindowTitle();
  // Status-bar field 1: the text of `key` with `args` for %1, %2, and the count of messages the
  // operation gave and did not show.
  void Report(std::string_view key, const QStringList& args, int messages = 0, int not_shown = 0);
  void ReportOutOfMemory();
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  UserDialogs& dialogs_;
  i18n::DataFolders folders_;
  ShellState state_;
  skin::SkinDocument doc_;
  i18n::UiTexts texts_;
  std::unique_ptr<MainWindow> window_;
  int code_page_;
  int redraw_count_ = 0;
};

}  // namespace app

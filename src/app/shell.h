// The shell: the program-wide state, start-up, the dispatch of every event by its fixed number,
// and the commands of the menus and gadgets.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "app/skin_watcher.h"
#include "i18n/data_folders.h"
#include "i18n/editor_preferences.h"
#include "i18n/program_settings.h"
#include "i18n/ui_texts.h"
#include "skin/skin_document.h"
#include "session/skin_history.h"
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
};

// The main window's title: the program's name and version, then the open skin's name (its folder
// or archive name; "" for a new skin), if any.
std::string WindowTitle(const ShellState& state, const std::string& skin_name);

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
  // Asked once when the program is to end while the skin has unsaved changes.
  enum class QuitAnswer { kSave, kDiscard, kCancel };
  virtual QuitAnswer AskSaveBeforeQuit() = 0;
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

// A section's name as the settings file heads it: "[start button]".
std::string SectionName(skin::SectionId section);

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
  void OnPreviewPointer(const PreviewView::Pointer& pointer) override;
  bool OnFileDrop(int gadget, QPoint canvas, const std::string& path) override;

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
  // Whether the skin differs from what was last opened or saved (the default skin at start).
  bool Modified() const { return !(doc_ == origin_.saved); }
  const session::SkinHistory& history() const { return history_; }
  const i18n::EditorPreferences& preferences() const { return preferences_; }
  // The skin folder the editor follows on disk ("" when none).
  const std::string& watched_folder() const { return watcher_.folder(); }
  void SelectScreen(int screen);
  void RefreshPanels();

 private:
  void OpenMainWindow();
  void RebuildMainWindow();
  void SetLanguageChecks(int language);
  // Makes one undoable step named `label` of what `edit` does to the document; steps with the same
  // non-empty `merge_key` in a row merge. Nothing is recorded when `edit` changes nothing.
  template <typename Edit>
  void Change(const std::string& label, const std::string& merge_key, Edit edit);
  // Makes one undoable step named `label` of `load`, which gives the document new content and
  // returns whether it did (a skin opened, a new skin): the document then comes from `folder`
  // ("" for none) and goes by `name`, and undo takes it back to where it came from before.
  template <typename Load>
  bool Move(const std::string& label, Load load, const std::string& folder, std::string name);
  // After the document changed in any way: the Undo and Redo items and the modified mark.
  void ShowDocumentState();
  void UndoRedo(bool redo);
  static std::string StepLabel(std::string_view key, std::string_view what = {});
  // The text of an Undo or Redo item (`item_key`) for a step's label.
  std::string StepText(std::string_view item_key, const std::string& label) const;
  void RequestQuit();
  void OpenSkin(bool zip);
  // Opens a chosen skin folder or archive, as Open folder and Open archive do once the user chose.
  void OpenChosenSkin(const std::string& path, bool zip);
  void LoadSkin(const std::string& path, bool zip);
  void OpenRecentSkin(std::size_t index);
  // Puts a skin that was opened or saved at the head of the recent skins.
  void RememberSkin(const std::string& path, bool zip);
  void ShowRecentSkins();
  void SavePreferences();
  // The editor follows the folder the skin comes from on disk while that is switched on. Called
  // again after a save into the folder, so that what the save wrote counts as seen.
  void FollowOrigin();
  void SetFollowChanges(bool follow);
  // Whether files changed on disk may be taken now: not while a command runs or a dialog is open.
  bool ReadyForReload() const;
  // Takes the changed files of the followed folder, each as one undoable step, and says in the
  // status bar what was reloaded and what could not be.
  void ReloadChangedFiles(const std::vector<SkinFile>& files);
  // Reloads one file; "" when done, else the message why not (the file keeps its old content).
  std::string ReloadFile(const SkinFile& file);
  // True when every file of the skin was written.
  bool SaveSkinCommand();
  void ExportSkinCommand();
  skin::SaveOptions SaveOptionsNow() const;
  void ImportImage(skin::SlotId slot);
  // Imports `path` into `slot` as one step, with the messages of an import.
  void ImportImageFile(skin::SlotId slot, const std::string& path);
  // What the preview shows at canvas pixel `canvas`. The screens are drawn once more with their
  // record at the first question after a redraw, so that redrawing itself records nothing.
  preview::Source SourceAt(QPoint canvas);
  // Names what is at `canvas` in the status bar, marks the gadget that edits it and gives the
  // pointer the shape of what a press there does.
  void ShowPointed(QPoint canvas);
  // A press of the left button on the preview and the drag that may follow it.
  void PressPreview(QPoint canvas);
  void DragPreview(QPoint canvas);
  // Stores what element gadgets `gadgets` show as one step (Change) and redraws the preview.
  void StoreElementGadgets(const std::vector<int>& gadgets, const std::string& label,
                           const std::string& merge_key);
  void ReleasePreview(QPoint canvas);
  void Screenshot(bool to_clipboard);
  void SaveScreenshot(bool to_clipboard);
  // Sets the zoom, keeping the canvas point at the middle of the preview in place.
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
  session::SkinOrigin origin_;
  session::SkinHistory history_;
  i18n::UiTexts texts_;
  std::unique_ptr<MainWindow> window_;
  int code_page_;
  int redraw_count_ = 0;
  i18n::EditorPreferences preferences_;
  std::string preferences_file_;
  int busy_ = 0;               // how many commands are running, one inside another
  SkinWatcher watcher_;
  std::optional<preview::ScreenSources> sources_;  // of the preview as last drawn
  struct Press {
    QPoint canvas;
    preview::Source source;
    int edit_gadget;  // what a click reveals, 0 for none
    int x_gadget, y_gadget;
    int start_x, start_y;  // the spins' values at the press
    bool dragging = false;
  };
  std::optional<Press> press_;
  // While a drag moves an element, the label and merge key of its one step.
  struct Gesture {
    std::string label;
    std::string merge_key;
  };
  std::optional<Gesture> gesture_;
  int gesture_count_ = 0;
};

}  // namespace app

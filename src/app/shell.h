// The shell: builds the window, hands its events and the commands of the command table to the
// controllers (skin files, import flow, live link, preview gestures, workspace, check navigation),
// turns the side panel's edits into typed edits of the session, and refreshes what each edit
// reports as changed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/check_navigation.h"
#include "app/commands.h"
#include "app/editor_host.h"
#include "app/import_flow.h"
#include "app/live_link.h"
#include "app/main_window.h"
#include "app/picture_actions.h"
#include "app/preview_gestures.h"
#include "app/skin_files.h"
#include "app/user_dialogs.h"
#include "app/workspace.h"
#include "i18n/data_folders.h"
#include "i18n/editor_preferences.h"
#include "i18n/program_settings.h"
#include "i18n/ui_texts.h"
#include "session/skin_session.h"

namespace app {

// The main window's title: the program's name and version, then the open skin's name (its folder
// or archive name; "" for a new skin), if any.
std::string WindowTitle(const ShellState& state, const std::string& skin_name);

class Shell : public WindowEvents, public EditorHost, public EditorCommands {
 public:
  // `texts` is the editor's text table, which the shell fills in the chosen language.
  Shell(UserDialogs& dialogs, session::SkinSession& session, i18n::UiTexts& texts,
        i18n::DataFolders folders);
  ~Shell() override;

  // Start-up: program settings, language, main window, panels, the session's skin, first preview.
  void Start();
  // Exit: writes the program settings.
  void Finish();

  // Window events.
  void OnMenu(int item) override;
  void OnScreenButton(int screen) override;
  void OnWheel(int delta, QPointF at) override;
  void OnResize() override;
  void OnClose() override;
  void OnPreviewPointer(const PreviewView::Pointer& pointer) override;
  bool OnSlotDrop(skin::SlotId slot, const std::string& path) override;
  bool OnPreviewDrop(QPoint canvas, const std::string& path) override;
  bool OnSkinDrop(const std::string& path) override;
  // The answer of the bar above the preview to files changed on disk while the skin had unsaved
  // changes to them: take the disk's version of each (one step each), or keep the user's.
  void OnDiskAnswer(bool reload) override;
  // The menu of an image button or of a picture on the preview: Import picture and Adjust import.
  void OnSlotMenu(skin::SlotId slot, QPoint global) override;
  void OnPreviewMenu(QPoint canvas, QPoint global) override;

  // The commands of the command table.
  void Undo() override;
  void Redo() override;
  void UseLanguage(int number) override;
  void ChooseBackground() override;
  void SwapView() override;
  void ShowUserGuide() override;
  void SetFollowChanges(bool follow) override;
  void SelectScreen(int screen) override;
  void ShowInformation() override;

  // The edits of the side panel.
  void EditField(skin::FieldId field, int value);
  void EditColour(skin::ColourId colour);
  void EditInfo(skin::InfoId info, std::string text);

  ShellState& state() { return state_; }
  const ShellState& state() const { return state_; }
  const skin::SkinDocument& document() const { return session_.document(); }
  const session::SkinSession& session() const { return session_; }
  const i18n::UiTexts& texts() const { return texts_; }
  const i18n::DataFolders& folders() const { return folders_; }
  MainWindow* window() const override { return window_.get(); }
  const i18n::EditorPreferences& preferences() const { return workspace_.preferences(); }
  Workspace& workspace() { return workspace_; }
  ImportFlow& imports() { return imports_; }
  SkinFiles& files() { return files_; }
  CheckNavigation& check() { return check_; }
  // The skin folder the editor follows on disk ("" when none).
  const std::string& watched_folder() const { return live_link_.folder(); }
  // How many times the preview was drawn (tests see that an edit redraws).
  int redraw_count() const { return redraw_count_; }
  // The files changed on disk that wait for the user's answer in the bar above the preview.
  const std::vector<session::SkinFile>& disk_changes() const { return live_link_.disk_changes(); }

  // Shows what `changes` touched: the gadgets, the preview, the title and the Undo and Redo
  // items; a change of the skin has it checked again once the edits pause.
  void Apply(const session::Changes& changes) override;
  void Report(std::string_view key, std::initializer_list<std::string_view> args, int messages = 0,
              int not_shown = 0) override;
  skin::MessageTexts Messages() const override;
  bool ReadyForReload() const override;
  int& busy() override { return busy_; }
  void RedrawPreview() override;
  void ShowPreviewOf(const skin::SkinDocument& doc, imaging::Rgb background) override;
  void ShowScreen(int screen) override;
  void ReportOutOfMemory() override;

 private:
  void OpenMainWindow();
  void RebuildMainWindow();
  // Shows the session in a window just built: screen `screen`, the gadgets, the commands, the
  // preview and the check.
  void FillWindow(int screen);
  // The side panel's edits, as they reach the shell.
  PanelEvents PanelEdits();
  // The check marks and enabled states of the command table, and what ShowDocumentState shows.
  void RefreshCommands();
  CommandTargets Targets() { return {*this, files_, workspace_, state_, session_, folders_}; }
  // After an edit: the Undo and Redo items (named by their steps), the title and modified mark.
  void ShowDocumentState();
  void UpdateWindowTitle();
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  UserDialogs& dialogs_;
  session::SkinSession& session_;
  i18n::UiTexts& texts_;
  i18n::DataFolders folders_;
  ShellState state_;
  std::unique_ptr<MainWindow> window_;
  int code_page_;
  int redraw_count_ = 0;
  int busy_ = 0;  // how many commands are running, one inside another
  Workspace workspace_;
  LiveLink live_link_;
  ImportFlow imports_;
  SkinFiles files_;
  CheckNavigation check_;
  PictureActions pictures_;
  PreviewGestures gestures_;
};

}  // namespace app

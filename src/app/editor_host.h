// What the editor's controllers ask of the shell that holds them: the window, showing an edit's
// changes, the status bar and whether the editor is free to take changes from disk.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/fixed_numbers.h"
#include "imaging/image.h"
#include "preview/screen_colours.h"
#include "session/skin_session.h"
#include "skin/messages.h"
#include "skin/skin_document.h"

namespace app {

class MainWindow;

// The editor's view state, which the shell and its controllers share.
struct ShellState {
  std::string title_text;  // the program's name and a space
  std::string version_text = "v0.100531";
  std::string last_path;
  int language_index = 0;
  imaging::Rgb bg_color = 0;
  int swap_view = 0;
  float preview_zoom = 1.0f;
  bool fit_preview = true;  // the zoom follows the preview area's size; on from the start
  bool pixel_grid = false;
  // How the preview and the import studio show the screens' colours (View > Console colours).
  preview::ScreenColours screen_colours = preview::ScreenColours::kStored;
  int preview_x = kPanelsMargin;  // where BuildPanels places the areas before the first layout
  int panel_x = kFirstPanelX;
  int selected_screen = 0;
  bool quit_requested = false;
};

// Counts a running command for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
  ~BusyScope() { --depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& depth_;
};

class EditorHost {
 public:
  // The main window; nullptr before the first is built.
  virtual MainWindow* window() const = 0;
  // Shows what `changes` touched.
  virtual void Apply(const session::Changes& changes) = 0;
  // Status-bar field 1: the text of `key` with `args` for %1, %2, and the count of messages the
  // operation gave and did not show.
  virtual void Report(std::string_view key, std::initializer_list<std::string_view> args,
                      int messages = 0, int not_shown = 0) = 0;
  // Shows `doc` in the preview on `background`: the document, or what an edit would make of it
  // while a dialog shows it.
  virtual void ShowPreviewOf(const skin::SkinDocument& doc, imaging::Rgb background) = 0;
  virtual void RedrawPreview() = 0;
  // Shows preview screen `screen` and its panel; SelectScreen shows the panel and leaves the
  // preview to be redrawn.
  virtual void ShowScreen(int screen) = 0;
  virtual void SelectScreen(int screen) = 0;
  virtual void ReportOutOfMemory() = 0;
  // The file messages in the editor's language.
  virtual skin::MessageTexts Messages() const = 0;
  // Whether files changed on disk may be taken now: not while a command runs or a dialog is open.
  virtual bool ReadyForReload() const = 0;
  // How many commands are running, one inside another; a BusyScope counts one.
  virtual int& busy() = 0;

 protected:
  ~EditorHost() = default;
};

}  // namespace app

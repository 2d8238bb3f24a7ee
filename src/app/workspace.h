// The workspace: the window's place and the panel's width as editor.ini keeps them, the preview's
// zoom and grid, and the recent skins of the File menu.
#pragma once

#include <QPointF>
#include <QSize>
#include <cstddef>
#include <optional>
#include <string>

#include "app/editor_host.h"
#include "app/user_dialogs.h"
#include "i18n/editor_preferences.h"
#include "i18n/ui_texts.h"

namespace app {

// The largest zoom of View > Zoom in, and the zoom from which the pixel grid shows.
inline constexpr float kLargestWholeZoom = 8.0f;
inline constexpr float kGridZoom = 4.0f;

// The zoom that View > Fit picks for a preview area of `area`: the largest whole-number zoom from
// 1 to kLargestWholeZoom whose canvas fits the area whole; 1 when even the unscaled canvas does not
// fit.
float FitZoom(QSize area);

// The client size of the first window, when no earlier one is remembered, on a screen whose room
// for a window's inside is `room`, for a side panel `panel_width` wide that shows its names whole
// and a window that adds `chrome` (menu and status bars): the preview at the largest whole zoom
// from 1 to kLargestWholeZoom at which the window fits three quarters of the room, beside the
// panel. Where even zoom 1 does not fit them, zoom 1 within the whole room.
QSize FirstClientSize(QSize room, int panel_width, QSize chrome);

// The whole-number zoom that View > Zoom in (`up`) or Zoom out goes to from `zoom`, which may lie
// between two whole numbers after wheel notches: the next whole number in that direction, within 1
// to kLargestWholeZoom.
float WholeZoomStep(float zoom, bool up);

// The preview's view of the colours that editor.ini keeps.
preview::ScreenColours ScreenColoursOf(i18n::PreviewColours colours);

class Workspace {
 public:
  Workspace(EditorHost& host, UserDialogs& dialogs, const i18n::UiTexts& texts, ShellState& state);

  // Reads editor.ini, which lies beside the program settings file `settings_file`.
  void LoadPreferences(const std::string& settings_file);
  const i18n::EditorPreferences& preferences() const { return preferences_; }
  void SetFollowChanges(bool follow);
  // How many times their size screenshots are saved and copied (1 to 3), kept in editor.ini.
  void SetScreenshotScale(int scale);

  // The window as editor.ini left it (a first window sized for the screen), and back into it.
  void RestoreWindowPlace();
  void RememberWindowPlace();

  // One wheel notch over the preview zooms it by a small step; true when the zoom changed.
  bool Wheel(int delta, QPointF at);
  void ZoomIn();
  void ZoomOut();
  void ZoomOne();
  void SetFitPreview(bool fit);
  void SetPixelGrid(bool grid);
  // How the preview shows the screens' colours; kept in editor.ini. The preview is drawn anew.
  void SetPreviewColours(i18n::PreviewColours colours);
  // Shows a preview just built as the old one was: its grid, and its zoom centred.
  void ShowInNewPreview();
  // After the window's size changed: Fit follows it.
  void FollowSize();

  // The recent skin `index` when it is still there; one that is not is reported and removed.
  std::optional<std::string> RecentSkin(std::size_t index);
  // Puts a skin that was opened or saved at the head of the recent skins.
  void RememberSkin(const std::string& path, bool zip);
  void ClearRecent();
  // The entries of File > Recent skins.
  void ShowRecentSkins();

 private:
  // Sets the zoom, keeping the canvas point at the middle of the preview in place.
  void SetZoom(float zoom);
  // Sets a zoom the user chose, which ends Fit.
  void ChooseZoom(float zoom);
  void SavePreferences();

  EditorHost& host_;
  UserDialogs& dialogs_;
  const i18n::UiTexts& texts_;
  ShellState& state_;
  i18n::EditorPreferences preferences_;
  std::string preferences_file_;
};

}  // namespace app

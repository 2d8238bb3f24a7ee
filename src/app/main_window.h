// The main window: menus, the screen buttons, the scrollable preview, the side panel and the status
// bar with its progress bar. Widget events are reported by what they act on: a menu item, a
// screen, a slot, a point of the preview.
#pragma once

#include <QMainWindow>
#include <map>
#include <optional>

#include "app/check_panel.h"
#include "app/preview_view.h"
#include "app/side_panel.h"
#include "i18n/ui_texts.h"
#include "imaging/image.h"
#include "preview/preview.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace app {

// Where the window's events go: the shell's dispatch.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnMenu(int item) = 0;
  // Screen button `screen` (0 to preview::kScreenCount - 1) was clicked.
  virtual void OnScreenButton(int screen) = 0;
  // A wheel message over the preview: its delta and the pointer's position in the preview's view.
  virtual void OnWheel(int delta, QPointF at) = 0;
  virtual void OnResize() = 0;
  virtual void OnClose() = 0;
  // The pointer over the preview image.
  virtual void OnPreviewPointer(const PreviewView::Pointer& pointer) = 0;
  // A BMP, PNG or JPEG file over the image button of `slot`, or over the preview image at canvas
  // pixel `canvas`: dragged over it when `path` is empty, dropped on it otherwise. True when the
  // button or the picture there takes (or would take) the file.
  virtual bool OnSlotDrop(skin::SlotId slot, const std::string& path) = 0;
  virtual bool OnPreviewDrop(QPoint canvas, const std::string& path) = 0;
  // A skin folder or a .zip archive dropped on the window. True when it was taken.
  virtual bool OnSkinDrop(const std::string& path) = 0;
  // The answer of the bar above the preview: Reload (true) or Keep mine (false).
  virtual void OnDiskAnswer(bool reload) = 0;
  // The context menu asked for over the image button of `slot`, or over the preview image at
  // canvas pixel `canvas`, to be shown at `global`.
  virtual void OnSlotMenu(skin::SlotId slot, QPoint global) = 0;
  virtual void OnPreviewMenu(QPoint canvas, QPoint global) = 0;
};

class MainWindow : public QMainWindow {
 public:
  // Opens the window with its menus (texts from `texts`) and status bar; the areas are built by
  // BuildPanels at the given x values.
  MainWindow(const i18n::UiTexts& texts, const QString& title, WindowEvents& events);

  // Creates the preview area, the screen buttons and the side panel, whose edits go to `edits`,
  // with the Check tab, whose choices go to `check`.
  void BuildPanels(const i18n::UiTexts& texts, int preview_x, int panel_x, PanelEvents edits,
                   CheckPanel::Events check);

  // Places the areas for `swap_view` (1: preview on the right); with `set_height` the side
  // panel's height follows the window. The preview takes the width the side panel leaves, and the
  // handle between them lets the user choose that width.
  void Layout(int swap_view, bool set_height);

  // The side panel's width as the user chose it by dragging the handle (0: not chosen, the window
  // chooses). SetPanelWidth takes any number; the layout keeps the panel from kSidePanelWidth to
  // what leaves the preview its smallest width.
  void SetPanelWidth(int width);
  int user_panel_width() const { return user_panel_width_; }
  // The side panel's width in a client area `client_width` wide: the user's, or else as much as
  // the panel needs to show its names whole while the preview keeps almost half of the window.
  int PanelWidth(int client_width) const;
  QWidget* split_handle() const { return split_handle_; }

  // The text of a menu item and whether it can be chosen.
  void SetItem(int item, const QString& text, bool enabled);
  void SetChecked(int item, bool checked);
  bool IsChecked(int item) const;

  // Shows the 266 x 490 canvas at `zoom` on `background` (PreviewView::ShowCanvas).
  void ShowCanvas(imaging::Image canvas, float zoom, imaging::Rgb background);

  // The bar above the preview that says which files changed on disk while the skin had unsaved
  // changes to them, with its Reload and Keep mine buttons; an empty `text` hides it.
  void ShowDiskChanges(const QString& text);
  QWidget* disk_bar() const { return disk_bar_; }

  // Status-bar field 1: what happened last ("Saved 54 files to ...").
  void ShowStatus(const QString& text);
  QString StatusText() const;

  // Marks gadget `gadget` of the side panel (0: none) and, with `reveal`, shows its tab and scrolls
  // it into view.
  void PointToGadget(int gadget, bool reveal);
  // The pointer's shape over the preview image; none for the usual arrow.
  void SetPreviewCursor(std::optional<Qt::CursorShape> shape);

  QProgressBar* progress() const { return progress_; }
  SidePanel* panel() const { return panel_; }
  CheckPanel* check() const { return check_; }
  // The findings of the skin check (`errors` of them errors): on the Check tab, its icon, and the
  // status bar's count.
  void ShowFindings(std::vector<session::Finding> findings, const QString& count, int errors);
  QString CheckCountText() const;
  PreviewView* preview() const { return preview_area_; }
  QAction* MenuItem(int item) const;
  // Widgets by fixed number: the preview area and image (the view and its viewport), the screen
  // buttons, the side panel and its gadgets.
  QWidget* Gadget(int gadget) const;
  // The client size: the central area between menu bar and status bar.
  QSize ClientSize() const;
  // What the window adds to the client size: its menu bar and status bar.
  QSize Chrome() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The menus and keys of the command table.
  void BuildMenus(const i18n::UiTexts& texts);
  void PlaceDiskBar();
  // The handle was dragged to client x `x`.
  void DragSplit(int x);

  WindowEvents& events_;
  QWidget* client_ = nullptr;
  PreviewView* preview_area_ = nullptr;
  QPushButton* screen_buttons_[preview::kScreenCount] = {};
  SidePanel* panel_ = nullptr;
  CheckPanel* check_ = nullptr;
  QLabel* check_count_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QWidget* disk_bar_ = nullptr;
  QWidget* split_handle_ = nullptr;
  int user_panel_width_ = 0;
  int swap_view_ = 0;
  QLabel* disk_text_ = nullptr;
  const i18n::UiTexts& texts_;
  std::map<int, QAction*> items_;
};

}  // namespace app

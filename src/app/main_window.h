// The main window: menus, the screen buttons, the scrollable preview, the side panel and the status
// bar with its progress bar. Every widget event is reported as the program's fixed number.
#pragma once

#include <QMainWindow>
#include <map>

#include "app/side_panel.h"
#include "i18n/ui_texts.h"
#include "imaging/image.h"

class QAction;
class QMenu;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;

namespace app {

// Where the window's events go: the shell's dispatch.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnMenu(int item) = 0;
  virtual void OnGadget(int gadget) = 0;
  virtual void OnWheel(int delta) = 0;
  virtual void OnResize() = 0;
  virtual void OnClose() = 0;
};

class MainWindow : public QMainWindow {
 public:
  // Opens the window with its menus (texts from `texts`) and status bar; the areas are built by
  // BuildPanels at the given x values.
  MainWindow(const i18n::UiTexts& texts, const QString& title, WindowEvents& events);

  // Creates the preview area, the screen buttons and the side panel.
  void BuildPanels(const i18n::UiTexts& texts, int preview_x, int panel_x);

  // Places the areas for `swap_view` (1: preview on the right); with `set_height` the side
  // panel's height follows the window.
  void Layout(int swap_view, bool set_height);

  void SetChecked(int item, bool checked);
  bool IsChecked(int item) const;

  // Shows the canvas at its pixel size, one canvas pixel per logical pixel, never smoothed.
  void ShowCanvas(const imaging::Image& canvas);

  QProgressBar* progress() const { return progress_; }
  SidePanel* panel() const { return panel_; }
  QAction* MenuItem(int item) const;
  // Widgets by fixed number: the preview area and image, the screen buttons, the side panel and
  // its gadgets.
  QWidget* Gadget(int gadget) const;
  // The client size: the central area between menu bar and status bar.
  QSize ClientSize() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus(const i18n::UiTexts& texts);
  QAction* AddItem(QMenu* menu, int item, const QString& text, bool checkable = false);

  WindowEvents& events_;
  QWidget* client_ = nullptr;
  QScrollArea* preview_area_ = nullptr;
  QLabel* preview_image_ = nullptr;
  QPushButton* screen_buttons_[14] = {};
  SidePanel* panel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::map<int, QAction*> items_;
};

}  // namespace app

// Main window construction and layout.
#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <algorithm>
#include <functional>
#include <optional>

#include "app/commands.h"
#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"
#include "skin/skin_loader.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Reports a BMP, PNG or JPEG file dragged over or dropped on one image button as a file drop on
// that button's slot.
class ImageDrop : public QObject {
 public:
  ImageDrop(QWidget* button, skin::SlotId slot, WindowEvents& events)
      : QObject(button), slot_(slot), events_(events) {
    button->setAcceptDrops(true);
    button->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
      return QObject::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = DroppedImageFile(drop->mimeData());
    const std::string taken = type == QEvent::Drop ? path.toStdString() : std::string();
    if (!path.isEmpty() && events_.OnSlotDrop(slot_, taken)) {
      drop->acceptProposedAction();
    } else {
      drop->ignore();
    }
    return true;
  }

 private:
  skin::SlotId slot_;
  WindowEvents& events_;
};

// Status-bar field 1: a text longer than the field loses its middle, so that both what happened
// and how many messages it gave stay in view; the tooltip holds it whole.
class StatusField : public QLabel {
 public:
  void SetWholeText(const QString& text) {
    whole_ = text;
    setToolTip(text);
    Elide();
  }
  const QString& whole_text() const { return whole_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

 private:
  void Elide() {
    setText(fontMetrics().elidedText(whole_, Qt::ElideMiddle, contentsRect().width() - 2));
  }
  QString whole_;
};

// The handle between the preview and the side panel: dragged, it reports where the pointer is in
// the client area; a double click gives the choice of width back to the window (-1).
class SplitHandle : public QWidget {
 public:
  SplitHandle(QWidget* parent, std::function<void(int)> moved)
      : QWidget(parent), moved_(std::move(moved)) {
    setCursor(Qt::SplitHCursor);
    setObjectName("SplitHandle");
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    option.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (event->buttons() & Qt::LeftButton) moved_(mapToParent(event->position().toPoint()).x());
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { moved_(-1); }

 private:
  std::function<void(int)> moved_;
};

// A skin folder or a .zip file, the one local file of a drop; empty for anything else.
QString DroppedSkin(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return skin::LooksLikeSkin(path.toStdString()) ? path : QString();
}

}  // namespace

MainWindow::MainWindow(const i18n::UiTexts& texts, const QString& title, WindowEvents& events)
    : events_(events), texts_(texts) {
  setWindowTitle(title);
  setAcceptDrops(true);
  QCoreApplication::instance()->installEventFilter(this);
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildMenus(texts);
  progress_ = new QProgressBar;
  progress_->setRange(0, kProgressMaximum);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setFixedWidth(kProgressWidth);
  statusBar()->addWidget(progress_);
  progress_->hide();  // until something progresses
  // Field 1 takes the rest of the bar; a long text is cut rather than widening the window.
  status_ = new StatusField;
  status_->setObjectName("Status");
  status_->setTextFormat(Qt::PlainText);  // file names are never markup
  status_->setMinimumWidth(1);
  statusBar()->addWidget(status_, 1);
  check_count_ = new QLabel;
  check_count_->setObjectName("CheckCount");
  statusBar()->addPermanentWidget(check_count_);
  statusBar()->setSizeGripEnabled(true);
  client_ = new QWidget;
  client_->setObjectName("Client");
  setCentralWidget(client_);
  resize(kInitialClientWidth,
         kInitialClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  // Small enough for any screen from 960 x 540 (1920 x 1080 at 200%): the preview and the panel's
  // pages scroll.
  setMinimumSize(kSidePanelWidth + 6 + kSmallestPreviewWidth, kSmallestClientHeight);
}

void MainWindow::BuildMenus(const i18n::UiTexts& texts) {
  auto text = [&](std::string_view key) { return Q(texts.Text(key)); };
  struct Place {
    MenuPlace place;
    std::optional<MenuPlace> parent;
    QString title;
  };
  const Place places[] = {
      {MenuPlace::kFile, std::nullopt, text("LANG_FILE$")},
      {MenuPlace::kFileOpen, MenuPlace::kFile, text("LANG_FILE_OPEN$")},
      {MenuPlace::kFileRecent, MenuPlace::kFile, text("LANG_FILE_OPEN_RECENT$")},
      {MenuPlace::kFileSave, MenuPlace::kFile, text("LANG_FILE_SAVE$")},
      {MenuPlace::kFileScreenshot, MenuPlace::kFile, text("LANG_FILE_SCREENSHOT$")},
      {MenuPlace::kEdit, std::nullopt, text("LANG_EDIT$")},
      {MenuPlace::kView, std::nullopt, text("LANG_VIEW$")},
      {MenuPlace::kLanguage, std::nullopt, Q(i18n::LanguageMenuTitle())},
      {MenuPlace::kOptions, std::nullopt, text("LANG_OPTIONS$")},
      {MenuPlace::kScreen, std::nullopt, text("LANG_SCREEN$")},
      {MenuPlace::kAbout, std::nullopt, text("LANG_ABOUT$")},
  };
  // Menus are made as their first command comes, so that a submenu stands in its parent where
  // the table lists its commands.
  std::map<MenuPlace, QMenu*> menus;
  const std::function<QMenu*(MenuPlace, bool)> menu = [&](MenuPlace place, bool separated) {
    if (const auto found = menus.find(place); found != menus.end()) return found->second;
    const Place& info = *std::find_if(std::begin(places), std::end(places),
                                      [&](const Place& p) { return p.place == place; });
    QMenu* made = nullptr;
    if (info.parent) {
      QMenu* parent = menu(*info.parent, false);
      if (separated) parent->addSeparator();
      made = parent->addMenu(info.title);
    } else {
      made = menuBar()->addMenu(info.title);
    }
    return menus[place] = made;
  };
  for (const Command& command : Commands()) {
    QAction* action = nullptr;
    const QString shown = command.text_key.empty() ? command.fixed_text : text(command.text_key);
    if (command.place == MenuPlace::kWindowKey) {
      action = new QAction(shown, this);
      addAction(action);
    } else {
      const bool new_menu = menus.find(command.place) == menus.end();
      QMenu* owner = menu(command.place, command.separator_before && new_menu);
      if (command.separator_before && !new_menu) owner->addSeparator();
      action = owner->addAction(shown);
    }
    action->setData(command.id);
    action->setCheckable(command.checkable);
    action->setShortcuts(command.keys);
    // Check marks are set by the shell from its state; a triggered checkable item must not toggle
    // on its own.
    connect(action, &QAction::triggered, this, [this, action, id = command.id] {
      if (action->isCheckable()) action->setChecked(!action->isChecked());
      events_.OnMenu(id);
    });
    items_[command.id] = action;
  }
  AddMnemonics(menuBar(), texts);
}

void MainWindow::BuildPanels(const i18n::UiTexts& texts, int preview_x, int panel_x,
                             PanelEvents edits, CheckPanel::Events check) {
  preview_area_ =
      new PreviewView([this](int delta, QPointF at) { events_.OnWheel(delta, at); }, client_);
  preview_area_->setObjectName("PreviewArea");
  preview_area_->SetPointerHandlers(
      [this](const PreviewView::Pointer& pointer) { events_.OnPreviewPointer(pointer); },
      [this](QPoint canvas, const QString& path) {
        return events_.OnPreviewDrop(canvas, path.toStdString());
      });
  preview_area_->setGeometry(preview_x, kPreviewTop, preview::kCanvasWidth, preview::kCanvasHeight);
  for (int i = 0; i < preview::kScreenCount; ++i) {
    auto* button = new QPushButton(QString::number(i + 1), client_);
    button->setGeometry(preview_x + kFirstScreenButtonWidth * i, kScreenButtonTop,
                        kFirstScreenButtonWidth, kScreenButtonHeight);
    button->setToolTip(Q(texts.Text(i18n::ScreenNameKey(i))));
    // The button of the screen shown looks pressed: the shell checks it with the Screen menu.
    button->setCheckable(true);
    connect(button, &QPushButton::clicked, this, [this, i] { events_.OnScreenButton(i); });
    screen_buttons_[i] = button;
  }
  panel_ = new SidePanel(texts, std::move(edits), client_);
  check_ = new CheckPanel(texts, std::move(check));
  panel_->addTab(check_, Q(texts.Text("LANG_CHECK$")));
  // A finding's frame on the preview goes with the tab it was chosen on.
  connect(panel_, &QTabWidget::currentChanged, this,
          [this] { preview_area_->SetMark(std::nullopt); });
  // Five tabs share the panel's first width: tighter tabs keep them all in view.
  panel_->tabBar()->setStyleSheet(QStringLiteral(
      "QTabBar::tab { padding: 3px 7px; margin-right: 1px; border: 1px solid palette(mid);"
      " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
      " background: palette(button); }"
      "QTabBar::tab:selected { background: palette(window); padding-bottom: 4px; }"
      "QTabBar::tab:!selected { margin-top: 2px; }"));
  panel_->setGeometry(panel_x, 0, kSidePanelWidth, kInitialClientHeight);
  split_handle_ = new SplitHandle(client_, [this](int x) { DragSplit(x); });
  split_handle_->hide();  // until the first layout places it
  for (const ImageButton& b : ImageButtons()) {
    QWidget* button = panel_->Gadget(b.gadget);
    new ImageDrop(button, b.slot, events_);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button, slot = b.slot](QPoint at) {
              events_.OnSlotMenu(slot, button->mapToGlobal(at));
            });
  }
  // A scroll area takes its viewport's context-menu events as its own, with the point in the
  // viewport's coordinates: the area asks for the menu, not the viewport.
  preview_area_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(preview_area_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    events_.OnPreviewMenu(preview_area_->CanvasPointAt(at),
                          preview_area_->viewport()->mapToGlobal(at));
  });
  // After a change of language the window is already on screen: children added to a visible
  // widget stay hidden until shown.
  preview_area_->show();
  for (QPushButton* button : screen_buttons_) button->show();
  panel_->show();

  // Over the top of the preview, so that the areas keep their places while it shows.
  auto* bar = new QFrame(client_);
  bar->setObjectName("DiskChanges");
  bar->setAutoFillBackground(true);
  bar->setBackgroundRole(QPalette::ToolTipBase);
  bar->setForegroundRole(QPalette::ToolTipText);
  bar->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 2, 2, 2);
  disk_text_ = new QLabel(bar);
  disk_text_->setTextFormat(Qt::PlainText);  // file names are never markup
  disk_text_->setWordWrap(true);
  layout->addWidget(disk_text_, 1);
  const std::pair<std::string_view, bool> answers[] = {{"LANG_DISK_RELOAD$", true},
                                                       {"LANG_DISK_KEEP$", false}};
  for (const auto& [key, reload] : answers) {
    auto* button = new QPushButton(Q(texts.Text(key)), bar);
    button->setObjectName(reload ? "DiskReload" : "DiskKeep");
    connect(button, &QPushButton::clicked, this,
            [this, reload = reload] { events_.OnDiskAnswer(reload); });
    layout->addWidget(button);
  }
  bar->hide();
  disk_bar_ = bar;
}

void MainWindow::ShowFindings(std::vector<session::Finding> findings, const QString& count,
                              int errors) {
  check_count_->setText(count);
  if (check_ == nullptr) return;
  // The tab keeps its short title, so that the five tabs fit the panel's first width; an icon
  // says that something was found, the status bar how much.
  const int tab = panel_->indexOf(check_);
  const QStyle::StandardPixmap icon =
      errors > 0 ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning;
  panel_->setTabIcon(tab, findings.empty() ? QIcon() : style()->standardIcon(icon));
  check_->ShowFindings(std::move(findings));
}

QString MainWindow::CheckCountText() const { return check_count_->text(); }

void MainWindow::ShowDiskChanges(const QString& text) {
  if (disk_bar_ == nullptr) return;
  disk_text_->setText(text);
  disk_bar_->setVisible(!text.isEmpty());
  PlaceDiskBar();
}

void MainWindow::PlaceDiskBar() {
  if (disk_bar_ == nullptr || !disk_bar_->isVisible()) return;
  const QRect area = preview_area_->geometry();
  const int height =
      std::max(disk_bar_->heightForWidth(area.width()), disk_bar_->sizeHint().height());
  disk_bar_->setGeometry(area.x(), area.y(), area.width(), height);
  disk_bar_->raise();
}

int MainWindow::PanelWidth(int client_width) const {
  // The preview keeps at least the unscaled canvas's width, and, when the window chooses, almost
  // half of the window.
  const int most = client_width - 6 - preview::kCanvasWidth;
  const int wanted =
      user_panel_width_ > 0
          ? user_panel_width_
          : std::min(panel_->PreferredWidth(),
                     client_width * kPanelShareNumerator / kPanelShareDenominator - 6);
  return std::max(kSidePanelWidth, std::min(wanted, most));
}

void MainWindow::SetPanelWidth(int width) {
  user_panel_width_ = std::clamp(width, 0, 20000);
  Layout(swap_view_, true);
}

void MainWindow::DragSplit(int x) {
  const int width =
      x < 0 ? 0 : std::max(kSidePanelWidth, swap_view_ ? x - 3 : ClientSize().width() - x);
  SetPanelWidth(width);
  // A drag beyond the limits leaves the panel at them, and the handle there.
  if (width > 0) user_panel_width_ = PanelWidth(ClientSize().width());
  events_.OnResize();
}

void MainWindow::Layout(int swap_view, bool set_height) {
  if (panel_ == nullptr) return;
  swap_view_ = swap_view;
  const QSize client = ClientSize();
  const int panel_w = PanelWidth(client.width());
  // The layout's figures for a panel kSidePanelWidth wide: preview at x 3 (right of the panel at
  // 392 when swapped), 3 pixels between the two on the left.
  const int preview_x = swap_view ? panel_w : 3;
  const int preview_w = swap_view ? client.width() - panel_w : client.width() - panel_w - 6;
  const int panel_x = swap_view ? 3 : client.width() - panel_w;
  preview_area_->setGeometry(preview_x, kPreviewTop, preview_w, client.height() - 31);
  panel_->move(panel_x, 0);
  panel_->resize(panel_w, set_height ? client.height() : panel_->height());
  panel_->Relayout(panel_w);
  // The screen buttons share the preview's width up to a width that suits their numbers; wider
  // apart they stand as one row in the middle.
  const int share = preview_w / preview::kScreenCount;
  const int button_w = std::min(share, kLargestScreenButton);
  const int row_x = preview_x + 3 +
                    (share > button_w ? (preview_w - preview::kScreenCount * button_w) / 2 - 3 : 0);
  for (int i = 0; i < preview::kScreenCount; ++i) {
    QPushButton* b = screen_buttons_[i];
    b->setGeometry(row_x + i * button_w, b->y(), button_w, b->height());
  }
  const int handle_x = swap_view ? panel_w : panel_x - 3;
  split_handle_->setGeometry(handle_x, 0, 3, client.height());
  split_handle_->show();
  split_handle_->raise();
  PlaceDiskBar();
}

QSize MainWindow::ClientSize() const { return client_->size(); }

QSize MainWindow::Chrome() const {
  // The menu bar and the status bar, whose height the status field's text sets.
  return {0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()};
}

void MainWindow::SetItem(int item, const QString& text, bool enabled) {
  QAction* action = MenuItem(item);
  action->setText(text);
  action->setEnabled(enabled);
}

void MainWindow::PointToGadget(int gadget, bool reveal) {
  panel_->Highlight(gadget);
  if (reveal && gadget != 0) panel_->Reveal(gadget);
}

void MainWindow::SetPreviewCursor(std::optional<Qt::CursorShape> shape) {
  QWidget* viewport = preview_area_->viewport();
  if (shape) {
    viewport->setCursor(*shape);
  } else {
    viewport->unsetCursor();
  }
}

void MainWindow::ShowStatus(const QString& text) {
  static_cast<StatusField*>(status_)->SetWholeText(text);
}

QString MainWindow::StatusText() const {
  return static_cast<const StatusField*>(status_)->whole_text();
}

void MainWindow::SetChecked(int item, bool checked) {
  if (QAction* action = MenuItem(item)) action->setChecked(checked);
  if (item >= kMenuFirstScreen && item <= kMenuLastScreen) {
    if (QPushButton* button = screen_buttons_[item - kMenuFirstScreen]) button->setChecked(checked);
  }
}

bool MainWindow::IsChecked(int item) const {
  const QAction* action = MenuItem(item);
  return action != nullptr && action->isChecked();
}

void MainWindow::ShowCanvas(imaging::Image canvas, float zoom, imaging::Rgb background) {
  if (preview_area_ != nullptr) preview_area_->ShowCanvas(std::move(canvas), zoom, background);
}

QAction* MainWindow::MenuItem(int item) const {
  const auto found = items_.find(item);
  return found == items_.end() ? nullptr : found->second;
}

QWidget* MainWindow::Gadget(int gadget) const {
  if (gadget == kGadgetPreviewArea) return preview_area_;
  if (gadget == kGadgetPreviewImage) {
    return preview_area_ != nullptr ? preview_area_->viewport() : nullptr;
  }
  if (gadget == kGadgetSidePanel) return panel_;
  if (gadget >= kGadgetFirstScreenButton && gadget <= kGadgetLastScreenButton) {
    return screen_buttons_[gadget - kGadgetFirstScreenButton];
  }
  return panel_ != nullptr ? panel_->Gadget(gadget) : nullptr;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  events_.OnResize();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The shell decides when the program ends.
  event->ignore();
  events_.OnClose();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedSkin(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QString path = DroppedSkin(event->mimeData());
  if (!path.isEmpty() && events_.OnSkinDrop(path.toStdString())) event->acceptProposedAction();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Undo and Redo always act on the skin's history: a text field of this window that would take
  // their keys for its own undo leaves them to the window's commands.
  // Every event of the program passes here: anything else goes on at once.
  if (event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  if (widget != nullptr && widget->window() == this) {
    for (const int item : {kMenuUndo, kMenuRedo}) {
      const QAction* action = MenuItem(item);
      if (action != nullptr && action->shortcuts().contains(pressed)) return true;
    }
  }
  return false;
}

}  // namespace app

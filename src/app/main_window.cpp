// Main window construction and layout.
#include "app/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Reports a BMP, PNG or JPEG file dragged over or dropped on one image button as a file drop on
// that button's gadget number.
class ImageDrop : public QObject {
 public:
  ImageDrop(QWidget* button, int gadget, WindowEvents& events)
      : QObject(button), gadget_(gadget), events_(events) {
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
    if (!path.isEmpty() && events_.OnFileDrop(gadget_, QPoint(), taken)) {
      drop->acceptProposedAction();
    } else {
      drop->ignore();
    }
    return true;
  }

 private:
  int gadget_;
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

}  // namespace

MainWindow::MainWindow(const i18n::UiTexts& texts, const QString& title, WindowEvents& events)
    : events_(events) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildMenus(texts);
  progress_ = new QProgressBar;
  progress_->setRange(0, kProgressMaximum);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  progress_->setFixedWidth(275);
  statusBar()->addWidget(progress_);
  // Field 1 takes the rest of the bar; a long text is cut rather than widening the window.
  status_ = new StatusField;
  status_->setObjectName("Status");
  status_->setTextFormat(Qt::PlainText);  // file names are never markup
  status_->setMinimumWidth(1);
  statusBar()->addWidget(status_, 1);
  statusBar()->setSizeGripEnabled(true);
  client_ = new QWidget;
  client_->setObjectName("Client");
  setCentralWidget(client_);
  resize(kInitialClientWidth,
         kInitialClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  setMinimumSize(size());
}

QAction* MainWindow::AddItem(QWidget* owner, int item, const QString& text, bool checkable) {
  QAction* action = owner->addAction(text);
  action->setData(item);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, item] { events_.OnMenu(item); });
  items_[item] = action;
  return action;
}

void MainWindow::BuildMenus(const i18n::UiTexts& texts) {
  auto text = [&](std::string_view key) { return Q(texts.Text(key)); };
  QMenu* file = menuBar()->addMenu(text("LANG_FILE$"));
  AddItem(file, kMenuNewSkin, text("LANG_FILE_NEW$"))->setShortcut(QKeySequence::New);
  QMenu* open = file->addMenu(text("LANG_FILE_OPEN$"));
  AddItem(open, kMenuOpenFolder, text("LANG_FILE_OPEN_FOLDER$"))->setShortcut(QKeySequence::Open);
  AddItem(open, kMenuOpenZip, QStringLiteral("*.zip"))
      ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
  // The shell names and shows the entries of the recent skins.
  QMenu* recent = file->addMenu(text("LANG_FILE_OPEN_RECENT$"));
  for (int item = kMenuFirstRecent; item <= kMenuLastRecent; ++item) AddItem(recent, item, {});
  recent->addSeparator();
  AddItem(recent, kMenuClearRecent, text("LANG_FILE_RECENT_CLEAR$"));
  QMenu* save = file->addMenu(text("LANG_FILE_SAVE$"));
  AddItem(save, kMenuSaveFolder, text("LANG_FILE_SAVE_FOLDER$"))->setShortcut(QKeySequence::Save);
  AddItem(save, kMenuSaveZip, text("LANG_FILE_SAVE_ZIP$"))
      ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
  file->addSeparator();
  QMenu* shot = file->addMenu(text("LANG_FILE_SCREENSHOT$"));
  AddItem(shot, kMenuScreenshotFile, text("LANG_FILE_SCREENSHOT2D$"))
      ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
  AddItem(shot, kMenuScreenshotClipboard, text("LANG_FILE_SCREENSHOT2C$"))
      ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
  file->addSeparator();
  // Ctrl+Q on every platform theme, also where the desktop defines no key for quitting.
  AddItem(file, kMenuQuit, text("LANG_FILE_CLOSE$"))->setShortcut(Qt::CTRL | Qt::Key_Q);

  QMenu* edit = menuBar()->addMenu(text("LANG_EDIT$"));
  AddItem(edit, kMenuUndo, text("LANG_EDIT_UNDO$"))->setShortcut(QKeySequence::Undo);
  AddItem(edit, kMenuRedo, text("LANG_EDIT_REDO$"))
      ->setShortcuts(
          {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

  QMenu* language = menuBar()->addMenu(Q(i18n::LanguageMenuTitle()));
  for (std::size_t i = 0; i < i18n::kLanguages.size(); ++i) {
    AddItem(language, i18n::kLanguages[i].menu_item, Q(i18n::LanguageLabel(i)), true);
  }
  QMenu* options = menuBar()->addMenu(text("LANG_OPTIONS$"));
  AddItem(options, kMenuBackgroundColour, text("LANG_OPTIONS_BACKCOLOR$"));
  AddItem(options, kMenuSwapView, text("LANG_OPTIONS_SWAPVIEW$"), true)
      ->setShortcut(Qt::CTRL | Qt::Key_R);
  AddItem(options, kMenuFitPreview, text("LANG_OPTIONS_FIT$"));
  AddItem(options, kMenuFollowChanges, text("LANG_OPTIONS_FOLLOW$"), true);
  AddItem(this, kMenuZoomOne, QString())->setShortcut(Qt::CTRL | Qt::Key_0);
  QMenu* screen = menuBar()->addMenu(text("LANG_SCREEN$"));
  for (int n = 0; n < 14; ++n) {
    char key[32];
    std::snprintf(key, sizeof key, "LANG_SCREEN_%02d$", n);
    // Screens 1 to 9 on Ctrl and their digit, 10 to 14 on Alt and their last digit.
    AddItem(screen, kMenuFirstScreen + n, text(key), true)
        ->setShortcut(n < 9 ? QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + n))
                            : QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_0 + n - 9)));
  }
  QMenu* about = menuBar()->addMenu(text("LANG_ABOUT$"));
  AddItem(about, kMenuInformation, text("LANG_ABOUT_ABOUT$"));
  AddMnemonics(menuBar(), texts);
  // Check marks are set by the shell; a triggered checkable item must not toggle on its own.
  for (auto& [item, action] : items_) {
    if (action->isCheckable()) {
      disconnect(action, &QAction::triggered, this, nullptr);
      connect(action, &QAction::triggered, this, [this, item = item, action = action](bool) {
        action->setChecked(!action->isChecked());
        events_.OnMenu(item);
      });
    }
  }
}

void MainWindow::BuildPanels(const i18n::UiTexts& texts, int preview_x, int panel_x) {
  preview_area_ =
      new PreviewView([this](int delta, QPointF at) { events_.OnWheel(delta, at); }, client_);
  preview_area_->setObjectName("PreviewArea");
  preview_area_->SetPointerHandlers(
      [this](const PreviewView::Pointer& pointer) { events_.OnPreviewPointer(pointer); },
      [this](QPoint canvas, const QString& path) {
        return events_.OnFileDrop(kGadgetPreviewImage, canvas, path.toStdString());
      });
  preview_area_->setGeometry(preview_x, kPreviewTop, preview::kCanvasWidth, preview::kCanvasHeight);
  for (int i = 0; i < 14; ++i) {
    auto* button = new QPushButton(QString::number(i + 1), client_);
    button->setGeometry(preview_x + 19 * i, 3, 19, 20);
    // The button of the screen shown looks pressed: the shell checks it with the Screen menu.
    button->setCheckable(true);
    const int gadget = kGadgetFirstScreenButton + i;
    connect(button, &QPushButton::clicked, this, [this, gadget] { events_.OnGadget(gadget); });
    screen_buttons_[i] = button;
  }
  panel_ = new SidePanel(
      texts, [this](int gadget) { events_.OnGadget(gadget); }, client_);
  panel_->setGeometry(panel_x, 0, kSidePanelWidth, kInitialClientHeight);
  for (const ImageButton& b : ImageButtons())
    new ImageDrop(panel_->Gadget(b.gadget), b.gadget, events_);
  // After a change of language the window is already on screen: children added to a visible
  // widget stay hidden until shown.
  preview_area_->show();
  for (QPushButton* button : screen_buttons_) button->show();
  panel_->show();
}

void MainWindow::Layout(int swap_view, bool set_height) {
  if (panel_ == nullptr) return;
  const QSize client = ClientSize();
  const int preview_x = swap_view ? kSidePanelWidth : 3;
  const int preview_w = swap_view ? client.width() - kSidePanelWidth : client.width() - 398;
  const int panel_x = swap_view ? 3 : client.width() - kSidePanelWidth;
  preview_area_->setGeometry(preview_x, kPreviewTop, preview_w, client.height() - 31);
  panel_->move(panel_x, 0);
  if (set_height) panel_->resize(kSidePanelWidth, client.height());
  const int button_w = preview_w / 14;
  for (int i = 0; i < 14; ++i) {
    QPushButton* b = screen_buttons_[i];
    b->setGeometry(preview_x + 3 + i * button_w, b->y(), button_w, b->height());
  }
}

QSize MainWindow::ClientSize() const { return client_->size(); }

void MainWindow::SetItem(int item, const QString& text, bool enabled) {
  QAction* action = MenuItem(item);
  action->setText(text);
  action->setEnabled(enabled);
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

}  // namespace app

// The colour editor.
#include "app/colour_editor.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <optional>

#include "app/desktop.h"
#include "app/fitted_text.h"
#include "app/fixed_numbers.h"
#include "app/qt_image.h"
#include "app/read_only_field.h"
#include "app/spin_field.h"
#include "app/window_fit.h"
#include "skin/skin_colour.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The width the window's layout was made for.
constexpr int kColourEditorWidth = 200;
// The text of a code that is no colour.
constexpr QColor kInvalidText(192, 0, 0);

}  // namespace

QString ColourCode(imaging::Rgb colour) {
  const int v = (imaging::RedOf(colour) >> 3) << 10 | (imaging::GreenOf(colour) >> 3) << 5 |
                (imaging::BlueOf(colour) >> 3);
  return QStringLiteral("0x%1").arg(v, 4, 16, QLatin1Char('0')).toUpper().replace("0X", "0x");
}

int ColourEditorWidth(const QString& title, const QWidget* parent) {
  // The window manager's title font is not Qt's to know: the application's, bold, with room for
  // the frame's margins, an icon and the title bar's buttons (Windows draws three 46 pixels wide,
  // Openbox four of 18 with their gaps).
  QFont font = QApplication::font();
  font.setBold(true);
  const int wanted = QFontMetrics(font).horizontalAdvance(title) + 170;
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  const int room = screen != nullptr ? screen->availableGeometry().width() - 20 : wanted;
  return std::clamp(wanted, kColourEditorWidth, std::max(kColourEditorWidth, room));
}

ColourEditor::ColourEditor(const i18n::UiTexts& texts, imaging::Rgb given, QWidget* parent,
                           const QString& name, std::function<void(imaging::Rgb)> live)
    // Kept above every other window, so that no other program's window hides it while the user
    // holds the right button over the screen to pick a colour.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      given_(given),
      current_(given),
      live_(std::move(live)) {
  const auto format = [&texts](std::string_view key, const QString& arg) {
    return Q(i18n::FormatText(texts.Text(key), {arg.toStdString()}));
  };
  setWindowTitle(name.isEmpty() ? Q(texts.Text("LANG_COLORSETTING$"))
                                : format("LANG_COLOR_TITLE$", name));
  // The window of the fixed layout, with a line above it that names the colour and a row below its
  // channels for the typed code; as wide as its title needs, up to what the screen has.
  constexpr int kNameRow = 25, kCodeRow = 25;
  const int w = ColourEditorWidth(windowTitle(), parent);
  setFixedSize(w, 350 + kNameRow + kCodeRow);
  setModal(true);
  if (parent != nullptr) move(parent->pos() + QPoint(50, 50));

  name_label_ = new QLabel(this);
  name_label_->setGeometry(5, 5, w - 10, 20);
  name_label_->setTextFormat(Qt::PlainText);
  QFont bold = name_label_->font();
  bold.setBold(true);
  name_label_->setFont(bold);
  const QString named = name.isEmpty() ? QString() : format("LANG_COLOR_KEY$", name);
  name_label_->setText(name_label_->fontMetrics().elidedText(named, Qt::ElideMiddle, w - 10));
  name_label_->setToolTip(named);

  const auto below = [](int y) { return y + kNameRow; };
  instructions_ = new QLabel(Q(texts.Text("LANG_INFO$")), this);
  instructions_->setGeometry(5, below(5), w - 10, 100);
  instructions_->setWordWrap(true);
  instructions_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  instructions_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  ShrinkToFit(instructions_);
  swatch_ = new QLabel(this);
  swatch_->setGeometry(5, below(115), 50, 100);
  // The two shown codes hold a colour as a 16-bit BMP pixel does, red in the high bits; the Code
  // field below holds it as uisettings.ini does. Each says which it is.
  const QString pixel_tip = Q(texts.Text("LANG_COLOR_PIXEL_TIP$"));
  const auto shown_code = [&](std::string_view caption_key, int y) {
    (new QLabel(Q(texts.Text(caption_key)), this))->setGeometry(65, below(y), w - 70, 20);
    auto* field = new QLineEdit(ColourCode(given), this);
    field->setGeometry(70, below(y + 20), 60, 20);
    ShowAsReadOnly(field);
    field->setToolTip(pixel_tip);
    auto* kind = new QLabel(Q(texts.Text("LANG_COLOR_PIXEL$")), this);
    kind->setGeometry(132, below(y + 20), w - 137, 20);
    kind->setToolTip(pixel_tip);
    kind->setEnabled(false);  // drawn grey: a note on the code beside it
    return field;
  };
  given_code_ = shown_code("LANG_ACTUAL_COLOR$", 115);
  new_code_ = shown_code("LANG_NEW_COLOR$", 165);
  const char* names[] = {"LANG_RED$", "LANG_GREEN$", "LANG_BLUE$"};
  const int values[] = {imaging::RedOf(given) >> 3, imaging::GreenOf(given) >> 3,
                        imaging::BlueOf(given) >> 3};
  for (int i = 0; i < 3; ++i) {
    channels_[i] = new SpinField(this);
    channels_[i]->setGeometry(5, below(230 + 25 * i), 50, 20);
    // A typed 40 is limited to 31, and the field says so.
    channels_[i]->setRange(0, 31);
    channels_[i]->setValue(values[i]);
    connect(channels_[i], &QSpinBox::valueChanged, this, [this] { ChannelChanged(); });
    (new QLabel(Q(texts.Text(names[i])), this))->setGeometry(60, below(232 + 25 * i), w - 70, 20);
  }
  const int code_y = below(305);
  auto* code_label = new QLabel(Q(texts.Text("LANG_COLOR_CODE$")), this);
  code_label->setGeometry(5, code_y, 58, 20);
  typed_code_ = new QLineEdit(Q(skin::FormatSkinColour(given)), this);
  typed_code_->setGeometry(65, code_y, w - 70, 20);
  // Longer than any code with blanks around it, short enough that a pasted page is refused whole.
  typed_code_->setMaxLength(32);
  code_tip_ = Q(texts.Text("LANG_COLOR_CODE_TIP$"));
  invalid_tip_ = Q(texts.Text("LANG_COLOR_CODE_INVALID$"));
  typed_code_->setToolTip(code_tip_);
  typed_code_->setPlaceholderText(QStringLiteral("0x329e / #RRGGBB"));
  invalid_mark_ = typed_code_->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                         QLineEdit::TrailingPosition);
  invalid_mark_->setToolTip(invalid_tip_);
  invalid_mark_->setVisible(false);
  code_label->setBuddy(typed_code_);
  connect(typed_code_, &QLineEdit::textEdited, this, [this](const QString& t) { CodeTyped(t); });
  // Once the user leaves the field it shows the new colour in the file's notation again; a text
  // that is no colour stays, marked, until it is corrected or another colour is chosen.
  connect(typed_code_, &QLineEdit::editingFinished, this, [this] {
    if (!code_invalid()) typed_code_->setText(Q(skin::FormatSkinColour(current_)));
  });
  auto* chooser = new QPushButton(Q(texts.Text("LANG_COLORREQUESTER$")), this);
  chooser->setGeometry(0, code_y + 30, w, 20);
  chooser_ = chooser;
  connect(chooser, &QPushButton::clicked, this, [this] { ChooseWithSystemChooser(); });
  ok_ = new QPushButton(Q(texts.Text("LANG_OK$")), this);
  ok_->setGeometry(0, code_y + 50, w / 2, 20);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(Q(texts.Text("LANG_CANCEL$")), this);
  cancel->setGeometry(w / 2, code_y + 50, w - w / 2, 20);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  ShowSwatch();
  // The right button belongs to the screen pick everywhere in the editor: over its own fields it
  // must not open their context menus, which would stay open while the user picks.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  // While the editor is open, holding the right mouse button anywhere on the desktop picks the
  // colour under the pointer.
  pick_timer_ = new QTimer(this);
  connect(pick_timer_, &QTimer::timeout, this, [this] {
    if (RightButtonHeld()) PickUnderPointer();
  });
  pick_timer_->start(kPickIntervalMs);
}

void ColourEditor::ChannelChanged() {
  const imaging::Rgb colour = imaging::MakeRgb(channels_[0]->value() * 8, channels_[1]->value() * 8,
                                               channels_[2]->value() * 8);
  SetNewColour(colour);
}

void ColourEditor::CodeTyped(const QString& text) {
  const std::optional<imaging::Rgb> colour = skin::ParseColourCode(text.toStdString());
  // An empty field is no mistake: leaving it shows the new colour's code again.
  MarkCode(!colour && !text.trimmed().isEmpty());
  if (colour) ShowNewColour(*colour, true);
}

void ColourEditor::MarkCode(bool invalid) {
  invalid_mark_->setVisible(invalid);
  typed_code_->setToolTip(invalid ? invalid_tip_ : code_tip_);
  QPalette palette = typed_code_->palette();
  palette.setColor(QPalette::Text, invalid ? kInvalidText : QPalette().color(QPalette::Text));
  typed_code_->setPalette(palette);
  // OK would take a colour other than the one the field seems to say.
  ok_->setEnabled(!invalid);
}

bool ColourEditor::code_invalid() const { return invalid_mark_->isVisible(); }

void ColourEditor::SetNewColour(imaging::Rgb colour) { ShowNewColour(colour, false); }

void ColourEditor::ShowNewColour(imaging::Rgb colour, bool typed) {
  if (colour == current_) return;
  current_ = colour;
  const int values[] = {imaging::RedOf(colour) >> 3, imaging::GreenOf(colour) >> 3,
                        imaging::BlueOf(colour) >> 3};
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker block(channels_[i]);
    channels_[i]->setValue(values[i]);
  }
  new_code_->setText(ColourCode(colour));
  if (!typed) {
    typed_code_->setText(Q(skin::FormatSkinColour(colour)));
    MarkCode(false);
  }
  ShowSwatch();
  if (live_) live_(colour);
}

void ColourEditor::ChooseWithSystemChooser() {
  // The new colour comes preselected and as the chooser's custom colour. Qt's own chooser, which
  // keeps custom colours (a desktop's native one would drop it) and speaks the editor's language.
  QColorDialog::setCustomColor(0, ToQColor(current_));
  // The editor waits while the chooser is open: the right button then belongs to the chooser, and
  // a cancelled chooser changes nothing.
  pick_timer_->stop();
  const QColor chosen = QColorDialog::getColor(ToQColor(current_), this, QString(),
                                               QColorDialog::DontUseNativeDialog);
  pick_timer_->start(kPickIntervalMs);
  if (chosen.isValid()) SetNewColour(imaging::MakeRgb(chosen.red(), chosen.green(), chosen.blue()));
}

bool ColourEditor::picking() const { return pick_timer_->isActive(); }

void ColourEditor::ShowSwatch() {
  QPixmap pixmap(50, 100);
  QPainter painter(&pixmap);
  painter.fillRect(0, 0, 50, 50, ToQColor(given_));
  painter.fillRect(0, 50, 50, 50, ToQColor(current_));
  // A grey border keeps white and black swatches apart from the window around them.
  painter.setPen(kSwatchBorder);
  painter.drawRect(0, 0, 49, 99);
  painter.end();
  swatch_->setPixmap(pixmap);
}

void ColourEditor::PickUnderPointer() {
  if (const std::optional<imaging::Rgb> pixel = PickScreenPixel(QCursor::pos())) {
    SetNewColour(*pixel & 0xF8F8F8);
  }
}

bool ColourEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ContextMenu) return true;
  return QDialog::eventFilter(watched, event);
}

imaging::Rgb ColourEditor::EditColour(const i18n::UiTexts& texts, imaging::Rgb given,
                                      const QString& name, std::function<void(imaging::Rgb)> live,
                                      QWidget* parent) {
  ColourEditor editor(texts, given, parent, name, std::move(live));
  KeepOnScreen(&editor);
  editor.exec();
  return editor.Result();
}

}  // namespace app

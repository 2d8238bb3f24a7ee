// The colour editor.
#include "app/colour_editor.h"

#include <QColorDialog>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <optional>

#include "app/desktop.h"
#include "app/fitted_text.h"
#include "app/fixed_numbers.h"
#include "app/qt_image.h"
#include "app/spin_field.h"
#include "skin/skin_colour.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString ColourCode(imaging::Rgb colour) {
  const int v = (imaging::RedOf(colour) >> 3) << 10 | (imaging::GreenOf(colour) >> 3) << 5 |
                (imaging::BlueOf(colour) >> 3);
  return QStringLiteral("0x%1").arg(v, 4, 16, QLatin1Char('0')).toUpper().replace("0X", "0x");
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
  // channels for the typed code.
  constexpr int kNameRow = 25, kCodeRow = 25;
  setFixedSize(200, 350 + kNameRow + kCodeRow);
  setModal(true);
  if (parent != nullptr) move(parent->pos() + QPoint(50, 50));

  name_label_ = new QLabel(this);
  name_label_->setGeometry(5, 5, 190, 20);
  name_label_->setTextFormat(Qt::PlainText);
  QFont bold = name_label_->font();
  bold.setBold(true);
  name_label_->setFont(bold);
  const QString named = name.isEmpty() ? QString() : format("LANG_COLOR_KEY$", name);
  name_label_->setText(name_label_->fontMetrics().elidedText(named, Qt::ElideMiddle, 190));
  name_label_->setToolTip(named);

  const auto below = [](int y) { return y + kNameRow; };
  instructions_ = new QLabel(Q(texts.Text("LANG_INFO$")), this);
  instructions_->setGeometry(5, below(5), 190, 100);
  instructions_->setWordWrap(true);
  instructions_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  instructions_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  ShrinkToFit(instructions_);
  swatch_ = new QLabel(this);
  swatch_->setGeometry(5, below(115), 50, 100);
  (new QLabel(Q(texts.Text("LANG_ACTUAL_COLOR$")), this))->setGeometry(65, below(115), 130, 20);
  given_code_ = new QLineEdit(ColourCode(given), this);
  given_code_->setGeometry(70, below(135), 60, 20);
  given_code_->setReadOnly(true);
  (new QLabel(Q(texts.Text("LANG_NEW_COLOR$")), this))->setGeometry(65, below(165), 130, 20);
  new_code_ = new QLineEdit(ColourCode(given), this);
  new_code_->setGeometry(70, below(185), 60, 20);
  new_code_->setReadOnly(true);
  const char* names[] = {"LANG_RED$", "LANG_GREEN$", "LANG_BLUE$"};
  const int values[] = {imaging::RedOf(given) >> 3, imaging::GreenOf(given) >> 3,
                        imaging::BlueOf(given) >> 3};
  for (int i = 0; i < 3; ++i) {
    channels_[i] = new SpinField(this);
    channels_[i]->setGeometry(5, below(230 + 25 * i), 50, 20);
    // A wider range than 0 to 31, so that a typed 40 is taken and then limited to 31.
    channels_[i]->setRange(-999, 999);
    channels_[i]->setValue(values[i]);
    connect(channels_[i], &QSpinBox::valueChanged, this, [this, i] { ChannelChanged(i); });
    (new QLabel(Q(texts.Text(names[i])), this))->setGeometry(60, below(232 + 25 * i), 130, 20);
  }
  const int code_y = below(305);
  auto* code_label = new QLabel(Q(texts.Text("LANG_COLOR_CODE$")), this);
  code_label->setGeometry(5, code_y, 58, 20);
  typed_code_ = new QLineEdit(Q(skin::FormatSkinColour(given)), this);
  typed_code_->setGeometry(65, code_y, 130, 20);
  // Longer than any code with blanks around it, short enough that a pasted page is refused whole.
  typed_code_->setMaxLength(32);
  typed_code_->setToolTip(Q(texts.Text("LANG_COLOR_CODE_TIP$")));
  typed_code_->setPlaceholderText(QStringLiteral("0x329e / #RRGGBB"));
  code_label->setBuddy(typed_code_);
  connect(typed_code_, &QLineEdit::textEdited, this, [this](const QString& t) { CodeTyped(t); });
  // Once the user leaves the field it shows the new colour in the file's notation again, also
  // after a text that is no colour.
  connect(typed_code_, &QLineEdit::editingFinished, this,
          [this] { typed_code_->setText(Q(skin::FormatSkinColour(current_))); });
  auto* chooser = new QPushButton(Q(texts.Text("LANG_COLORREQUESTER$")), this);
  chooser->setGeometry(0, code_y + 30, 200, 20);
  chooser_ = chooser;
  connect(chooser, &QPushButton::clicked, this, [this] { ChooseWithSystemChooser(); });
  auto* ok = new QPushButton(Q(texts.Text("LANG_OK$")), this);
  ok->setGeometry(0, code_y + 50, 100, 20);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(Q(texts.Text("LANG_CANCEL$")), this);
  cancel->setGeometry(100, code_y + 50, 100, 20);
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

void ColourEditor::ChannelChanged(int index) {
  QSpinBox* field = channels_[index];
  if (field->value() > 31 || field->value() < 0) {
    // Limited to the channel's range; a negative number takes 0.
    const QSignalBlocker block(field);
    field->setValue(std::clamp(field->value(), 0, 31));
  }
  const imaging::Rgb colour = imaging::MakeRgb(channels_[0]->value() * 8, channels_[1]->value() * 8,
                                               channels_[2]->value() * 8);
  SetNewColour(colour);
}

void ColourEditor::CodeTyped(const QString& text) {
  if (const std::optional<imaging::Rgb> colour = skin::ParseColourCode(text.toStdString())) {
    ShowNewColour(*colour, true);
  }
}

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
  if (!typed) typed_code_->setText(Q(skin::FormatSkinColour(colour)));
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
  editor.exec();
  return editor.Result();
}

}  // namespace app

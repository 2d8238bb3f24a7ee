// The editor's spin fields.
#include "app/spin_field.h"

#include <QLineEdit>
#include <QToolTip>
#include <QWheelEvent>

namespace app {
namespace {

// How long the note on a limited number stays beside the field.
constexpr int kNoteMs = 4000;

}  // namespace

SpinField::SpinField(QWidget* parent) : QSpinBox(parent) {
  // Not Qt's default wheel focus, which would give the focus to the first field the wheel
  // touches.
  setFocusPolicy(Qt::StrongFocus);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    note_.clear();
    MarkTyped(text);
  });
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    MarkTyped(text());
    SayCorrection();
  });
}

std::optional<qint64> SpinField::Typed(const QString& text) const {
  QString digits = text;
  if (!prefix().isEmpty() && digits.startsWith(prefix())) digits.remove(0, prefix().size());
  if (!suffix().isEmpty() && digits.endsWith(suffix())) digits.chop(suffix().size());
  digits = digits.trimmed();
  // A sign and nine digits at most: a longer number says nothing that a limited one would not.
  if (digits.isEmpty() || digits.size() > 10) return std::nullopt;
  bool ok = false;
  const qint64 value = locale().toLongLong(digits, &ok);
  if (!ok) return std::nullopt;
  return value;
}

QValidator::State SpinField::validate(QString& text, int& pos) const {
  const QValidator::State state = QSpinBox::validate(text, pos);
  if (state != QValidator::Invalid) return state;
  // A minus sign starts a number below the range too.
  const bool sign = text.trimmed() == locale().negativeSign();
  return sign || Typed(text) ? QValidator::Intermediate : QValidator::Invalid;
}

void SpinField::fixup(QString& text) const {
  QSpinBox::fixup(text);
  const std::optional<qint64> typed = Typed(text);
  if (!typed || (*typed >= minimum() && *typed <= maximum())) return;
  const int limited = *typed < minimum() ? minimum() : maximum();
  corrected_ = std::pair(*typed, limited);
  text = textFromValue(limited);
}

void SpinField::MarkTyped(const QString& text) {
  const std::optional<qint64> typed = Typed(text);
  const bool outside = typed && (*typed < minimum() || *typed > maximum());
  QLineEdit* edit = lineEdit();
  if (edit->property("outside").toBool() == outside) return;
  edit->setProperty("outside", outside);
  QPalette palette;  // none of its own: the field's own colours again
  if (outside) {
    palette = edit->palette();
    palette.setColor(QPalette::Base, kMarkedBase);
    palette.setColor(QPalette::Text, kMarkedText);
  }
  edit->setPalette(palette);
}

void SpinField::SayCorrection() {
  if (!corrected_) return;
  const auto [typed, limited] = *corrected_;
  corrected_.reset();
  note_ = QStringLiteral("%1 \u2192 %2  (%3\u2013%4)")
              .arg(typed)
              .arg(limited)
              .arg(minimum())
              .arg(maximum());
  QToolTip::showText(mapToGlobal(QPoint(0, height())), note_, this, rect(), kNoteMs);
}

void SpinField::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();  // left to the scrolling page behind the field
    return;
  }
  QSpinBox::wheelEvent(event);
}

}  // namespace app

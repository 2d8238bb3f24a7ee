// The spin fields of the editor: a spin box that takes the mouse wheel only while it has the
// keyboard focus, so that the wheel scrolls the page under the pointer instead of changing every
// value it passes over; and that takes a typed number outside its range by limiting it to the
// range and saying so, never by dropping the keystroke that went beyond it.
#pragma once

#include <QColor>
#include <QSpinBox>
#include <optional>
#include <utility>

namespace app {

// The colours of a field that shows a value it cannot hold, or a number it will not take.
inline const QColor kMarkedBase(255, 214, 214);
inline const QColor kMarkedText(150, 0, 0);

class SpinField : public QSpinBox {
 public:
  explicit SpinField(QWidget* parent = nullptr);

  // What the field said about the last number typed outside its range ("300 → 255 (0–255)"), or
  // nothing when the last number typed was inside it.
  const QString& note() const { return note_; }

 protected:
  // A whole number outside the range is kept as typed, marked, until the field takes it.
  QValidator::State validate(QString& text, int& pos) const override;
  // Limits such a number to the range.
  void fixup(QString& text) const override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The typed text as a whole number, when it is one.
  std::optional<qint64> Typed(const QString& text) const;
  void MarkTyped(const QString& text);
  void SayCorrection();
  // The number that fixup limited, and what it took instead, until the edit finishes.
  mutable std::optional<std::pair<qint64, int>> corrected_;
  QString note_;
};

}  // namespace app

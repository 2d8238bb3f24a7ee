// The spin fields of the editor: a spin box that takes the mouse wheel only while it has the
// keyboard focus, so that the wheel scrolls the page under the pointer instead of changing every
// value it passes over.
#pragma once

#include <QSpinBox>
#include <QWheelEvent>

namespace app {

class SpinField : public QSpinBox {
 public:
  explicit SpinField(QWidget* parent = nullptr) : QSpinBox(parent) {
    // Not Qt's default wheel focus, which would give the focus to the first field the wheel
    // touches.
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void wheelEvent(QWheelEvent* event) override {
    if (!hasFocus()) {
      event->ignore();  // left to the scrolling page behind the field
      return;
    }
    QSpinBox::wheelEvent(event);
  }
};

}  // namespace app

// A one-line field that only shows a text: drawn as a label draws text, so that nobody takes it
// for a field to type into, while its text can still be selected and copied.
#pragma once

#include <QLineEdit>
#include <QPalette>

namespace app {

inline void ShowAsReadOnly(QLineEdit* field) {
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setFrame(false);
  field->setBackgroundRole(QPalette::Window);
  field->setAutoFillBackground(false);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  field->setPalette(palette);
}

}  // namespace app

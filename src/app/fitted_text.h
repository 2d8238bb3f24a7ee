// Texts in boxes of a fixed size (the colour editor's instructions, the information box's
// passages): the shipped wordings fit them in the usual desktop fonts; with a larger font the
// text gets smaller rather than losing its last lines.
#pragma once

#include <QLabel>

namespace app {

// Makes the word-wrapped `label`'s font smaller, half a point at a time down to 6 points, until
// its text fits the label's size.
inline void ShrinkToFit(QLabel* label) {
  QFont font = label->font();
  while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
  }
}

}  // namespace app

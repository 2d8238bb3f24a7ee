// The side panel's colour and image buttons, the thumbnails they show and the captions that fit
// them.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <vector>

#include "imaging/image.h"

class QFontMetrics;

namespace app {

// A colour or image button of the panel: its swatch or thumbnail in a box at its left edge, its
// caption beside it, and in a tile tall enough a second line (the colour's code, the slot's size).
// A button of another screen than the one shown stays readable: its text and picture are dimmed,
// not greyed.
class PanelButton : public QPushButton {
 public:
  explicit PanelButton(QWidget* parent) : QPushButton(parent) {}

  // The icon's box, and the caption's lines (the second only where there is a detail to show).
  void SetIconBox(QSize box, int lines);
  void SetColour(QColor colour, QString detail);
  void SetPicture(imaging::SharedImage picture, QString detail);
  QSize icon_box() const { return box_; }
  int lines() const { return lines_; }
  const QColor& colour() const { return colour_; }
  const imaging::SharedImage& picture() const { return picture_; }
  const QString& detail() const { return detail_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize box_{20, 14};
  int lines_ = 1;
  QColor colour_;  // a colour button's colour; invalid on an image button
  imaging::SharedImage picture_;
  QString detail_;
  QPixmap thumbnail_;  // made from the picture for the box, when first painted
};

// `picture` as a thumbnail that fits in `box` (device pixels), drawn with sharp pixels: enlarged
// by a whole factor, or made smaller by taking the nearest pixels; the key colour shows as a
// chequerboard. Never larger than `box`, whatever the picture's size; none for an empty picture.
QImage PanelThumbnail(const imaging::Image& picture, QSize box);

// The captions of a row of gadgets `room` pixels wide: each text as it is when it fits, else
// elided at its end, or in its middle where ends elided would read the same as another's.
std::vector<QString> FittedCaptions(const std::vector<QString>& texts, const QFontMetrics& metrics,
                                    int room);

}  // namespace app

// The core's pictures and colours in Qt's terms, for the widgets that show them: swatches,
// thumbnails, the banner and the clipboard.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "imaging/image.h"

namespace app {

// The grey border that keeps white and black swatches apart from what stands around them.
inline constexpr QColor kSwatchBorder(128, 128, 128);

constexpr QColor ToQColor(imaging::Rgb colour) {
  return QColor(imaging::RedOf(colour), imaging::GreenOf(colour), imaging::BlueOf(colour));
}

// A `size` swatch of `colour` in its grey border.
inline QPixmap Swatch(imaging::Rgb colour, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(ToQColor(colour));
  QPainter painter(&pixmap);
  painter.setPen(kSwatchBorder);
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return pixmap;
}

// `image` as a QImage over the same pixels, not copied: it is valid while `image` lives and is not
// changed, so copy() what must outlast it. The fourth byte of each pixel is not read.
inline QImage ImageView(const imaging::Image& image) {
  return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                image.width * 4, QImage::Format_RGBX8888);
}

}  // namespace app

// Screen reading through the screen's own grab, which X11 supports; Wayland and the offscreen
// platform give an empty picture and so no colour.
#include "app/screen_pick.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace app {

std::optional<imaging::Rgb> PickScreenPixel(QPoint global) {
  QScreen* screen = QGuiApplication::screenAt(global);
  if (screen == nullptr) return std::nullopt;
  const QPoint local = global - screen->geometry().topLeft();
  const QPixmap grab = screen->grabWindow(0, local.x(), local.y(), 2, 2);
  if (grab.isNull()) return std::nullopt;
  const QColor c = grab.toImage().pixelColor(0, 0);
  return imaging::MakeRgb(c.red(), c.green(), c.blue());
}

}  // namespace app

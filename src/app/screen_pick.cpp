// Screen reading through the screen's own grab, which X11 supports; Wayland and the offscreen
// platform give an empty picture and so no colour. The button state comes from the X server when
// the program runs on X11.
#include "app/screen_pick.h"

// clang-format off
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
// Xlib defines macros (Bool, Status, None) that Qt's headers must not see: it comes last.
#include <X11/Xlib.h>
// clang-format on

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

bool RightButtonHeld() {
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    if (Display* display = x11->display()) {
      Window root = 0, child = 0;
      int root_x = 0, root_y = 0, x = 0, y = 0;
      unsigned int mask = 0;
      if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &root_x, &root_y, &x,
                        &y, &mask)) {
        return (mask & Button3Mask) != 0;
      }
    }
  }
  return (QGuiApplication::mouseButtons() & Qt::RightButton) != 0;
}

}  // namespace app

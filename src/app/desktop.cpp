// The desktop's own interfaces. Screen reading goes through the screen's own grab, which X11 and
// Windows support; Wayland and the offscreen platform give an empty picture and so no colour. The
// right button's state comes from GetAsyncKeyState on Windows and from the X server on X11.
#include "app/desktop.h"

// clang-format off
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#else
// Xlib defines macros (Bool, Status, None) that Qt's headers must not see: it comes last.
#include <X11/Xlib.h>
#endif
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

#ifdef _WIN32

bool RightButtonHeld() {
  // GetAsyncKeyState reads the physical buttons: with the buttons swapped for a left-handed mouse,
  // the one that acts as the right button is the physical left one.
  const int button = ::GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_LBUTTON : VK_RBUTTON;
  if ((::GetAsyncKeyState(button) & 0x8000) != 0) return true;
  return (QGuiApplication::mouseButtons() & Qt::RightButton) != 0;
}

bool UseSystemFileChoosers() { return true; }

#else

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

bool UseSystemFileChoosers() { return false; }

#endif

}  // namespace app

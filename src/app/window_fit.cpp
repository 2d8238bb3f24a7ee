// Windows that fit the screen.
#include "app/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace app {
namespace {

// The frame's width on each side: measured on a shown window, else an allowance whose top takes
// the title bar.
QMargins FrameOf(const QWidget* window) {
  const QRect frame = window->frameGeometry(), inside = window->geometry();
  if (window->isVisible() && frame != inside) {
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
  }
  const int side = kFrameAllowance.width() / 2;
  return {side, kFrameAllowance.height() - side, side, side};
}

}  // namespace

QRect WindowRoom(const QWidget* window) {
  const QScreen* screen = window != nullptr ? window->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return available.marginsRemoved(window != nullptr ? FrameOf(window) : QMargins());
}

QSize FittedToScreen(QSize wanted, const QWidget* window) {
  return wanted.boundedTo(WindowRoom(window).size());
}

void KeepOnScreen(QWidget* window) {
  const QRect room = WindowRoom(window);
  const QSize size = window->size().boundedTo(room.size()).expandedTo(window->minimumSize());
  if (size != window->size()) window->resize(size);
  // A dialog not placed yet is placed by Qt, inside the screen, when it is shown.
  if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved)) return;
  const QPoint at = window->geometry().topLeft();
  const QPoint kept(
      std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())),
      std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
  // move() places the frame's top-left corner; the window's inside stands that far from it.
  if (kept != at) window->move(kept - (window->geometry().topLeft() - window->pos()));
}

}  // namespace app

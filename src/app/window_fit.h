// Windows that fit the screen: the room a top-level window has on its screen, and keeping a window
// inside it, frame included, on any screen size and scale.
#pragma once

#include <QRect>

class QWidget;

namespace app {

// What the window manager's frame adds around a window not shown yet (a title bar and borders);
// a shown window's own frame is measured.
inline constexpr QSize kFrameAllowance(16, 40);

// The room for the inside of top-level `window` on its screen (the primary screen when it has
// none yet): the screen's available area less the frame around the window.
QRect WindowRoom(const QWidget* window);

// `wanted` within WindowRoom(window)'s size.
QSize FittedToScreen(QSize wanted, const QWidget* window);

// Shrinks the top-level `window` to the room its screen has, no smaller than its minimum size, and
// moves it so that it lies inside that room, where it still has place. A window not shown nor
// placed yet is only shrunk: Qt places it inside the screen when it shows.
void KeepOnScreen(QWidget* window);

}  // namespace app

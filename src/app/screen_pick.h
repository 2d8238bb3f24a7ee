// Reading the colour of a desktop pixel: the one place that depends on the windowing system.
#pragma once

#include <QPoint>
#include <optional>

#include "imaging/image.h"

namespace app {

// The colour of the desktop pixel at `global` (of the 2 x 2 block whose top-left corner it is),
// or nothing where the platform does not let the program read the screen.
std::optional<imaging::Rgb> PickScreenPixel(QPoint global);

// Whether the right mouse button is held down anywhere on the desktop. On X11 the server is asked
// directly; elsewhere only presses that reach the program are seen.
bool RightButtonHeld();

}  // namespace app

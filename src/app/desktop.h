// What depends on the desktop the editor runs on: reading the colour of a screen pixel, the right
// mouse button's state outside the program's windows, and whose file choosers are used. The one
// file of the editor with code for one system or another.
#pragma once

#include <QPoint>
#include <optional>

#include "imaging/image.h"

namespace app {

// The colour of the desktop pixel at `global` (of the 2 x 2 block whose top-left corner it is),
// or nothing where the platform does not let the program read the screen.
std::optional<imaging::Rgb> PickScreenPixel(QPoint global);

// Whether the right mouse button is held down anywhere on the desktop. Windows and the X server
// are asked directly; elsewhere only presses that reach the program are seen.
bool RightButtonHeld();

// Whether the file and folder choosers are the system's own. On Windows they are what users know,
// they can make a new folder and they ignore the letter case of extensions; Qt's own choosers are
// used elsewhere, where they speak the editor's language rather than the desktop's, list files
// whatever the letter case of their extension and let the save folder chooser create the folder
// whose name is typed.
bool UseSystemFileChoosers();

}  // namespace app

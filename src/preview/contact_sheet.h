// The contact sheet: all fourteen preview screens of a skin on one picture, as skinsmith-cli
// render --all writes it and as an exported skin archive carries it.
#pragma once

#include "imaging/image.h"
#include "preview/screen_colours.h"
#include "skin/skin_document.h"

namespace preview {

// The fourteen canvases at zoom 1 in two rows of seven, each under its number ("1" to "14"), on a
// dark grey ground; `background` fills each canvas behind its screens, whose pixels show as
// `colours` says.
imaging::Image RenderContactSheet(const skin::SkinDocument& doc, imaging::Rgb background,
                                  ScreenColours colours = ScreenColours::kStored);

}  // namespace preview

// The preview: the fourteen menu states of the console's two screens drawn from a skin, and the
// canvas that shows them with the hinge between them.
#pragma once

#include <string>

#include "imaging/image.h"
#include "preview/draw.h"
#include "preview/screen_colours.h"
#include "skin/skin_document.h"

namespace preview {

inline constexpr int kScreenCount = 14;
inline constexpr int kScreenWidth = 256;
inline constexpr int kScreenHeight = 192;
inline constexpr int kCanvasWidth = 266;
inline constexpr int kCanvasHeight = 490;

// Where the canvas holds its pieces: the upper screen, the hinge (266 x 86) and the lower screen.
struct CanvasPlace {
  int x;
  int y;
};
inline constexpr CanvasPlace kTopScreenAt{5, 5};
inline constexpr CanvasPlace kHingeAt{0, 202};
inline constexpr CanvasPlace kBottomScreenAt{5, 293};

struct ScreenPair {
  imaging::Image top;
  imaging::Image bottom;
};

// What wrote each pixel of the two screens.
struct ScreenSources {
  SourceMap top;
  SourceMap bottom;
};

// Draws menu state `screen` (0 to 13) of `doc` into two 256 x 192 images. A number outside 0 to 13
// gives two black screens. With `sources`, also records what wrote each pixel into it (two
// screen-sized maps, whatever the skin holds); the pixels drawn are the same either way.
ScreenPair DrawScreens(const skin::SkinDocument& doc, int screen, ScreenSources* sources = nullptr);

// What shows at point (x, y) of the unscaled canvas, from the record of its two screens: kHinge on
// the hinge, kBackground on the margins, outside the canvas and where nothing was drawn on a
// screen.
Source CanvasSourceAt(const ScreenSources& sources, int x, int y);

// A source in words, as skinsmith-cli prints it: the slot's file name without extension ("btn3")
// for a skin picture, "sample_game_icon" for the built-in one, "text <colourKey> [<section>]",
// "box ..." or "line ..." (the key "white" for the fixed white of some texts, the section only
// when element numbers placed it), "background" or "hinge".
std::string DescribeSource(const Source& source);

struct CanvasSize {
  int width;
  int height;
  friend bool operator==(const CanvasSize&, const CanvasSize&) = default;
};

// The size the canvas is shown at: 266 x 490 for a zoom of 1 or less, round(zoom x 266) x
// round(zoom x 490) above, rounded from the single-precision zoom's exact value.
CanvasSize ZoomedCanvasSize(float zoom);

// The 266 x 490 canvas: `background`, the upper screen at (5, 5), the hinge at (0, 202) and the
// lower screen at (5, 293); with `zoom` above 1 scaled to round(zoom x 266) x round(zoom x 490)
// by nearest pixel.
imaging::Image ComposeCanvas(const ScreenPair& screens, imaging::Rgb background, float zoom);

// DrawScreens and ComposeCanvas in one, the screens' pixels shown as `colours` says (ShowAs);
// the background and the hinge are the editor's and stay as they are.
imaging::Image RenderPreview(const skin::SkinDocument& doc, int screen, imaging::Rgb background,
                             float zoom, ScreenColours colours = ScreenColours::kStored);

// The screenshot: menu state `screen`'s upper screen above its lower screen, 256 x 384, on opaque
// black; at `scale` (1 to 3, a number outside taken as the nearest) each pixel a square of
// scale x scale pixels.
inline constexpr int kMaxScreenshotScale = 3;
imaging::Image RenderScreenshot(const skin::SkinDocument& doc, int screen = 0, int scale = 1);

}  // namespace preview

// Composition of the preview canvas and the screenshot.
#include "preview/preview.h"

#include <cmath>

#include "preview/draw.h"

namespace preview {
namespace {

const imaging::Image& Hinge() {
  static const imaging::Image hinge = skin::BuiltInPicture("hinge");
  return hinge;
}

}  // namespace

CanvasSize ZoomedCanvasSize(float zoom) {
  if (zoom <= 1.0f) return {kCanvasWidth, kCanvasHeight};
  return {static_cast<int>(std::lround(static_cast<double>(zoom) * kCanvasWidth)),
          static_cast<int>(std::lround(static_cast<double>(zoom) * kCanvasHeight))};
}

imaging::Image ComposeCanvas(const ScreenPair& screens, imaging::Rgb background, float zoom) {
  imaging::Image canvas(kCanvasWidth, kCanvasHeight, background & 0xFFFFFF);
  DrawKeyed(canvas, screens.top, 5, 5, kNoKey);
  DrawKeyed(canvas, Hinge(), 0, 202, kNoKey);
  DrawKeyed(canvas, screens.bottom, 5, 293, kNoKey);
  if (zoom <= 1.0f) return canvas;
  const CanvasSize size = ZoomedCanvasSize(zoom);
  return ScaleNearest(canvas, size.width, size.height);
}

imaging::Image RenderPreview(const skin::SkinDocument& doc, int screen, imaging::Rgb background,
                             float zoom) {
  return ComposeCanvas(DrawScreens(doc, screen), background, zoom);
}

imaging::Image RenderScreenshot(const skin::SkinDocument& doc) {
  const ScreenPair screens = DrawScreens(doc, 0);
  imaging::Image shot(kScreenWidth, 2 * kScreenHeight, 0);
  DrawKeyed(shot, screens.top, 0, 0, kNoKey);
  DrawKeyed(shot, screens.bottom, 0, kScreenHeight, kNoKey);
  return shot;
}

}  // namespace preview

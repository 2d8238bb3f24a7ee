// Composition of the preview canvas and the screenshot.
#include "preview/preview.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
  DrawKeyed(canvas, screens.top, kTopScreenAt.x, kTopScreenAt.y, kNoKey);
  DrawKeyed(canvas, Hinge(), kHingeAt.x, kHingeAt.y, kNoKey);
  DrawKeyed(canvas, screens.bottom, kBottomScreenAt.x, kBottomScreenAt.y, kNoKey);
  if (zoom <= 1.0f) return canvas;
  const CanvasSize size = ZoomedCanvasSize(zoom);
  return ScaleNearest(canvas, size.width, size.height);
}

Source CanvasSourceAt(const ScreenSources& sources, int x, int y) {
  // The screens lie over the hinge's rows nowhere, so the order of the tests does not matter.
  for (const auto& [map, at] :
       {std::pair{&sources.top, kTopScreenAt}, std::pair{&sources.bottom, kBottomScreenAt}}) {
    if (x >= at.x && x < at.x + kScreenWidth && y >= at.y && y < at.y + kScreenHeight) {
      return map->At(x - at.x, y - at.y);
    }
  }
  const imaging::Image& hinge = Hinge();
  if (x >= kHingeAt.x && x < kHingeAt.x + hinge.width && y >= kHingeAt.y &&
      y < kHingeAt.y + hinge.height) {
    return {SourceKind::kHinge};
  }
  return {};
}

std::string DescribeSource(const Source& source) {
  switch (source.kind) {
    case SourceKind::kBackground:
      return "background";
    case SourceKind::kHinge:
      return "hinge";
    case SourceKind::kPicture: {
      const std::optional<skin::SlotId> slot = source.slot();
      return slot ? std::string(skin::Info(*slot).BaseName()) : "sample_game_icon";
    }
    case SourceKind::kText:
    case SourceKind::kBox:
    case SourceKind::kLine:
      break;
  }
  static constexpr const char* kKinds[] = {"", "", "", "text", "box", "line"};
  std::string text = kKinds[static_cast<int>(source.kind)];
  const std::optional<skin::ColourId> colour = source.colour();
  text += ' ';
  text += colour ? skin::Info(*colour).key : "white";
  if (const std::optional<skin::SectionId> section = source.placed_by()) {
    text += " [" + std::string(skin::Info(*section).name) + "]";
  }
  return text;
}

imaging::Image RenderPreview(const skin::SkinDocument& doc, int screen, imaging::Rgb background,
                             float zoom, ScreenColours colours) {
  ScreenPair screens = DrawScreens(doc, screen);
  ShowAs(screens.top, colours);
  ShowAs(screens.bottom, colours);
  return ComposeCanvas(screens, background, zoom);
}

imaging::Image RenderScreenshot(const skin::SkinDocument& doc, int screen, int scale) {
  const ScreenPair screens = DrawScreens(doc, screen);
  imaging::Image shot(kScreenWidth, 2 * kScreenHeight, 0);
  DrawKeyed(shot, screens.top, 0, 0, kNoKey);
  DrawKeyed(shot, screens.bottom, 0, kScreenHeight, kNoKey);
  scale = std::clamp(scale, 1, kMaxScreenshotScale);
  if (scale == 1) return shot;
  return ScaleNearest(shot, shot.width * scale, shot.height * scale);
}

}  // namespace preview

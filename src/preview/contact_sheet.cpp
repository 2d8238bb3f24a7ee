// The contact sheet of the fourteen preview screens.
#include "preview/contact_sheet.h"

#include <string>

#include "preview/draw.h"
#include "preview/preview.h"
#include "preview/preview_font.h"

namespace preview {

imaging::Image RenderContactSheet(const skin::SkinDocument& doc, imaging::Rgb background,
                                  ScreenColours colours) {
  constexpr int kColumns = 7;
  constexpr int kGap = 12;
  constexpr int kLabel = 16;
  const int cell_w = kCanvasWidth + kGap;
  const int cell_h = kCanvasHeight + kLabel + kGap;
  imaging::Image sheet(kGap + kColumns * cell_w, kGap + 2 * cell_h, imaging::MakeRgb(40, 40, 48));
  for (int screen = 0; screen < kScreenCount; ++screen) {
    const int x = kGap + (screen % kColumns) * cell_w;
    const int y = kGap + (screen / kColumns) * cell_h;
    DrawText(sheet, x, y, std::to_string(screen + 1), imaging::MakeRgb(248, 248, 248));
    DrawKeyed(sheet, RenderPreview(doc, screen, background, 1.0f, colours), x, y + kLabel, kNoKey);
  }
  return sheet;
}

}  // namespace preview

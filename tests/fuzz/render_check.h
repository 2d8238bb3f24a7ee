// What the preview fuzz targets share: the default skin they start from and the check that all
// fourteen screens draw into images of the screen's size.
#pragma once

#include <cstdlib>

#include "preview/preview.h"
#include "skin/skin_document.h"

namespace fuzzing {

inline const skin::SkinDocument& DefaultSkin() {
  static const skin::SkinDocument doc = [] {
    skin::SkinDocument d;
    skin::ResetSkinDefaults(d);
    return d;
  }();
  return doc;
}

inline void DrawEveryScreen(const skin::SkinDocument& doc) {
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    const preview::ScreenPair pair = preview::DrawScreens(doc, screen);
    if (pair.top.width != preview::kScreenWidth || pair.bottom.height != preview::kScreenHeight) {
      std::abort();
    }
  }
}

}  // namespace fuzzing

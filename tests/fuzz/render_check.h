// What the preview fuzz targets share: the default skin they start from and the check that all
// fourteen screens draw into images of the screen's size.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

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

// Puts fuzzer bytes into the integer element fields, four bytes each in table order; returns how
// many bytes that took.
inline std::size_t ReadFields(skin::SkinDocument& doc, const std::uint8_t* data, std::size_t size) {
  std::size_t at = 0;
  for (std::size_t f = 0; f < skin::kFieldCount && at + 4 <= size; ++f, at += 4) {
    if (skin::kFields[f].kind != skin::FieldKind::kInteger) continue;
    std::memcpy(&doc.fields[f], data + at, 4);
  }
  return at;
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

// Fuzz target: any bytes as uisettings.ini on top of the default skin, then all fourteen screens.
// Whatever numbers the text holds, every screen must draw inside its two images without overflow,
// runaway allocation or a loop that the numbers drive.
#include <cstdint>
#include <cstdlib>

#include "preview/preview.h"
#include "skin/code_page.h"
#include "skin/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const skin::SkinDocument defaults = [] {
    skin::SkinDocument doc;
    skin::ResetSkinDefaults(doc);
    return doc;
  }();
  skin::SkinDocument doc = defaults;
  skin::ReadSkinSettings({data, size}, doc, skin::kDefaultCodePage);
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    const preview::ScreenPair pair = preview::DrawScreens(doc, screen);
    if (pair.top.width != preview::kScreenWidth || pair.bottom.height != preview::kScreenHeight) {
      std::abort();
    }
  }
  return 0;
}

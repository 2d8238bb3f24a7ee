// Fuzz target: any bytes as uisettings.ini on top of the default skin, then all fourteen screens.
// Whatever numbers the text holds, every screen must draw inside its two images without overflow,
// runaway allocation or a loop that the numbers drive.
#include <cstdint>
#include <cstdlib>

#include "base/code_page.h"
#include "render_check.h"
#include "skin/settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skin::SkinDocument doc = fuzzing::DefaultSkin();
  skin::ReadSkinSettings({data, size}, doc, base::kDefaultCodePage);
  fuzzing::DrawEveryScreen(doc);
  return 0;
}

// Fuzz target: element numbers chosen directly by the fuzzer, four bytes each in table order, then
// the sizes of the pictures that screens repeat, cut out or centre, then all fourteen screens, each
// also with the record of what wrote each pixel, which must leave the pixels as they were.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render_check.h"
#include "skin/skin_document.h"

namespace {

// Pictures whose sizes the screens compute with: tiles, cut-outs, centred windows, the clock.
constexpr skin::SlotId kSizedSlots[] = {
    skin::SlotId::form_L,    skin::SlotId::form_M,        skin::SlotId::form_R,
    skin::SlotId::lamp,      skin::SlotId::triangle,      skin::SlotId::popsubbar,
    skin::SlotId::title_bg,  skin::SlotId::title_left,    skin::SlotId::title_right,
    skin::SlotId::btn,       skin::SlotId::btn3,          skin::SlotId::hotkeybk,
    skin::SlotId::selectbar, skin::SlotId::clock_numbers, skin::SlotId::clock_colon};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skin::SkinDocument doc = fuzzing::DefaultSkin();
  std::size_t at = fuzzing::ReadFields(doc, data, size);
  for (skin::SlotId slot : kSizedSlots) {
    if (at + 2 > size) break;
    // Up to 300 x 300: larger than a screen, so that clipping on every side is reached.
    const int width = data[at] * 300 / 255, height = data[at + 1] * 300 / 255;
    at += 2;
    doc.SetSlot(slot,
                imaging::Image(width, height, static_cast<imaging::Rgb>(width * 977 + height)));
  }
  for (int screen = 0; screen < preview::kScreenCount; ++screen) {
    const preview::ScreenPair pair = preview::DrawScreens(doc, screen);
    if (pair.top.width != preview::kScreenWidth || pair.bottom.height != preview::kScreenHeight) {
      std::abort();
    }
    preview::ScreenSources sources;
    const preview::ScreenPair recorded = preview::DrawScreens(doc, screen, &sources);
    if (!(recorded.top == pair.top && recorded.bottom == pair.bottom) ||
        sources.bottom.sources.size() != pair.bottom.pixels.size()) {
      std::abort();
    }
  }
  return 0;
}

// Fuzz target: the skin check on element numbers and colours chosen by the fuzzer (four bytes
// each in table order, then two bytes a colour) and pictures of fuzzer-chosen sizes, some of them
// key green. Every finding must name a place inside the canvas, and the quick fix of a text colour
// must end with a colour the screens can show.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render_check.h"
#include "session/skin_check.h"

namespace {

constexpr skin::SlotId kSizedSlots[] = {skin::SlotId::upper_screen, skin::SlotId::lower_screen,
                                        skin::SlotId::btn3,         skin::SlotId::selectbar,
                                        skin::SlotId::form_M,       skin::SlotId::nds,
                                        skin::SlotId::clock_numbers};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skin::SkinDocument doc = fuzzing::DefaultSkin();
  std::size_t at = fuzzing::ReadFields(doc, data, size);
  for (std::size_t c = 0; c < skin::kColourCount && at + 2 <= size; ++c, at += 2) {
    const int v = data[at] | data[at + 1] << 8;
    doc.colours[c] = imaging::MakeRgb((v >> 10 & 31) * 8, (v >> 5 & 31) * 8, (v & 31) * 8);
  }
  for (skin::SlotId slot : kSizedSlots) {
    if (at + 3 > size) break;
    const int width = data[at] * 300 / 255, height = data[at + 1] * 300 / 255;
    const bool green = data[at + 2] & 1;
    at += 3;
    doc.SetSlot(slot, imaging::Image(width, height,
                                     green ? imaging::MakeRgb(0, 248, 0)
                                           : static_cast<imaging::Rgb>(width * 977 + height)));
  }
  const std::vector<session::Finding> findings = session::CheckSkin(doc);
  for (const session::Finding& finding : findings) {
    const session::CanvasRect& r = finding.rect;
    if (r.x < 0 || r.y < 0 || r.width < 0 || r.height < 0 ||
        r.x + r.width > preview::kCanvasWidth || r.y + r.height > preview::kCanvasHeight) {
      std::abort();
    }
  }
  // The quick fix searches every colour: tried on a few inputs only, to keep the runs quick.
  if (size > 0 && data[0] == 0x5a && !findings.empty() && findings.front().colour &&
      findings.front().code == session::CheckCode::kLegibility) {
    if (const std::optional<imaging::Rgb> fixed =
            session::NearestLegibleColour(doc, *findings.front().colour)) {
      if ((*fixed & 0x070707) != 0) std::abort();
    }
  }
  return 0;
}

// The default skin.
#include "skin/skin_document.h"

#include <string>

#include "assets/embedded.h"
#include "imaging/bmp16.h"
#include "skin/skin_colour.h"

namespace skin {
namespace {

imaging::Image DecodeAsset(const std::string& name) {
  // The built-in pictures are stored as the same 16-bit BMPs a saved skin holds.
  imaging::Decoded picture = imaging::DecodeBmp16(assets::FindEmbeddedFile(name));
  return picture ? std::move(*picture) : imaging::Image();
}

}  // namespace

imaging::Image BuiltInSlotPicture(SlotId slot) {
  return DecodeAsset("skin/" + std::string(Info(slot).file));
}

imaging::Image BuiltInPicture(std::string_view name) {
  return DecodeAsset(std::string(name) + ".bmp");
}

void ResetSkinDefaults(SkinDocument& doc) {
  doc.sample_game_icon = BuiltInPicture("sample_game_icon");
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    doc.slots[i] = BuiltInSlotPicture(static_cast<SlotId>(i));
  }
  doc.info = SkinInfo();
  for (std::size_t i = 0; i < kColourCount; ++i) {
    doc.colours[i] = ParseSkinColour(kColours[i].default_text);
  }
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const FieldInfo& f = kFields[i];
    doc.fields[i] = f.kind == FieldKind::kColour
                        ? static_cast<std::int32_t>(ParseSkinColour(f.default_colour))
                        : f.default_value;
  }
}

}  // namespace skin

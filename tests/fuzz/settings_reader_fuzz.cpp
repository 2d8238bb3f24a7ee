// Fuzz target: any bytes as uisettings.ini, in each supported code page; the text written from
// the result must read back to the same fields and colours.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/settings_reader.h"
#include "skin/skin_saver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr int kCodePages[] = {1252, 936, 950, 932, 949, 1251};
  const int code_page = kCodePages[size % 6];
  skin::SkinDocument doc;
  skin::ReadSkinSettings({data, size}, doc, code_page);

  skin::SaveOptions options;
  options.code_page = code_page;
  options.last_update = "2026/01/01-00:00:00";
  const std::string text = skin::BuildSkinSettingsText(doc, options);
  skin::SkinDocument again;
  skin::ReadSkinSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, again,
                         code_page);
  if (again.fields != doc.fields || again.colours != doc.colours) std::abort();
  return 0;
}

// The program's own preferences, kept between runs in settings/settings.ini.
#pragma once

#include <cstdint>
#include <string>

namespace i18n {

struct ProgramSettings {
  std::string last_path;       // last used folder, start folder of the choosers
  int language = 0;            // 0 to 9; other numbers fall back to the built-in texts
  std::uint32_t bg_color = 0;  // preview background, red in the lowest byte
  int swap_view = 0;           // 0: preview on the left, 1: on the right

  friend bool operator==(const ProgramSettings&, const ProgramSettings&) = default;
};

// Reads the group [settings] of `settings_file`: LastPath as text, Language, BGColor and SwapView
// as decimal numbers (a missing key gives its default; any SwapView other than 0 gives 1). A
// missing or unreadable file gives the defaults; nothing is reported.
ProgramSettings LoadProgramSettings(const std::string& settings_file);

// The file's exact bytes: a UTF-8 byte-order mark and CR LF, "[settings]", then
// "LastPath = ...", "Language = ...", "BGColor = ...", "SwapView = ..." with CR LF after each.
std::string ProgramSettingsText(const ProgramSettings& settings);

// Writes `settings_file` through WriteSettingsFile: its folder and all missing parents are made,
// and a failed write leaves the old file whole. False when it cannot be written; nothing is
// reported.
bool SaveProgramSettings(const std::string& settings_file, const ProgramSettings& settings);

}  // namespace i18n

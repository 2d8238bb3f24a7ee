// The program's own preferences, kept between runs in settings/settings.ini.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace i18n {

class IniFile;

struct ProgramSettings {
  std::string last_path;       // last used folder, start folder of the choosers
  int language = 0;            // 0 to 9; other numbers fall back to the built-in texts
  std::uint32_t bg_color = 0;  // preview background, red in the lowest byte
  int swap_view = 0;           // 0: preview on the left, 1: on the right

  friend bool operator==(const ProgramSettings&, const ProgramSettings&) = default;
};

// Whether settings.ini can hold `value` as a text and give it back unchanged: it holds no line
// feed, carriage return or NUL (a line end would cut the line and start a new one; a NUL would cut
// the path where the program uses it), and no blank or tab at either end (the reader trims them).
bool SettingsCanHold(std::string_view value);

// Reads the group [settings] of `settings_file`: LastPath as text, Language, BGColor and SwapView
// as decimal numbers (a missing key gives its default; any SwapView other than 0 gives 1). A
// missing file, or one that is not a regular file or is larger than kMaxIniFileBytes, gives the
// defaults; nothing is reported.
ProgramSettings LoadProgramSettings(const std::string& settings_file);

// The settings in a parsed settings.ini, by the rules of LoadProgramSettings. A LastPath holding a
// NUL is read as "".
ProgramSettings ProgramSettingsFromIni(const IniFile& ini);

// The file's exact bytes: a UTF-8 byte-order mark and CR LF, "[settings]", then
// "LastPath = ...", "Language = ...", "BGColor = ...", "SwapView = ..." with CR LF after each. A
// LastPath that SettingsCanHold refuses is written as "", so that no value ever breaks a line.
std::string ProgramSettingsText(const ProgramSettings& settings);

// Writes `settings_file` through WriteSettingsFile: its folder and all missing parents are made,
// and a failed write leaves the old file whole. A LastPath that SettingsCanHold refuses is not
// written: the file keeps the LastPath it had (or none). False when it cannot be written; nothing
// is reported.
bool SaveProgramSettings(const std::string& settings_file, const ProgramSettings& settings);

}  // namespace i18n

// Program settings file.
#include "i18n/program_settings.h"

#include <optional>

#include "i18n/ini_file.h"

namespace i18n {

bool SettingsCanHold(std::string_view value) {
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  return value.empty() || (value.front() != ' ' && value.front() != '\t' && value.back() != ' ' &&
                           value.back() != '\t');
}

ProgramSettings LoadProgramSettings(const std::string& settings_file) {
  const std::optional<IniFile> ini = IniFile::Load(settings_file);
  return ini ? ProgramSettingsFromIni(*ini) : ProgramSettings();
}

ProgramSettings ProgramSettingsFromIni(const IniFile& ini) {
  ProgramSettings settings;
  auto number = [&](std::string_view key) {
    const std::optional<std::string> value = ini.Value("settings", key);
    return value ? ParseDecimal(*value) : 0;
  };
  settings.last_path = ini.Value("settings", "LastPath").value_or("");
  if (!SettingsCanHold(settings.last_path)) settings.last_path.clear();
  settings.language = number("Language");
  settings.bg_color = static_cast<std::uint32_t>(number("BGColor"));
  settings.swap_view = number("SwapView") != 0 ? 1 : 0;
  return settings;
}

std::string ProgramSettingsText(const ProgramSettings& settings) {
  std::string text = "\xEF\xBB\xBF\r\n[settings]\r\n";
  text += "LastPath = " + (SettingsCanHold(settings.last_path) ? settings.last_path : "") + "\r\n";
  text += "Language = " + std::to_string(settings.language) + "\r\n";
  text += "BGColor = " + std::to_string(static_cast<std::int32_t>(settings.bg_color)) + "\r\n";
  text += "SwapView = " + std::to_string(settings.swap_view) + "\r\n";
  return text;
}

bool SaveProgramSettings(const std::string& settings_file, const ProgramSettings& settings) {
  if (SettingsCanHold(settings.last_path)) {
    return WriteSettingsFile(settings_file, ProgramSettingsText(settings));
  }
  ProgramSettings kept = settings;
  kept.last_path = LoadProgramSettings(settings_file).last_path;
  return WriteSettingsFile(settings_file, ProgramSettingsText(kept));
}

}  // namespace i18n

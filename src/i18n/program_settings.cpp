// Program settings file.
#include "i18n/program_settings.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "i18n/ini_file.h"

namespace i18n {

ProgramSettings LoadProgramSettings(const std::string& settings_file) {
  ProgramSettings settings;
  const std::optional<IniFile> ini = IniFile::Load(settings_file);
  if (!ini) return settings;
  auto number = [&](std::string_view key) {
    const std::optional<std::string> value = ini->Value("settings", key);
    return value ? ParseDecimal(*value) : 0;
  };
  settings.last_path = ini->Value("settings", "LastPath").value_or("");
  settings.language = number("Language");
  settings.bg_color = static_cast<std::uint32_t>(number("BGColor"));
  settings.swap_view = number("SwapView") != 0 ? 1 : 0;
  return settings;
}

std::string ProgramSettingsText(const ProgramSettings& settings) {
  std::string text = "\xEF\xBB\xBF\r\n[settings]\r\n";
  text += "LastPath = " + settings.last_path + "\r\n";
  text += "Language = " + std::to_string(settings.language) + "\r\n";
  text += "BGColor = " + std::to_string(static_cast<std::int32_t>(settings.bg_color)) + "\r\n";
  text += "SwapView = " + std::to_string(settings.swap_view) + "\r\n";
  return text;
}

bool SaveProgramSettings(const std::string& settings_file, const ProgramSettings& settings) {
  const std::string text = ProgramSettingsText(settings);
  FILE* file = std::fopen(settings_file.c_str(), "wb");
  if (file == nullptr) {
    // On a fresh account not even ~/.config may exist: the whole path is made, not one level.
    const std::size_t slash = settings_file.rfind('/');
    std::error_code ignored;
    if (slash != std::string::npos) {
      std::filesystem::create_directories(settings_file.substr(0, slash), ignored);
    }
    file = std::fopen(settings_file.c_str(), "wb");
  }
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return (std::fclose(file) == 0) && written;
}

}  // namespace i18n

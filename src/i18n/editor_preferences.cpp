// The editor preferences file.
#include "i18n/editor_preferences.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "base/paths.h"
#include "i18n/ini_file.h"

namespace i18n {
namespace {

// Whether the byte at `i` of `path` cannot stand in the file as it is: "%" (the escape itself),
// control characters (a line end would cut the line), and blanks at the ends (the reader trims
// them).
bool NeedsEscape(const std::string& path, std::size_t i) {
  const auto c = static_cast<unsigned char>(path[i]);
  if (c == '%' || c < 0x20 || c == 0x7F) return true;
  return (c == ' ' || c == '\t') && (i == 0 || i + 1 == path.size());
}

std::string Escape(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (NeedsEscape(path, i)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += path[i];
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A "%" that is not followed by two hexadecimal digits stands for itself.
std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A plain decimal number from `min` to `max`: an optional minus sign and one to six digits, nothing
// around them (the reader has taken the blanks away). Anything else is no number.
std::optional<int> StrictNumber(const std::optional<std::string>& text, int min, int max) {
  if (!text) return std::nullopt;
  std::string_view digits = *text;
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<WindowPlace> WindowPlaceFromIni(const IniFile& ini) {
  const auto number = [&ini](const char* key, int min, int max) {
    return StrictNumber(ini.Value("window", key), min, max);
  };
  constexpr int kFar = WindowPlace::kMaxCoordinate;
  const std::optional<int> x = number("X", -kFar, kFar), y = number("Y", -kFar, kFar);
  const std::optional<int> width = number("Width", 1, WindowPlace::kMaxSize);
  const std::optional<int> height = number("Height", 1, WindowPlace::kMaxSize);
  if (!x || !y || !width || !height) return std::nullopt;
  WindowPlace place{*x, *y, *width, *height};
  place.maximised = number("Maximised", 0, 1).value_or(0) == 1;
  place.panel_width = number("PanelWidth", 0, WindowPlace::kMaxSize).value_or(0);
  return place;
}

}  // namespace

std::string EditorPreferencesFile(const std::string& settings_file) {
  if (settings_file.empty()) return {};
  return std::string(base::FolderOf(settings_file)) + "editor.ini";
}

EditorPreferences LoadEditorPreferences(const std::string& file) {
  const std::optional<IniFile> ini = IniFile::Load(file);
  return ini ? EditorPreferencesFromIni(*ini) : EditorPreferences();
}

EditorPreferences EditorPreferencesFromIni(const IniFile& ini) {
  EditorPreferences preferences;
  if (const std::optional<std::string> follow = ini.Value("editor", "FollowChanges")) {
    preferences.follow_changes = ParseDecimal(*follow) != 0;
  }
  preferences.screenshot_scale = StrictNumber(ini.Value("editor", "ScreenshotScale"), 1,
                                              EditorPreferences::kMaxScreenshotScale)
                                     .value_or(1);
  if (const std::optional<std::string> colours = ini.Value("editor", "PreviewColours")) {
    const auto n = ParseDecimal(*colours);
    if (n == 1 || n == 2) preferences.preview_colours = static_cast<PreviewColours>(n);
  }
  for (std::size_t n = 1; n <= kMaxRecentSkins; ++n) {
    const std::optional<std::string> value = ini.Value("recent", "Skin" + std::to_string(n));
    if (!value || value->empty()) continue;
    const std::string path = Unescape(*value);
    if (path.find('\0') == std::string::npos &&
        std::find(preferences.recent.begin(), preferences.recent.end(), path) ==
            preferences.recent.end()) {
      preferences.recent.push_back(path);
    }
  }
  preferences.window = WindowPlaceFromIni(ini);
  return preferences;
}

std::string EditorPreferencesText(const EditorPreferences& preferences) {
  std::string text = "\xEF\xBB\xBF\r\n[editor]\r\n";
  text += std::string("FollowChanges = ") + (preferences.follow_changes ? "1" : "0") + "\r\n";
  if (preferences.screenshot_scale != 1) {
    text += "ScreenshotScale = " + std::to_string(preferences.screenshot_scale) + "\r\n";
  }
  if (preferences.preview_colours != PreviewColours::kStored) {
    text += "PreviewColours = " + std::to_string(static_cast<int>(preferences.preview_colours)) +
            "\r\n";
  }
  text += "[recent]\r\n";
  for (std::size_t n = 0; n < preferences.recent.size() && n < kMaxRecentSkins; ++n) {
    text += "Skin" + std::to_string(n + 1) + " = " + Escape(preferences.recent[n]) + "\r\n";
  }
  if (const std::optional<WindowPlace>& place = preferences.window) {
    text += "[window]\r\n";
    const std::pair<const char*, int> values[] = {{"X", place->x},
                                                  {"Y", place->y},
                                                  {"Width", place->width},
                                                  {"Height", place->height},
                                                  {"Maximised", place->maximised ? 1 : 0},
                                                  {"PanelWidth", place->panel_width}};
    for (const auto& [key, value] : values) {
      text += std::string(key) + " = " + std::to_string(value) + "\r\n";
    }
  }
  return text;
}

bool SaveEditorPreferences(const std::string& file, const EditorPreferences& preferences) {
  return WriteSettingsFile(file, EditorPreferencesText(preferences));
}

void RememberRecentSkin(std::vector<std::string>& recent, const std::string& path) {
  // No file's name holds a NUL; editor.ini would not give it back.
  if (path.find('\0') != std::string::npos) return;
  ForgetRecentSkin(recent, path);
  recent.insert(recent.begin(), path);
  if (recent.size() > kMaxRecentSkins) recent.resize(kMaxRecentSkins);
}

void ForgetRecentSkin(std::vector<std::string>& recent, const std::string& path) {
  recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
}

}  // namespace i18n

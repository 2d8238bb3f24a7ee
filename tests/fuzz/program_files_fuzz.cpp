// Fuzz target: any bytes as settings.ini, editor.ini and a language file. Lookups must agree with
// a direct scan of the lines, what is read must be what the files can hold and must write back to
// itself, and texts formatted from the language with hostile arguments stay within their limit.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/editor_preferences.h"
#include "i18n/ini_file.h"
#include "i18n/program_settings.h"
#include "i18n/ui_texts.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

i18n::IniFile Parse(std::string_view text) {
  return i18n::IniFile::Parse({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The lines of `text` without their leading blanks and tabs; no empty lines, no comments.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t")));
    if (!line.empty() && line.front() != ';') lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  return lines;
}

std::string_view GroupName(std::string_view line) { return line.substr(1, line.find(']') - 1); }

// The value by the rules read directly off the lines: the first group of that name, in it the
// first key of that name.
std::optional<std::string> ScanValue(const std::vector<std::string_view>& lines,
                                     std::string_view group, std::string_view key) {
  bool inside = false;
  for (const std::string_view line : lines) {
    if (line.front() == '[') {
      if (inside) return std::nullopt;
      inside = i18n::EqualsIgnoringCase(GroupName(line), group);
    } else if (const std::size_t eq = line.find('='); inside && eq != std::string_view::npos) {
      if (i18n::EqualsIgnoringCase(Trim(line.substr(0, eq)), key)) {
        return std::string(Trim(line.substr(eq + 1)));
      }
    }
  }
  return std::nullopt;
}

// Compares the lookup with ScanValue for the names the text itself holds. Only for short texts
// that read the same as bytes and as decoded text (a byte-order mark, or ASCII alone).
void CompareLookups(std::string_view bytes, const i18n::IniFile& ini) {
  std::string_view text = bytes;
  const bool marked = text.starts_with("\xEF\xBB\xBF");
  if (marked) text.remove_prefix(3);
  if (text.size() > 4096) return;
  for (const char c : text) {
    if (!marked && static_cast<unsigned char>(c) >= 0x80) return;
  }
  const std::vector<std::string_view> lines = Lines(text);
  std::vector<std::string_view> groups, keys;
  for (const std::string_view line : lines) {
    if (line.front() == '[' && groups.size() < 12) groups.push_back(GroupName(line));
    if (line.front() != '[' && keys.size() < 12)
      keys.push_back(Trim(line.substr(0, line.find('='))));
  }
  for (const std::string_view group : groups) {
    for (const std::string_view key : keys)
      Check(ini.Value(group, key) == ScanValue(lines, group, key));
  }
}

void CheckProgramSettings(const i18n::IniFile& ini) {
  const i18n::ProgramSettings settings = i18n::ProgramSettingsFromIni(ini);
  Check(i18n::SettingsCanHold(settings.last_path));
  Check(i18n::ProgramSettingsFromIni(Parse(i18n::ProgramSettingsText(settings))) == settings);
}

void CheckEditorPreferences(const i18n::IniFile& ini) {
  const i18n::EditorPreferences preferences = i18n::EditorPreferencesFromIni(ini);
  Check(preferences.recent.size() <= i18n::kMaxRecentSkins);
  for (const std::string& path : preferences.recent) {
    Check(!path.empty() && path.find('\0') == std::string::npos);
  }
  Check(i18n::EditorPreferencesFromIni(Parse(i18n::EditorPreferencesText(preferences))) ==
        preferences);
}

void CheckLanguage(std::string_view bytes, const i18n::IniFile& ini) {
  i18n::UiTexts texts;
  i18n::ApplyLanguageFile(texts, ini);
  for (const i18n::TextKey& key : i18n::AllTextKeys()) {
    Check(texts.Text(key.key).size() <= i18n::kMaxLanguageTextBytes);
  }
  static const std::string marks = [] {
    std::string m;
    for (int i = 0; i < 3000; ++i) m += "%1";
    return m;
  }();
  const std::string_view hostile[] = {"%1%2%3%9", marks, bytes, "\xE2\x82\xAC"};
  for (const std::string_view arg : hostile) {
    const std::string step = i18n::FormatText(texts.Text("LANG_STEP_OPEN$"), {arg});
    const std::string undo = i18n::FormatText(texts.Text("LANG_EDIT_UNDO_STEP$"), {step});
    const std::string picked =
        i18n::FormatText(texts.Text("LANG_PICK_PICTURE$"), {arg, undo, step, arg});
    const std::string direct = i18n::FormatText(bytes, {arg, step});
    for (const std::string* text : {&step, &undo, &picked, &direct}) {
      Check(text->size() <= i18n::kMaxFormattedTextBytes);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const i18n::IniFile ini = Parse(bytes);
  CompareLookups(bytes, ini);
  CheckProgramSettings(ini);
  CheckEditorPreferences(ini);
  CheckLanguage(bytes, ini);
  return 0;
}

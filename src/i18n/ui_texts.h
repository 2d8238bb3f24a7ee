// The table of the editor's interface texts: every caption, title and message, addressed by its
// language key ("LANG_OK$"), with its built-in English text, and the language files that replace
// them.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace i18n {

class IniFile;

// The longest text a language file may give a key: a longer value is cut to this many bytes (less
// the start of a UTF-8 character that the cut would split) when the file is read.
inline constexpr std::size_t kMaxLanguageTextBytes = 4096;

// The longest text FormatText makes: room for a language text and the longest path (4096 bytes).
inline constexpr std::size_t kMaxFormattedTextBytes = 8192;

// The groups of a language file, in the order they are read.
enum class Group { kMenu, kPanel, kColors, kImages, kInformation, kElements };

std::string_view GroupName(Group group);

struct TextKey {
  Group group;
  std::string_view key;
};

// Every language key in reading order: Menu, Panel, Colors, Images, Information, Elements.
const std::vector<TextKey>& AllTextKeys();

// The current texts of every key, as UTF-8.
class UiTexts {
 public:
  // Starts with the built-in texts.
  UiTexts();

  // The current text of `key`; an unknown key gives the key itself, so that a missing text shows.
  std::string Text(std::string_view key) const;

  void Set(std::string_view key, std::string text);

 private:
  std::vector<std::string> current_;  // one per key of the built-in table
};

// Sets every text to its built-in value (restoring those held scrambled).
void ResetUiTexts(UiTexts& texts);

// The built-in text of `key` ("" for an unknown key).
std::string BuiltInText(std::string_view key);

// The key of preview screen `screen`'s name in the Screen menu: "LANG_SCREEN_" with the number in
// at least two digits, then "$" ("LANG_SCREEN_07$").
std::string ScreenNameKey(int screen);

// Restores the built-in texts and then, for languages 1 to 9, reads their file from
// `language_folder` group by group. A missing file, group or key leaves the built-in text; a key
// present with an empty value gives an empty text. An empty `language_folder` (none was found)
// opens nothing: the built-in texts stay. A file that IniFile::Load refuses (not a regular file,
// larger than kMaxIniFileBytes) counts as missing. Reports nothing.
void ApplyLanguage(UiTexts& texts, int language, const std::string& language_folder);

// Sets the text of every key that `language_file` holds in the key's group, cut to
// kMaxLanguageTextBytes; other texts stay as they are.
void ApplyLanguageFile(UiTexts& texts, const IniFile& language_file);

// `text` with "%1" to "%9" replaced by args[0] to args[8], in one pass over `text`: what an
// argument brings in is never searched again, so an argument holding "%1" stays as it is and
// texts cannot multiply each other. A "%" not followed by a digit 1 to 9, or by the number of an
// argument that is not given, stays as it is ("%3" with two arguments), as do "%0" and "%%". Only
// one digit counts: "%12" is args[0] followed by "2". The result is cut at
// kMaxFormattedTextBytes, less the start of a UTF-8 character that the cut would split.
std::string FormatText(std::string_view text, std::span<const std::string_view> args);
std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args);

// The language menu: command number, language number and file, in menu order, with the locale
// whose translations the toolkit's own dialogs take.
struct Language {
  int menu_item;
  int number;
  std::string_view file;    // "" for the built-in texts
  std::string_view locale;  // "" for English and for a user's own language
};

inline constexpr std::array<Language, 10> kLanguages{{{20, 0, "", ""},
                                                      {22, 1, "t_chinese.ini", "zh_TW"},
                                                      {23, 2, "s_chinese.ini", "zh_CN"},
                                                      {21, 3, "spanish.ini", "es"},
                                                      {24, 4, "francais.ini", "fr"},
                                                      {25, 5, "german.ini", "de"},
                                                      {26, 6, "pbrasil.ini", "pt_BR"},
                                                      {27, 7, "italiano.ini", "it"},
                                                      {28, 9, "japanese.ini", "ja"},
                                                      {29, 8, "other.ini", ""}}};

// The file of language `number`, "" for 0 and for numbers outside 1 to 9.
std::string_view LanguageFile(int number);

// The locale of language `number` ("de", "pt_BR"), "" where there is none.
std::string_view LanguageLocale(int number);

// The label of the language menu's entry at `menu_position` (0 to 9); built-in only.
std::string LanguageLabel(std::size_t menu_position);

// Built-in texts that no language file replaces.
std::string LanguageMenuTitle();
std::string ProgramName();

}  // namespace i18n

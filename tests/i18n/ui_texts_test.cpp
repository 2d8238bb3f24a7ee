// The interface texts, the languages and the shipped language files.
#include "i18n/ui_texts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "i18n/ini_file.h"
#include "test_support.h"

namespace i18n {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedLanguages = fs::path(SKINSMITH_TEST_DATA_DIR) / ".." / ".." / "language";

TEST(UiTexts, BuiltInTexts) {
  const UiTexts texts;
  EXPECT_EQ(texts.Text("LANG_OK$"), "OK");
  EXPECT_EQ(texts.Text("LANG_FILE_NOTFOUND$"), "File not found.");
  EXPECT_EQ(texts.Text("LANG_IMAGE_txt$"), "text.bmp");
  EXPECT_EQ(texts.Text("LANG_IMAGE_cheat$"), "cheat.bmp");
  EXPECT_EQ(texts.Text("LANG_COLOR_formFrameColor$"), "formFrameColor");
  EXPECT_EQ(texts.Text("LANG_SETTINGS_FILE_NAME_title$"), "FileName Titleshow");
  EXPECT_EQ(texts.Text("LANG_CHEAT_CANCEL_ALL_BTN_text$"), "CheatClearAllButton");
  EXPECT_EQ(ProgramName(), "Skinsmith");
  EXPECT_EQ(LanguageLabel(2), "简体中文");
}

// The Screen menu names its fourteen screens by keys of two digits; there is no fifteenth.
TEST(UiTexts, ScreenNameKeys) {
  EXPECT_EQ(ScreenNameKey(0), "LANG_SCREEN_00$");
  EXPECT_EQ(ScreenNameKey(7), "LANG_SCREEN_07$");
  EXPECT_EQ(ScreenNameKey(13), "LANG_SCREEN_13$");
  EXPECT_EQ(ScreenNameKey(100), "LANG_SCREEN_100$");
  for (int n = 0; n < 14; ++n) EXPECT_NE(BuiltInText(ScreenNameKey(n)), "") << n;
  EXPECT_EQ(BuiltInText(ScreenNameKey(14)), "");
}

TEST(UiTexts, KeyCountsPerGroup) {
  std::map<Group, int> counts;
  std::set<std::string_view> keys;
  for (const TextKey& key : AllTextKeys()) {
    ++counts[key.group];
    EXPECT_TRUE(keys.insert(key.key).second) << key.key;
    EXPECT_FALSE(BuiltInText(key.key).empty()) << key.key;
  }
  EXPECT_EQ(counts[Group::kColors], 29);
  EXPECT_EQ(counts[Group::kImages], 50);
  EXPECT_EQ(counts[Group::kElements], 23);
  EXPECT_EQ(counts[Group::kPanel], 11);
  EXPECT_EQ(counts[Group::kInformation], 5);
}

TEST(Languages, MenuCrossings) {
  EXPECT_EQ(kLanguages[3].menu_item, 21);
  EXPECT_EQ(kLanguages[3].number, 3);
  EXPECT_EQ(kLanguages[8].number, 9);
  EXPECT_EQ(kLanguages[9].number, 8);
  EXPECT_EQ(LanguageFile(8), "other.ini");
  EXPECT_EQ(LanguageFile(0), "");
  EXPECT_EQ(LanguageFile(12), "");
}

TEST(ApplyLanguage, ReplacesTextsAndLanguageZeroRestoresEveryOne) {
  testing_support::TempDir dir;
  std::ofstream(dir.path() / "francais.ini", std::ios::binary)
      << "[menu]\nlang_ok$=D\xE9j\xE0\nLANG_CANCEL$=\n[Panel]\nLANG_ERROR$=misplaced\n";
  UiTexts texts;
  ApplyLanguage(texts, 4, dir.folder());
  EXPECT_EQ(texts.Text("LANG_OK$"), "Déjà");
  EXPECT_EQ(texts.Text("LANG_CANCEL$"), "") << "an empty value gives an empty caption";
  EXPECT_EQ(texts.Text("LANG_ERROR$"), "Error") << "a key under the wrong group is not found";
  ApplyLanguage(texts, 3, dir.folder());  // no spanish.ini: built-in texts
  EXPECT_EQ(texts.Text("LANG_OK$"), "OK");
  ApplyLanguage(texts, 4, dir.folder());
  ApplyLanguage(texts, 0, dir.folder());
  for (const TextKey& key : AllTextKeys()) EXPECT_EQ(texts.Text(key.key), BuiltInText(key.key));
}

TEST(ApplyLanguage, WithoutALanguageFolderNothingIsOpened) {
  testing_support::TempDir dir;
  fs::create_directory(dir.path() / "language");
  for (const fs::path& file : {dir.path() / "spanish.ini", dir.path() / "language/spanish.ini"}) {
    std::ofstream(file, std::ios::binary) << "[Menu]\nLANG_OK$=Vale\n";
  }
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  UiTexts texts;
  ApplyLanguage(texts, 3, "");
  fs::current_path(before);
  EXPECT_EQ(texts.Text("LANG_OK$"), "OK");
}

TEST(ApplyLanguage, LongValuesAreCutAtACharacter) {
  testing_support::TempDir dir;
  std::string euros;
  for (int i = 0; i < 2000; ++i) euros += "\u20AC";
  std::ofstream(dir.path() / "german.ini", std::ios::binary)
      << "\xEF\xBB\xBF[Menu]\nLANG_OK$=" << euros << "\nLANG_CANCEL$=" << std::string(5000, 'x')
      << "\n";
  UiTexts texts;
  ApplyLanguage(texts, 5, dir.folder());
  EXPECT_EQ(texts.Text("LANG_OK$"), euros.substr(0, kMaxLanguageTextBytes / 3 * 3));
  EXPECT_EQ(texts.Text("LANG_CANCEL$"), std::string(kMaxLanguageTextBytes, 'x'));
}

struct FormatCase {
  std::string_view text;
  std::vector<std::string_view> args;
  std::string_view expected;
};

class FormatTextTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTextTable, SubstitutesInOnePass) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatText(c.text, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTextTable,
    testing::Values(FormatCase{"Opened %1", {"blue.zip"}, "Opened blue.zip"},
                    FormatCase{"%2: %1", {"Text", "[gba]"}, "[gba]: Text"},
                    FormatCase{"%1 x %1", {"8"}, "8 x 8"},
                    FormatCase{"%1 of %3", {"a", "b"}, "a of %3"},
                    FormatCase{"Undo %1", {"%1%2"}, "Undo %1%2"},
                    FormatCase{"%1", {"%2", "%1"}, "%2"},
                    FormatCase{"100% %0 %% %a %", {"x"}, "100% %0 %% %a %"},
                    FormatCase{"%12", {"a"}, "a2"}, FormatCase{"no marks", {}, "no marks"},
                    FormatCase{"%9", {"1", "2", "3", "4", "5", "6", "7", "8", "nine"}, "nine"},
                    FormatCase{"", {"x"}, ""}));

TEST(FormatTextLimit, TextsThatMultiplyEachOtherStayWithinTheLimitAndAreQuick) {
  testing_support::TempDir dir;
  std::string marks;
  for (int i = 0; i < 20'000; ++i) marks += "%1";
  std::ofstream(dir.path() / "german.ini", std::ios::binary)
      << "[Menu]\nLANG_STEP_OPEN$=" << marks << "\nLANG_EDIT_UNDO_STEP$=" << marks
      << "\nLANG_STATUS_OPENED$=" << marks << "\n";
  UiTexts texts;
  ApplyLanguage(texts, 5, dir.folder());
  EXPECT_EQ(texts.Text("LANG_STEP_OPEN$").size(), kMaxLanguageTextBytes);
  const auto start = std::chrono::steady_clock::now();
  const std::string step = FormatText(texts.Text("LANG_STEP_OPEN$"), {"blue skin"});
  const std::string undo = FormatText(texts.Text("LANG_EDIT_UNDO_STEP$"), {step});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  EXPECT_EQ(step.size(), kMaxFormattedTextBytes);
  EXPECT_EQ(undo, step) << "the step's own marks are not replaced again";
  EXPECT_EQ(FormatText(marks, {"\u00FC"}).size(), kMaxFormattedTextBytes)
      << "two-byte characters fill the limit exactly";
  EXPECT_EQ(FormatText(marks, {"\u20AC"}).size(), kMaxFormattedTextBytes / 3 * 3)
      << "no character is split";
}

TEST(ShippedLanguageFiles, EachIsUtf8WithAMarkAndHasExactlyTheKeys) {
  std::set<std::pair<std::string, std::string>> expected;
  for (const TextKey& key : AllTextKeys()) {
    expected.insert({std::string(GroupName(key.group)), std::string(key.key)});
  }
  for (const Language& language : kLanguages) {
    if (language.file.empty()) continue;
    const fs::path path = kShippedLanguages / language.file;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_TRUE(text.starts_with("\xEF\xBB\xBF")) << language.file;
    // Valid UTF-8 throughout.
    for (std::size_t i = 3; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
      ASSERT_NE(n, 0u) << language.file << " at byte " << i;
      ASSERT_LE(i + n, text.size()) << language.file;
      for (std::size_t k = 1; k < n; ++k) {
        ASSERT_EQ(static_cast<unsigned char>(text[i + k]) & 0xC0, 0x80)
            << language.file << " at " << i;
      }
      i += n;
    }
    // Every key present in its group, and no key that does not exist.
    std::string group;
    std::set<std::pair<std::string, std::string>> found;
    std::size_t start = 3;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t first = line.find_first_not_of(" \t");
      if (first == std::string::npos || line[first] == ';') continue;
      if (line[first] == '[') {
        group = line.substr(first + 1, line.find(']') - first - 1);
        continue;
      }
      const std::string key = line.substr(first, line.find_first_of(" \t=", first) - first);
      EXPECT_TRUE(expected.count({group, key}))
          << language.file << ": unknown key " << group << "/" << key;
      found.insert({group, key});
    }
    for (const auto& key : expected) {
      EXPECT_TRUE(found.count(key)) << language.file << " lacks " << key.first << "/" << key.second;
    }
  }
}

}  // namespace
}  // namespace i18n

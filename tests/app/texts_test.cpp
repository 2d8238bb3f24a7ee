// The editor's texts: what the binaries give away, and that every caption the panels ask for is in
// the text table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/panel_tables.h"
#include "i18n/ui_texts.h"
#include "skin/skin_tables.h"
#include "test_support.h"

namespace app {
namespace {

// The built-in texts that the program holds scrambled: the Menu, Panel and Information groups
// (messages and information-box passages among them), the language menu and the program's name.
std::vector<std::string> ScrambledTexts() {
  std::vector<std::string> texts;
  for (const i18n::TextKey& key : i18n::AllTextKeys()) {
    if (key.group == i18n::Group::kMenu || key.group == i18n::Group::kPanel ||
        key.group == i18n::Group::kInformation) {
      texts.push_back(i18n::BuiltInText(key.key));
    }
  }
  for (std::size_t i = 0; i < i18n::kLanguages.size(); ++i) texts.push_back(i18n::LanguageLabel(i));
  texts.push_back(i18n::LanguageMenuTitle());
  texts.push_back(i18n::ProgramName());
  return texts;
}

// How many of `texts` stand plain in `bytes`, with a failure for each. Single words ("File", "OK")
// stand in any binary's symbol names; phrases and sentences are what `strings` would give away.
int ExpectNonePlain(const std::vector<std::string>& texts, const std::string& bytes,
                    const std::string& file) {
  int checked = 0;
  for (const std::string& text : texts) {
    if (text.find(' ') == std::string::npos) continue;
    ++checked;
    EXPECT_EQ(bytes.find(text), std::string::npos) << file << " holds \"" << text << "\"";
  }
  return checked;
}

TEST(ProgramFiles, NoTextHeldScrambledIsInEitherBinaryAsPlainText) {
  const std::vector<std::string> texts = ScrambledTexts();
  for (const char* program : {SKINSMITH_EDITOR, SKINSMITH_CLI}) {
    const std::string bytes = testing_support::ReadFileText(program);
    ASSERT_GT(bytes.size(), 100000u) << program;
    EXPECT_GT(ExpectNonePlain(texts, bytes, program), 40);
  }
}

// The same sources compiled at -O2, where the optimiser could fold the scrambling away.
TEST(ProgramFiles, NoTextHeldScrambledIsPlainInOptimisedObjects) {
  const std::vector<std::string> texts = ScrambledTexts();
  std::string bytes;
  std::string objects = SKINSMITH_OPTIMISED_TEXTS;
  for (std::size_t start = 0; start <= objects.size();) {
    const std::size_t end = std::min(objects.find('|', start), objects.size());
    bytes += testing_support::ReadFileText(objects.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_GT(bytes.size(), 10000u);
  EXPECT_GT(ExpectNonePlain(texts, bytes, objects), 40);
  EXPECT_EQ(bytes.find("Super Mario 64"), std::string::npos) << "a preview sample text";
}

TEST(PanelTables, EveryTextKeyIsInTheTextTable) {
  std::vector<std::string> keys;
  for (const ColourButton& b : ColourButtons()) keys.emplace_back(b.text_key);
  for (const ImageButton& b : ImageButtons())
    keys.push_back("LANG_IMAGE_" + std::string(skin::Info(b.slot).BaseName()) + "$");
  for (const ElementRow& row : ElementRows()) {
    if (!row.text_key.empty()) keys.emplace_back(row.text_key);
  }
  EXPECT_EQ(keys.size(), 29u + 50u + 23u);
  for (const std::string& key : keys) EXPECT_FALSE(i18n::BuiltInText(key).empty()) << key;
}

}  // namespace
}  // namespace app

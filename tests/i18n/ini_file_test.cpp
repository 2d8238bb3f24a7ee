// The INI reader of language files and program settings.
#include "i18n/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <set>

namespace i18n {
namespace {

IniFile Parse(const std::string& text) {
  return IniFile::Parse({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(IniFile, EncodingFollowsTheByteOrderMark) {
  EXPECT_EQ(Parse("[Menu]\nLANG_OK$=\xFC\n").Value("Menu", "LANG_OK$"), "ü")
      << "without a mark every byte is ISO 8859-1";
  EXPECT_EQ(Parse("[Menu]\nLANG_OK$=\xC3\xBC\n").Value("Menu", "LANG_OK$"), "Ã¼")
      << "UTF-8 without a mark reads as two characters";
  EXPECT_EQ(Parse("\xEF\xBB\xBF[Menu]\nLANG_OK$=\xC3\xBC\n").Value("Menu", "LANG_OK$"), "ü");
}

TEST(IniFile, SyntaxRules) {
  const IniFile ini = Parse(
      "; comment\r\n  [menu] trailing words\r\n\tlang_ok$ \t=  \t Yes \t\r"
      "LANG_OK$=second\nLANG_CANCEL$=\n;LANG_ERROR$=commented\n"
      "[Panel]\nLANG_OK$=wrong group\n[MENU]\nLANG_ERROR$=second group\n");
  EXPECT_EQ(ini.Value("Menu", "LANG_OK$"), "Yes") << "case, trimming, first key wins";
  EXPECT_EQ(ini.Value("Menu", "LANG_CANCEL$"), "") << "present but empty";
  EXPECT_EQ(ini.Value("Menu", "LANG_ERROR$"), std::nullopt) << "comment, and a repeated group";
  EXPECT_EQ(ini.Value("Panel", "LANG_OK$"), "wrong group");
  EXPECT_EQ(ini.Value("Information", "LANG_OK$"), std::nullopt);
  EXPECT_EQ(Parse("LANG_OK$=before any group\n").Value("", "LANG_OK$"), std::nullopt);
}

// Random texts over a few names that differ only in case, against a model of the rules: the first
// of equal groups counts, and in it the first of equal keys.
TEST(IniFile, AgreesWithAModelOfTheRulesOnRandomTexts) {
  const std::string names[] = {"a", "A", "b", "B", "ab", "aB", ""};
  const auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::mt19937 rng(1);
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  for (int round = 0; round < 300; ++round) {
    std::string text;
    std::map<std::pair<std::string, std::string>, std::string> model;
    std::set<std::string> groups_seen;
    std::string group;
    bool counts = false;
    for (int line = 0; line < 25; ++line) {
      const std::string& name = names[pick(std::size(names))];
      const std::string value = "v" + std::to_string(line);
      switch (pick(4)) {
        case 0:
          text += " [" + name + "] tail\r\n";
          group = lower(name);
          counts = groups_seen.insert(group).second;
          break;
        case 1:
        case 2:
          text += "\t" + name + " = " + value + " \n";
          if (counts) model.try_emplace({group, lower(name)}, value);
          break;
        default:
          text += ";" + name + "=comment\r";
      }
    }
    const IniFile ini = Parse(text);
    for (const std::string& g : names) {
      for (const std::string& k : names) {
        const auto found = model.find({lower(g), lower(k)});
        EXPECT_EQ(ini.Value(g, k),
                  found == model.end() ? std::nullopt : std::optional<std::string>(found->second))
            << text << "\n[" << g << "] " << k;
      }
    }
  }
}

TEST(IniFile, TensOfThousandsOfGroupsAndKeysParseQuickly) {
  std::string text = "[settings]\nLastPath=first\n";
  for (int i = 0; i < 30'000; ++i)
    text += "[g" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
  text += "[one]\n";
  for (int i = 0; i < 50'000; ++i) text += "k" + std::to_string(i) + "=\n";
  text += "K7=second\n[SETTINGS]\nLastPath=second\n";
  ASSERT_LT(text.size(), kMaxIniFileBytes);
  const auto start = std::chrono::steady_clock::now();
  const IniFile ini = Parse(text);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(ini.Value("Settings", "lastpath"), "first");
  EXPECT_EQ(ini.Value("G29999", "K"), "29999");
  EXPECT_EQ(ini.Value("one", "k7"), "");
  EXPECT_EQ(ini.Value("one", "k49999"), "");
  EXPECT_EQ(ini.Value("one", "k50000"), std::nullopt);
}

TEST(IniFile, DecimalNumbers) {
  EXPECT_EQ(ParseDecimal("3abc"), 3);
  EXPECT_EQ(ParseDecimal("  -12"), -12);
  EXPECT_EQ(ParseDecimal("x1"), 0);
  EXPECT_EQ(ParseDecimal(""), 0);
}

}  // namespace
}  // namespace i18n

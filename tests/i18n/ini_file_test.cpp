// The INI reader of language files and program settings.
#include "i18n/ini_file.h"

#include <gtest/gtest.h>

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

TEST(IniFile, DecimalNumbers) {
  EXPECT_EQ(ParseDecimal("3abc"), 3);
  EXPECT_EQ(ParseDecimal("  -12"), -12);
  EXPECT_EQ(ParseDecimal("x1"), 0);
  EXPECT_EQ(ParseDecimal(""), 0);
}

}  // namespace
}  // namespace i18n

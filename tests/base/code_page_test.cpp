// Choosing and using the code page of settings-file texts.
#include "base/code_page.h"

#include <gtest/gtest.h>

namespace base {
namespace {

TEST(CodePage, FollowsTheLocale) {
  EXPECT_EQ(AnsiCodePageForLocale("zh_CN.UTF-8"), 936);
  EXPECT_EQ(AnsiCodePageForLocale("zh_SG"), 936);
  EXPECT_EQ(AnsiCodePageForLocale("zh_TW.UTF-8"), 950);
  EXPECT_EQ(AnsiCodePageForLocale("zh_HK.Big5-HKSCS"), 950);
  EXPECT_EQ(AnsiCodePageForLocale("ja_JP.eucJP"), 932);
  EXPECT_EQ(AnsiCodePageForLocale("ko_KR.UTF-8"), 949);
  EXPECT_EQ(AnsiCodePageForLocale("ru_RU.UTF-8"), 1251);
  EXPECT_EQ(AnsiCodePageForLocale("uk_UA"), 1251);
  EXPECT_EQ(AnsiCodePageForLocale("sr_RS@latin"), 1252);
  EXPECT_EQ(AnsiCodePageForLocale("de_DE.UTF-8"), 1252);
  EXPECT_EQ(AnsiCodePageForLocale("C"), 1252);
  EXPECT_EQ(AnsiCodePageForLocale(""), 1252);
}

TEST(CodePage, ConversionReplacesWhatItCannotHold) {
  EXPECT_EQ(EncodeAnsi("Crème", 1252), "Cr\xE8me");
  EXPECT_EQ(DecodeAnsi("Cr\xE8me", 1252), "Crème");
  EXPECT_EQ(EncodeAnsi("a€b", 1252),
            "a\x80"
            "b");
  EXPECT_EQ(EncodeAnsi("日本", 1252), "??");
  EXPECT_EQ(EncodeAnsi("a\xC3", 1252), "a?") << "a cut-off UTF-8 sequence";
  EXPECT_EQ(EncodeAnsi("a\xFF"
                       "b",
                       936),
            "a?b");
  EXPECT_EQ(DecodeAnsi("\x81", 1252), "\xEF\xBF\xBD") << "undefined in 1252";
  EXPECT_EQ(DecodeAnsi("x\xB0", 936), "x\xEF\xBF\xBD") << "lead byte without its trail byte";
  EXPECT_EQ(DecodeAnsi("\xC4\xE3\xBA\xC3", 936), "你好");
}

}  // namespace
}  // namespace base

// Colour text conversion of uisettings.ini.
#include "skin/skin_colour.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace skin {
namespace {

using imaging::MakeRgb;

struct ParseCase {
  const char* text;
  imaging::Rgb expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseSkinColourTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSkinColourTest, GivesChannelsShiftedLeftByThree) {
  EXPECT_EQ(ParseSkinColour(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseSkinColourTest,
    ::testing::Values(ParseCase{"0x7fff", MakeRgb(248, 248, 248)},
                      ParseCase{"0xffff", MakeRgb(248, 248, 248)},  // bit 15 carries nothing
                      ParseCase{"0x980c", MakeRgb(96, 0, 48)},
                      ParseCase{"0x001f", MakeRgb(248, 0, 0)},
                      ParseCase{"0x03e0", MakeRgb(0, 248, 0)},
                      ParseCase{"0x7c00", MakeRgb(0, 0, 248)},
                      ParseCase{"7fff", MakeRgb(248, 248, 248)},      // no prefix
                      ParseCase{"0x1f", MakeRgb(248, 0, 0)},          // padded to 001f
                      ParseCase{"0x12345", ParseSkinColour("2345")},  // last four kept
                      ParseCase{"", MakeRgb(0, 0, 0)},
                      ParseCase{"0X7F", MakeRgb(0, 0, 0)},  // capital X stops the digits at once
                      ParseCase{"0x7FFF", MakeRgb(248, 248, 248)},
                      ParseCase{"0x00g1", MakeRgb(0, 0, 0)},      // digits before the g give 0
                      ParseCase{"0x0x1f", MakeRgb(248, 0, 0)}));  // every "0x" is removed

TEST(FormatSkinColour, TruncatesChannelsAndWritesFourLowerCaseDigits) {
  EXPECT_EQ(FormatSkinColour(MakeRgb(255, 255, 255)), "0x7fff");
  EXPECT_EQ(FormatSkinColour(MakeRgb(248, 248, 248)), "0x7fff");
  EXPECT_EQ(FormatSkinColour(MakeRgb(7, 7, 7)), "0x0000");
  EXPECT_EQ(FormatSkinColour(MakeRgb(8, 0, 0)), "0x0001");
  EXPECT_EQ(FormatSkinColour(MakeRgb(0, 0, 255)), "0x7c00");
  EXPECT_EQ(FormatSkinColour(ParseSkinColour("0x980c")), "0x180c");
  EXPECT_EQ(FormatSkinColour(ParseSkinColour("0xABCD")), "0x2bcd");
}

TEST(FormatSkinColour, RoundTripsEveryFifteenBitValue) {
  for (unsigned v = 0; v < 0x8000; ++v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", v);
    ASSERT_EQ(FormatSkinColour(ParseSkinColour(text)), text);
  }
}

TEST(ParseColourCode, SkinNotationOrRgbRoundedToFifteenBitsAndNothingElse) {
  const std::pair<const char*, std::optional<imaging::Rgb>> cases[] = {
      {"0x329e", ParseSkinColour("0x329e")},  // as uisettings.ini writes it
      {"  0X7FFF\t", MakeRgb(248, 248, 248)},
      {"0x1f", MakeRgb(248, 0, 0)},
      {"0x7fff", MakeRgb(248, 248, 248)},
      {"0xffff", std::nullopt},  // bit 15, which the file ignores, is a slip when typed
      {"0x8000", std::nullopt},
      {"#FFF", MakeRgb(248, 248, 248)},  // #RGB is #RRGGBB
      {"#f80", MakeRgb(248, 136, 0)},
      {" #123 ", MakeRgb(16, 32, 48)},
      {"#12345", std::nullopt},
      {"#1234", std::nullopt},
      {"#GGG", std::nullopt},
      {"0xZZZ", std::nullopt},
      {"#FF0000", MakeRgb(248, 0, 0)},
      {"#0000ff", MakeRgb(0, 0, 248)},
      {"#040404", MakeRgb(0, 0, 0)},  // below half a step: down
      {"#050505", MakeRgb(8, 8, 8)},  // above: up
      {"#FCFCFC", MakeRgb(248, 248, 248)},
      {"#7F8081", MakeRgb(120, 128, 128)},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"0x12345", std::nullopt},
      {"329e", std::nullopt},
      {"0x32 9e", std::nullopt},
      {"0x-1", std::nullopt},
      {"#FF", std::nullopt},
      {"#FF00001", std::nullopt},
      {"#GG0000", std::nullopt},
      {"##FF0000", std::nullopt},
      {"#+F0000", std::nullopt},
      {"0x0x1f", std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseColourCode(text), expected) << text;
  EXPECT_EQ(ParseColourCode(std::string(100000, 'f')), std::nullopt);
  EXPECT_EQ(ParseColourCode(std::string_view("0x1\0f", 5)), std::nullopt);
  // What the code field shows after a #RRGGBB is the file's notation of the rounded colour.
  EXPECT_EQ(FormatSkinColour(*ParseColourCode("#FF0000")), "0x001f");
}

}  // namespace
}  // namespace skin

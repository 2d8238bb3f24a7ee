// Reading uisettings.ini: matching, values, the quirks existing skins rely on, and round trips
// through the writer.
#include "skin/settings_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "skin/skin_colour.h"
#include "skin/skin_saver.h"

namespace skin {
namespace {

using imaging::MakeRgb;

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class SettingsReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSkinDefaults(doc_); }
  void Read(const std::string& text, int code_page = base::kDefaultCodePage) {
    ReadSkinSettings(Bytes(text), doc_, code_page);
  }
  SkinDocument doc_;
};

struct NumberCase {
  const char* text;
  std::int32_t expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SkinNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SkinNumberTest, FollowsTheNumberRule) {
  EXPECT_EQ(ParseSkinNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Values, SkinNumberTest,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{" 12", 12}, NumberCase{"\t 12", 12},
                      NumberCase{"", 0}, NumberCase{"-5", -5}, NumberCase{"+7", 7},
                      NumberCase{"$1F", 31}, NumberCase{"$ff", 255}, NumberCase{"-$10", -16},
                      NumberCase{"%101", 5}, NumberCase{"%102", 2}, NumberCase{"12px", 12},
                      NumberCase{"abc", 0}, NumberCase{"$", 0}, NumberCase{"- 5", 0},
                      NumberCase{"2147483647", 2147483647}, NumberCase{"-2147483648", INT32_MIN},
                      NumberCase{"4294967297", 1}));  // wraps, never overflows

TEST_F(SettingsReaderTest, IntegerLinesUnderTheirSection) {
  Read("[file name]\r\nx = 12\r\ny=\r\nw=-5\r\nh=$1F\r\nshow=%101\r\n");
  EXPECT_EQ(doc_.Field(FieldId::file_name_x), 12);
  EXPECT_EQ(doc_.Field(FieldId::file_name_y), 0);
  EXPECT_EQ(doc_.Field(FieldId::file_name_w), -5);
  EXPECT_EQ(doc_.Field(FieldId::file_name_h), 31);
  EXPECT_EQ(doc_.Field(FieldId::file_name_show), 5);
  EXPECT_EQ(doc_.Field(FieldId::game_name_x), 127) << "x of another section is another field";
}

TEST_F(SettingsReaderTest, HeadersAndKeysIgnoreSpacesAndCaseButNotTabs) {
  Read(
      "[Start Button]\r\nX=1\r\n[startbutton]\r\ny=2\r\n[ start button ]\r\nW = 3\r\n"
      "[start button]\r\n\th=4\r\n[global settings]\r\nForm Frame Color = 0x7c00\r\n");
  EXPECT_EQ(doc_.Field(FieldId::start_button_x), 1);
  EXPECT_EQ(doc_.Field(FieldId::start_button_y), 2);
  EXPECT_EQ(doc_.Field(FieldId::start_button_w), 3);
  EXPECT_EQ(doc_.Field(FieldId::start_button_h), 20) << "a tab before the key is not removed";
  EXPECT_EQ(doc_.Colour(ColourId::formFrameColor), MakeRgb(0, 0, 248));
}

TEST_F(SettingsReaderTest, LaterLineWinsAndUnknownLinesAreSkipped) {
  Read("[big clock]\r\nx=1\r\nnonsense\r\n[unknown]\r\nx=2\r\nzoom=9\r\n");
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 2) << "an unknown header does not end the section";
}

TEST_F(SettingsReaderTest, ColourPassKnowsOnlyFiveHeaders) {
  Read("[GLOBAL SETTINGS]\r\nformframecolor=0x7c00\r\n");
  EXPECT_EQ(doc_.Colour(ColourId::formFrameColor), MakeRgb(0, 0, 248));
  Read("[global settings]\r\n[file name]\r\nformBodyColor = 0x00 1f\r\n");
  EXPECT_EQ(doc_.Colour(ColourId::formBodyColor), MakeRgb(248, 0, 0))
      << "[file name] does not end the colour section; spaces inside the value are removed";
  Read(
      "[time text]\r\ncolor=0x03e0\r\n[start menu]\r\n[end]\r\ncolor=0x001f\r\n"
      "[main list]\r\ntextColorHilight=0x7c00\r\ncolor=0x7fff\r\n");
  EXPECT_EQ(doc_.FieldColour(FieldId::time_text_color), MakeRgb(248, 0, 0))
      << "a colour key after [end] still counts for the last colour section";
  EXPECT_EQ(doc_.FieldColour(FieldId::main_list_textColorHilight), MakeRgb(0, 0, 248));
  EXPECT_EQ(doc_.FieldColour(FieldId::folder_text_color), ParseSkinColour("0x5a80"));
}

TEST_F(SettingsReaderTest, LinesAfterEndChangeNoIntegerOrText) {
  Read("[big clock]\r\n[end]\r\nx=5\r\nTitle=late\r\n");
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 131);
  EXPECT_EQ(doc_.info.Title, "");
}

TEST_F(SettingsReaderTest, TitleLosesOneLeadingSpacePerSkinInfoLine) {
  std::string text =
      "[SkinInfo]\r\nTitle=  Two\r\nAuthor=a\r\neMail=e\r\nUrl=u\r\nLastUpdate=l\r\n\r\n"
      "[global settings]\r\n";
  for (const ColourInfo& c : kColours) text += std::string(c.key) + "=0x7fff\r\n";
  text += "[file name]\r\n";
  Read(text);
  EXPECT_EQ(doc_.info.Title, "Two");
  EXPECT_EQ(doc_.info.Author, "a");

  Read("[SkinInfo]\r\nTitle=  Two\r\n[file name]\r\n");
  EXPECT_EQ(doc_.info.Title, " Two") << "only its own line has run while [SkinInfo] was current";
}

TEST_F(SettingsReaderTest, ValueEndsAtTheSecondEqualsSign) {
  Read("[SkinInfo]\r\nTitle=A=B\r\nUrl\r\n[end]\r\n");
  EXPECT_EQ(doc_.info.Title, "A");
  EXPECT_EQ(doc_.info.Url, "") << "a line without = has an empty value";
}

TEST_F(SettingsReaderTest, FileHandleMenuPositionTakesTheFirstLineOrZero) {
  Read("[file handle menu]\r\nx=7\r\ny=8\r\nw=9\r\n[file handle menu]\r\nx=1\r\ny=2\r\nw=3\r\n");
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_x), 7);
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_y), 8);
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_w), 3);

  doc_.Field(FieldId::file_handle_menu_w) = 44;
  Read("[big clock]\r\nx=1\r\n");
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_x), 0);
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_y), 0);
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_w), 44);

  Read("[file handle menu]\r\nx=-1\r\nx=6\r\ny=-1\r\n");
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_x), 6) << "-1 counts as not read";
  EXPECT_EQ(doc_.Field(FieldId::file_handle_menu_y), 0);
}

TEST_F(SettingsReaderTest, LineEndsAndUnterminatedLastLine) {
  Read("[big clock]\nx=1\ny=2");
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 1);
  EXPECT_EQ(doc_.Field(FieldId::big_clock_y), 141) << "the unterminated last line is dropped";

  Read("[big clock]\rx=3\ry=4\r");
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 3) << "a lone CR ends a line";
  EXPECT_EQ(doc_.Field(FieldId::big_clock_y), 4);

  static constexpr char kWithNul[] =
      "[big clock]\r\nx=\0"
      "9\r\n";
  Read(std::string(kWithNul, sizeof kWithNul - 1));
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 9) << "a NUL byte adds nothing";
}

TEST_F(SettingsReaderTest, EmptyDataChangesOnlyTheFileHandleMenuPosition) {
  SkinDocument before = doc_;
  Read("");
  before.Field(FieldId::file_handle_menu_x) = 0;
  before.Field(FieldId::file_handle_menu_y) = 0;
  EXPECT_EQ(doc_, before);
}

TEST_F(SettingsReaderTest, WrittenDefaultsReadBackIntoADocumentOfOtherValues) {
  SaveOptions options;
  options.last_update = "2026/12/08-06:30:00";
  const std::string text = BuildSkinSettingsText(doc_, options);
  const SkinDocument expected = doc_;

  SkinDocument other = doc_;
  other.fields.fill(12345);
  other.colours.fill(MakeRgb(8, 8, 8));
  other.info = {"t", "a", "e", "u", "l"};
  ReadSkinSettings(Bytes(text), other, base::kDefaultCodePage);
  EXPECT_EQ(other.fields, expected.fields);
  EXPECT_EQ(other.colours, expected.colours);
  EXPECT_EQ(other.info, expected.info);
  EXPECT_EQ(other.info.LastUpdate, "2026/12/08-06:30:00");
}

TEST_F(SettingsReaderTest, EditedValuesSurviveWriteAndRead) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    doc_.fields[i] = kFields[i].kind == FieldKind::kColour
                         ? static_cast<std::int32_t>(MakeRgb(8 * (i % 32), 248, 16))
                         : static_cast<std::int32_t>(i) * 37 - 2000;
  }
  for (std::size_t i = 0; i < kColourCount; ++i) doc_.colours[i] = MakeRgb(i * 7 & 0xF8, 0, 200);
  SaveOptions options;
  options.edited_info = EditedInfo{"Night Owl", "Jo", "jo@example.org", "https://example.org"};
  const std::string text = BuildSkinSettingsText(doc_, options);
  EXPECT_EQ(doc_.info.Title, "Night Owl") << "the edited texts reach the document";

  SkinDocument read;
  ResetSkinDefaults(read);
  ReadSkinSettings(Bytes(text), read, base::kDefaultCodePage);
  EXPECT_EQ(read.fields, doc_.fields);
  EXPECT_EQ(read.colours, doc_.colours);
  EXPECT_EQ(read.info, doc_.info);
}

struct CodePageCase {
  int code_page;
  const char* title;
};

void PrintTo(const CodePageCase& c, std::ostream* os) { *os << c.code_page; }

class CodePageRoundTrip : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageRoundTrip, TitleComesBackUnchanged) {
  SkinDocument doc;
  ResetSkinDefaults(doc);
  SaveOptions options;
  options.code_page = GetParam().code_page;
  options.edited_info = EditedInfo{GetParam().title, "", "", ""};
  const std::string text = BuildSkinSettingsText(doc, options);
  EXPECT_EQ(text.find(GetParam().title), std::string::npos) << "stored in the code page, not UTF-8";
  SkinDocument read;
  ReadSkinSettings(Bytes(text), read, GetParam().code_page);
  EXPECT_EQ(read.info.Title, GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CodePageRoundTrip,
    ::testing::Values(CodePageCase{936, "夜间皮肤"}, CodePageCase{1252, "Crème brûlée"},
                      CodePageCase{932, "夜のスキン"}, CodePageCase{950, "夜間皮膚"},
                      CodePageCase{949, "야간 스킨"}, CodePageCase{1251, "Ночная тема"}));

TEST(SettingsTextCodePage, UnrepresentableCharactersBecomeQuestionMarks) {
  SkinDocument doc;
  SaveOptions options;
  options.code_page = 1252;
  options.edited_info = EditedInfo{"Skin 夜 ok", "", "", ""};
  const std::string text = BuildSkinSettingsText(doc, options);
  EXPECT_NE(text.find("\r\nTitle=Skin ? ok\r\n"), std::string::npos);
}

TEST(SettingsTextCodePage, BrokenMultiByteTextDoesNotDisturbTheRest) {
  SkinDocument doc;
  ResetSkinDefaults(doc);
  // A lead byte of code page 936 cut off by the line end, then ordinary lines.
  const std::string text = "[SkinInfo]\r\nTitle=A\xB0\r\nAuthor=\xFF\xFF\r\n[big clock]\r\nx=9\r\n";
  ReadSkinSettings(Bytes(text), doc, 936);
  EXPECT_EQ(doc.Field(FieldId::big_clock_x), 9);
  EXPECT_EQ(doc.info.Title, "A\xEF\xBF\xBD");
  EXPECT_EQ(doc.info.Author.substr(0, 3), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace skin

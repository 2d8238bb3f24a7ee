// Writing skin folders: the settings text, the files of a save, progress and failure reports.
#include "skin/skin_saver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "imaging/bmp16.h"
#include "skin/skin_colour.h"
#include "test_support.h"

namespace skin {
namespace {

namespace fs = std::filesystem;
using testing_support::RecordingFeedback;
using testing_support::TempDir;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "every line, the last one included, ends with CR LF";
  return lines;
}

TEST(SettingsText, LayoutOfTheDefaultSkin) {
  SkinDocument doc;
  ResetSkinDefaults(doc);
  SaveOptions options;
  options.last_update = "2010/03/07-14:05:09";
  const std::string text = BuildSkinSettingsText(doc, options);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  EXPECT_EQ(text.find("\n\n"), std::string::npos) << "no bare LF";

  const std::vector<std::string> lines = Lines(text);
  ASSERT_GE(lines.size(), 10u);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 9);
  EXPECT_EQ(head, (std::vector<std::string>{"[SkinInfo]", "Title=", "Author=", "eMail=", "Url=",
                                            "LastUpdate=2010/03/07-14:05:09", "",
                                            "[global settings]", "formFrameColor=0x180c"}));
  EXPECT_EQ(lines.back(), "[end]");
  // 1 + 5 + 1 info lines, 1 + 34 + 1 colour lines, a header and a blank per section, [end].
  EXPECT_EQ(lines.size(), 7u + 36u + kFieldCount + 2 * kSectionCount + 1u);
  EXPECT_NE(
      text.find("\r\n\r\n[start button]\r\nx=0\r\ny=172\r\nw=58\r\nh=20\r\ntextColor=0x7fff\r\n"
                "file=0\r\n\r\n[start menu]\r\n"),
      std::string::npos);
  EXPECT_NE(text.find("\r\n[clsoe btn]\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n[main list]\r\ntextColor=0x2d6b\r\ntextColorHilight=0x7fff\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\n[List type menu]\r\nx=2\r\ny=125\r\nw=61\r\nh=50\r\n\r\n[end]\r\n"),
            std::string::npos);
}

TEST(SettingsText, ValueForms) {
  SkinDocument doc;
  ResetSkinDefaults(doc);
  doc.Field(FieldId::big_clock_x) = -3;
  doc.Colour(ColourId::formBodyColor) = imaging::MakeRgb(255, 255, 255);
  SaveOptions options;
  options.edited_info = EditedInfo{"a=b", "", "", ""};
  const std::string text = BuildSkinSettingsText(doc, options);
  EXPECT_NE(text.find("[big clock]\r\nx=-3\r\n"), std::string::npos);
  EXPECT_NE(text.find("formBodyColor=0x7fff\r\n"), std::string::npos);
  EXPECT_NE(text.find("Title=a=b\r\n"), std::string::npos) << "texts are written as they are";
}

TEST(LastUpdateStamp, PadsEveryField) {
  std::tm t{};
  t.tm_year = 2010 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 14;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(FormatLastUpdate(t), "2010/03/07-14:05:09");
}

class SaveSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSkinDefaults(doc_);
    options_.last_update = "2026/12/08-07:00:00";
    options_.texts = testing_support::EnglishMessages();
  }
  SkinDocument doc_;
  SaveOptions options_;
  RecordingFeedback feedback_;
  TempDir dir_;
};

TEST_F(SaveSkinTest, WritesEveryFileWithProgressAndReadsBackTheSameSlots) {
  doc_.SetSlot(SlotId::btn, imaging::Image(11, 10, imaging::MakeRgb(8, 16, 24)));
  doc_.SetSlot(SlotId::unk, imaging::Image());
  SaveSkin(doc_, dir_.path().string(), options_, feedback_);  // no trailing separator given
  EXPECT_TRUE(feedback_.messages.empty());

  std::vector<int> expected_progress;
  for (int i = 1; i <= 54; ++i) expected_progress.push_back(i);
  expected_progress.push_back(0);
  EXPECT_EQ(feedback_.progress, expected_progress);

  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
    files += entry.is_regular_file();
  }
  EXPECT_EQ(files, 54u) << "uisettings.ini and 53 pictures, no temporary files";
  EXPECT_EQ(testing_support::ReadFileText(dir_.path() / "uisettings.ini"),
            BuildSkinSettingsText(doc_, options_));
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    const std::string bytes = testing_support::ReadFileText(dir_.path() / kSlots[s].file);
    const auto image =
        imaging::DecodeBmp16({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(image) << kSlots[s].file;
    EXPECT_EQ(*image, *doc_.slots[s]) << kSlots[s].file;
  }
  EXPECT_EQ(fs::file_size(dir_.path() / "icon/unk.bmp"), 56u);
  EXPECT_EQ(doc_.info.LastUpdate, "2026/12/08-07:00:00");
}

TEST_F(SaveSkinTest, ReplacesALongerSettingsFileAndKeepsOtherFiles) {
  fs::create_directory(dir_.path() / "icon");
  std::ofstream(dir_.path() / "uisettings.ini") << std::string(50000, 'x');
  std::ofstream(dir_.path() / "readme.txt") << "mine";
  SaveSkin(doc_, dir_.folder(), options_, feedback_);
  EXPECT_TRUE(feedback_.messages.empty());
  EXPECT_EQ(testing_support::ReadFileText(dir_.path() / "uisettings.ini"),
            BuildSkinSettingsText(doc_, options_));
  EXPECT_EQ(testing_support::ReadFileText(dir_.path() / "readme.txt"), "mine");
}

TEST_F(SaveSkinTest, AFileThatCannotBeReplacedIsReportedAndLeftAlone) {
  // A folder where a file should go cannot be replaced, whoever runs the test.
  fs::create_directories(dir_.path() / "btn.bmp" / "keep");
  fs::create_directories(dir_.path() / "uisettings.ini");
  doc_.SetSlot(SlotId::btn3, imaging::Image(39, 14));
  doc_.info.Title = "before";
  options_.edited_info = EditedInfo{"after", "", "", ""};
  SaveSkin(doc_, dir_.folder(), options_, feedback_);
  EXPECT_EQ(feedback_.messages, (std::vector<std::string>{
                                    dir_.folder() + "uisettings.ini: The file could not be saved.",
                                    dir_.folder() + "btn.bmp: The file could not be saved."}));
  EXPECT_TRUE(fs::is_directory(dir_.path() / "btn.bmp" / "keep"));
  EXPECT_EQ(doc_.info.Title, "before") << "information texts stay as they were";
  EXPECT_EQ(fs::file_size(dir_.path() / "btn3.bmp"), 54u + 14u * 80u + 2u) << "the save goes on";
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".bmp."), std::string::npos) << entry.path();
  }
}

TEST_F(SaveSkinTest, ReadOnlyFolderReportsEveryFileOnceAndKeepsOldFiles) {
#ifdef _WIN32
  SKINSMITH_SKIP_ON_WINDOWS("no POSIX permission bits");
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
#endif
  std::ofstream(dir_.path() / "active.bmp") << "old";
  fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec);
  SaveSkin(doc_, dir_.folder(), options_, feedback_);
  EXPECT_EQ(feedback_.messages.size(), 54u);
  EXPECT_EQ(feedback_.messages[1], dir_.folder() + "active.bmp: The file could not be saved.");
  EXPECT_EQ(feedback_.messages[43], dir_.folder() + "icon/cheat.bmp: The file could not be saved.");
  EXPECT_EQ(testing_support::ReadFileText(dir_.path() / "active.bmp"), "old");
}

// Every file and link below `root` with what it names or the start of what it holds.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string& what = entries[entry.path().string()];
    if (testing_support::IsLink(entry.path())) {
      what = "a link";
    } else if (entry.is_regular_file()) {
      what = testing_support::ReadFileText(entry).substr(0, 16);
    }
  }
  return entries;
}

// icon/ as a link or junction to another folder: the icons are reported, and none is written
// there.
TEST_F(SaveSkinTest, AnIconFolderLinkedElsewhereIsNotWrittenThrough) {
  TempDir outside;
  const fs::path skin = dir_.path() / "skin";
  fs::create_directory(skin);
  SKINSMITH_MAKE_LINK(outside.path(), skin / "icon", true);
  EXPECT_EQ(SaveSkin(doc_, skin.string(), options_, feedback_), 43);
  EXPECT_TRUE(fs::is_empty(outside.path()));
  EXPECT_EQ(feedback_.messages.size(), kSlotCount - kMainSlotCount);
  EXPECT_TRUE(testing_support::IsLink(skin / "icon"));
}

// A skin unpacked from an archive may hold symbolic links: icon/ leading to another folder, a
// picture or a temporary-looking name leading to a file elsewhere. A save writes and removes
// nothing through them; the icons it cannot put into the skin folder are reported.
TEST_F(SaveSkinTest, WritesAndRemovesNothingThroughLinksInTheFolder) {
  TempDir outside;
  for (const char* name : {"nds.bmp", "btn.bmp", ".nds.bmp.skinsmith-Ab12Cd", "secret"}) {
    std::ofstream(outside.path() / name) << "theirs";
  }
  const fs::path skin = dir_.path() / "skin";
  fs::create_directory(skin);
  SKINSMITH_MAKE_LINK(outside.path(), skin / "icon", true);
  SKINSMITH_MAKE_LINK(outside.path() / "btn.bmp", skin / "btn.bmp");
  SKINSMITH_MAKE_LINK(outside.path() / "secret", skin / ".active.bmp.skinsmith-Ab12Cd");
  const auto before = Snapshot(outside.path());

  // The chosen folder reached through a link is the user's choice, and is written.
  SKINSMITH_MAKE_LINK(skin, dir_.path() / "chosen", true);
  EXPECT_EQ(SaveSkin(doc_, (dir_.path() / "chosen").string(), options_, feedback_), 43);

  EXPECT_EQ(Snapshot(outside.path()), before);
  std::vector<std::string> expected;
  for (std::size_t s = kMainSlotCount; s < kSlotCount; ++s) {
    expected.push_back(
        base::DisplayPath((dir_.path() / "chosen").string() + "/" + std::string(kSlots[s].file)) +
        ": The file could not be saved.");
  }
  EXPECT_EQ(feedback_.messages, expected);
  EXPECT_TRUE(testing_support::IsLink(skin / "icon"));
  EXPECT_TRUE(testing_support::IsLink(skin / ".active.bmp.skinsmith-Ab12Cd"));
  ASSERT_FALSE(testing_support::IsLink(skin / "btn.bmp")) << "the link is replaced by the picture";
  const std::string bytes = testing_support::ReadFileText(skin / "btn.bmp");
  const auto btn =
      imaging::DecodeBmp16({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  ASSERT_TRUE(btn);
  EXPECT_EQ(*btn, doc_.Slot(SlotId::btn));
}

}  // namespace
}  // namespace skin

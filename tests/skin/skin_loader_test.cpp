// Opening skins from folders and archives, loading and importing single pictures.
#include "skin/skin_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/paths.h"
#include "imaging/bmp16.h"
#include "imaging/png_codec.h"
#include "skin/skin_saver.h"
#include "test_support.h"
#include "zip_writer.h"

namespace skin {
namespace {

namespace fs = std::filesystem;
using imaging::Image;
using imaging::MakeRgb;
using testing_support::RecordingFeedback;
using testing_support::TempDir;
using testing_support::ZipEntry;

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// A picture whose channels are not multiples of 8, so that dithering shows.
Image OddColours(int w, int h) {
  Image image(w, h);
  for (std::size_t i = 0; i < image.pixels.size(); ++i)
    image.pixels[i] = MakeRgb(3 + i % 250, 77, 201);
  return image;
}

class SkinLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSkinDefaults(saved_);
    saved_.Field(FieldId::big_clock_x) = 7;
    saved_.Colour(ColourId::formBodyColor) = MakeRgb(8, 16, 24);
    saved_.SetSlot(SlotId::btn, Image(5, 3, MakeRgb(248, 0, 8)));
    SaveOptions options;
    options.edited_info = EditedInfo{"Saved", "Me", "", ""};
    options.last_update = "2026/12/08-08:00:00";
    RecordingFeedback ignored;
    SaveSkin(saved_, skin_.folder(), options, ignored);
    ResetSkinDefaults(doc_);
  }

  // The saved skin's files as archive entries under `root`.
  std::vector<ZipEntry> SkinEntries(const std::string& root) const {
    std::vector<ZipEntry> entries{
        {root + "uisettings.ini", testing_support::ReadFileText(skin_.path() / "uisettings.ini")}};
    for (const SlotInfo& slot : kSlots) {
      entries.push_back(
          {root + std::string(slot.file), testing_support::ReadFileText(skin_.path() / slot.file)});
    }
    return entries;
  }

  SkinDocument saved_;
  SkinDocument doc_;
  TempDir skin_;
  TempDir work_;
  RecordingFeedback feedback_;
  LoadOptions options_{base::kDefaultCodePage, testing_support::EnglishMessages()};
};

TEST_F(SkinLoaderTest, FolderRoundTripWithProgress) {
  EXPECT_TRUE(OpenSkinFolder(doc_, skin_.path().string(), options_, feedback_));
  EXPECT_TRUE(feedback_.messages.empty());
  EXPECT_EQ(doc_, saved_);
  ASSERT_EQ(feedback_.progress.size(), 54u);
  EXPECT_EQ(feedback_.progress.front(), 1);
  EXPECT_EQ(feedback_.progress[52], 53);
  EXPECT_EQ(feedback_.progress.back(), 0);
}

TEST_F(SkinLoaderTest, FolderWithoutSettingsChangesNothing) {
  fs::remove(skin_.path() / "uisettings.ini");
  const SkinDocument before = doc_;
  EXPECT_FALSE(OpenSkinFolder(doc_, skin_.folder(), options_, feedback_));
  EXPECT_EQ(feedback_.messages,
            std::vector<std::string>{skin_.folder() +
                                     ": No skin: there is no readable uisettings.ini in this "
                                     "folder or archive."});
  EXPECT_EQ(doc_, before);
  EXPECT_TRUE(feedback_.progress.empty());
}

TEST_F(SkinLoaderTest, OversizedSettingsFileIsNotRead) {
  WriteText(skin_.path() / "uisettings.ini", std::string(kMaxSettingsFileBytes + 1, '\n'));
  const SkinDocument before = doc_;
  EXPECT_FALSE(OpenSkinFolder(doc_, skin_.folder(), options_, feedback_));
  EXPECT_EQ(doc_, before);
}

TEST_F(SkinLoaderTest, FolderWithSettingsOnlyReportsEveryPictureAndKeepsThem) {
  WriteText(work_.path() / "uisettings.ini",
            testing_support::ReadFileText(skin_.path() / "uisettings.ini"));
  const SkinDocument before = doc_;
  EXPECT_TRUE(OpenSkinFolder(doc_, work_.folder(), options_, feedback_));
  ASSERT_EQ(feedback_.messages.size(), 53u);
  EXPECT_EQ(feedback_.messages[0], work_.folder() + "active.bmp : File not found.");
  EXPECT_EQ(feedback_.messages[42],
            base::DisplayPath(work_.folder() + "icon/cheat.bmp") + " : File not found.");
  EXPECT_EQ(doc_.slots, before.slots);
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 7);
  EXPECT_EQ(doc_.info.Title, "Saved");
}

TEST_F(SkinLoaderTest, UndecodablePictureEmptiesTheSlotOnLoadButNotOnImport) {
  WriteText(skin_.path() / "btn.bmp", "this is text, not a picture");
  OpenSkinFolder(doc_, skin_.folder(), options_, feedback_);
  EXPECT_EQ(
      feedback_.messages,
      std::vector<std::string>{skin_.folder() + "btn.bmp: Unknown or unsupported image format."});
  EXPECT_TRUE(doc_.Slot(SlotId::btn).Empty());

  const Image kept = doc_.Slot(SlotId::btn3);
  EXPECT_FALSE(
      ImportSkinImage(doc_, SlotId::btn3, skin_.folder() + "btn.bmp", options_.texts, feedback_));
  EXPECT_EQ(doc_.Slot(SlotId::btn3), kept) << "a wrong pick must not lose the picture";
  EXPECT_FALSE(
      ImportSkinImage(doc_, SlotId::btn3, skin_.folder() + "nope.png", options_.texts, feedback_));
  EXPECT_EQ(feedback_.messages.back(), skin_.folder() + "nope.png : File not found.");
  EXPECT_EQ(doc_.Slot(SlotId::btn3), kept);
}

// A file that fails while it is read is one the program cannot read, not one of an unknown format
// (which would also empty its slot on a load).
TEST(ReadProblems, ReadErrorsAreNotFormatProblems) {
  EXPECT_EQ(ProblemOf(base::ReadStatus::kReadError), FileProblem::kNotFound);
  EXPECT_EQ(ProblemOf(base::ReadStatus::kOk), std::nullopt);
}

TEST_F(SkinLoaderTest, ImportTakesAnySizeAndDithersByContentNotName) {
  const Image big = OddColours(300, 300);
  WriteText(work_.path() / "picture.jpg", AsText(imaging::EncodePng(big)));  // a PNG named .jpg
  EXPECT_TRUE(ImportSkinImage(doc_, SlotId::nds, work_.folder() + "picture.jpg", options_.texts,
                              feedback_));
  EXPECT_TRUE(feedback_.messages.empty());
  EXPECT_EQ(doc_.Slot(SlotId::nds).width, 300);
  for (imaging::Rgb p : doc_.Slot(SlotId::nds).pixels) ASSERT_EQ(p & ~0xF8F8F8u, 0u);
}

TEST_F(SkinLoaderTest, SixteenBitBmpWithBitFieldsGoesThroughTheGeneralDecoder) {
  std::vector<std::uint8_t> bytes = imaging::EncodeBmp16(Image(2, 1, MakeRgb(248, 0, 0)));
  bytes[30] = 3;  // compression: bit fields (no masks follow: not a valid file)
  WriteText(work_.path() / "bf.bmp", AsText(bytes));
  EXPECT_FALSE(
      LoadSkinBitmap(doc_, SlotId::btn, work_.folder() + "bf.bmp", options_.texts, feedback_));
}

TEST_F(SkinLoaderTest, TheSamePngIsExactFromAnArchiveAndDitheredFromAFolder) {
  const std::string png = AsText(imaging::EncodePng(OddColours(9, 4)));
  WriteText(skin_.path() / "btn.bmp", png);
  std::vector<ZipEntry> entries = SkinEntries("");
  entries[1 + static_cast<int>(SlotId::btn)].data = png;
  const fs::path zip = work_.path() / "skin.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip.string(), entries));

  EXPECT_TRUE(OpenSkinZip(doc_, zip.string(), options_, feedback_));
  EXPECT_EQ(doc_.Slot(SlotId::btn), OddColours(9, 4));
  EXPECT_TRUE(OpenSkinFolder(doc_, skin_.folder(), options_, feedback_));
  EXPECT_NE(doc_.Slot(SlotId::btn), OddColours(9, 4));
  for (imaging::Rgb p : doc_.Slot(SlotId::btn).pixels) ASSERT_EQ(p & ~0xF8F8F8u, 0u);
  EXPECT_TRUE(feedback_.messages.empty());
}

TEST_F(SkinLoaderTest, ArchiveRootIsTheFolderOfTheFirstSettingsEntry) {
  std::vector<ZipEntry> entries = SkinEntries("a/myskin/");
  std::vector<ZipEntry> other = SkinEntries("b/");
  other[0].data = "[big clock]\r\nx=99\r\n";
  entries.insert(entries.end(), other.begin(), other.end());
  entries[5].name = "A/MYSKIN/BTN3.BMP";  // letter case does not matter
  const fs::path zip = work_.path() / "two.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip.string(), entries));
  EXPECT_TRUE(OpenSkinZip(doc_, zip.string(), options_, feedback_));
  EXPECT_TRUE(feedback_.messages.empty()) << feedback_.messages.front();
  EXPECT_EQ(doc_, saved_);
  EXPECT_EQ(feedback_.progress.size(), 54u);
}

TEST_F(SkinLoaderTest, ArchiveMessagesNameEntriesWithBackslashes) {
  std::vector<ZipEntry> entries = SkinEntries("myskin/");
  entries.erase(entries.begin() + 1 + static_cast<int>(SlotId::cheat));
  entries[1 + static_cast<int>(SlotId::btn)].data = "garbage";
  const fs::path zip = work_.path() / "skin.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip.string(), entries));
  const Image cheat = doc_.Slot(SlotId::cheat);
  EXPECT_TRUE(OpenSkinZip(doc_, zip.string(), options_, feedback_));
  EXPECT_EQ(feedback_.messages,
            (std::vector<std::string>{"myskin\\btn.bmp: Unknown or unsupported image format.",
                                      "myskin\\icon\\cheat.bmp : File not found."}));
  EXPECT_TRUE(doc_.Slot(SlotId::btn).Empty());
  EXPECT_EQ(doc_.Slot(SlotId::cheat), cheat);
}

TEST_F(SkinLoaderTest, ArchivesWithoutASkinChangeNothing) {
  const SkinDocument before = doc_;
  const fs::path none = work_.path() / "none.zip";
  ASSERT_TRUE(testing_support::WriteZip(none.string(), {{"readme.txt", "hello"}}));
  const fs::path fake = work_.path() / "fake.zip";
  WriteText(fake, "PK but not really an archive");
  for (const fs::path& zip : {none, fake, work_.path() / "missing.zip"}) {
    feedback_.messages.clear();
    EXPECT_FALSE(OpenSkinZip(doc_, zip.string(), options_, feedback_)) << zip;
    EXPECT_EQ(feedback_.messages, std::vector<std::string>{ComposeFileMessage(
                                      zip.string(), FileProblem::kNoSkin, options_.texts)});
  }
  EXPECT_EQ(doc_, before);
}

TEST_F(SkinLoaderTest, ArchiveEntryNamesInTheDosCodePage) {
  std::vector<ZipEntry> entries = SkinEntries("sk\x8Ain/");  // 0x8A is è in code page 437
  const fs::path zip = work_.path() / "dos.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip.string(), entries));
  entries[1].data = "not a picture";
  const fs::path broken = work_.path() / "broken.zip";
  ASSERT_TRUE(testing_support::WriteZip(broken.string(), entries));
  EXPECT_TRUE(OpenSkinZip(doc_, broken.string(), options_, feedback_));
  EXPECT_EQ(feedback_.messages.front(), "skèin\\active.bmp: Unknown or unsupported image format.");
}

// A chooser for a new skin starts beside the last skin folder, not inside it.
TEST(NewSkinFolderStart, LeavesASkinFolderForTheOneAbove) {
  testing_support::TempDir dir;
  const std::string skins = dir.folder();
  const std::string a = skins + "a/";
  std::filesystem::create_directories(a);
  EXPECT_EQ(NewSkinFolderStart(a), a) << "no settings file: no skin";
  std::ofstream(a + "uisettings.ini") << "[x]\n";
  EXPECT_EQ(base::FolderWithSeparator(NewSkinFolderStart(a)), base::FolderWithSeparator(skins));
  EXPECT_EQ(base::FolderWithSeparator(NewSkinFolderStart(skins + "a")),
            base::FolderWithSeparator(skins));
  EXPECT_EQ(NewSkinFolderStart(""), "");
}

// A path opens as a folder or as an archive; a drop is offered as a skin only when it is a folder
// or names a .zip file.
TEST(SkinPaths, FolderOrArchive) {
  testing_support::TempDir dir;
  const std::string folder = dir.folder() + "skin";
  std::filesystem::create_directories(folder);
  std::ofstream(dir.folder() + "a.ZIP") << "x";
  std::ofstream(dir.folder() + "a.png") << "x";
  struct Case {
    std::string path;
    bool archive, skin;
  };
  const Case cases[] = {{folder, false, true},
                        {base::FolderWithSeparator(folder), false, true},
                        {dir.folder() + "a.ZIP", true, true},
                        {dir.folder() + "gone.zip", true, true},
                        {dir.folder() + "gone/", false, false},
                        {dir.folder() + "a.png", true, false},
                        {"", false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(OpensAsArchive(c.path), c.archive) << c.path;
    EXPECT_EQ(LooksLikeSkin(c.path), c.skin) << c.path;
  }
}

TEST(ProposedImportName, BaseNameInTheLastFolder) {
  EXPECT_EQ(ProposedImportName("/home/me/skins/", SlotId::cheat), "/home/me/skins/cheat.bmp");
  EXPECT_EQ(ProposedImportName("/home/me/skins", SlotId::btn3), "/home/me/skins/btn3.bmp");
  EXPECT_EQ(ProposedImportName("", SlotId::txt), "txt.bmp");
}

}  // namespace
}  // namespace skin

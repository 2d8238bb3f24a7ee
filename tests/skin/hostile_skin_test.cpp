// Skins made to hurt: files that are not regular files, pictures above the limits or the memory
// budget, settings texts that would take quadratic time or could not be read back, leftovers of a
// killed save, and allocation failures. Each gets a message and the operation goes on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>

#include "base/file_io.h"
#include "imaging/allocation_probe.h"
#include "imaging/bmp16.h"
#include "imaging/png_codec.h"
#include "skin/settings_reader.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"
#include "test_support.h"
#include "zip_writer.h"

namespace skin {
namespace {

namespace fs = std::filesystem;
using imaging::Image;
using testing_support::EnglishMessages;
using testing_support::RecordingFeedback;
using testing_support::TempDir;

const MessageTexts& English() {
  static const MessageTexts texts = EnglishMessages();
  return texts;
}

std::string Message(const std::string& name, FileProblem problem) {
  return ComposeFileMessage(name, problem, English());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

class HostileSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSkinDefaults(doc_);
    options_.texts = English();
  }
  SkinDocument doc_;
  LoadOptions options_;
  RecordingFeedback feedback_;
  TempDir dir_;
};

// Named pipes, folders and devices are reported at once; opening a pipe used to wait for ever.
TEST_F(HostileSkinTest, OnlyRegularFilesAreRead) {
#ifdef _WIN32
  // Windows has no named pipes in folders, but names that lead to a device in every one.
  const std::string pipe = dir_.folder() + "COM1.bmp";
  const std::string device = "NUL";
#else
  const std::string pipe = dir_.folder() + "btn.bmp";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string device = "/dev/zero";
#endif
  fs::create_directory(dir_.path() / "btn3.bmp");
  EXPECT_FALSE(LoadSkinBitmap(doc_, SlotId::btn, pipe, English(), feedback_));
  EXPECT_TRUE(doc_.Slot(SlotId::btn).Empty()) << "a skin load empties a slot it cannot fill";
  const Image before = doc_.Slot(SlotId::btn3);
  EXPECT_FALSE(
      ImportSkinImage(doc_, SlotId::btn3, dir_.folder() + "btn3.bmp", English(), feedback_));
  EXPECT_EQ(doc_.Slot(SlotId::btn3), before) << "an import keeps the old picture";
  EXPECT_FALSE(LoadSkinBitmap(doc_, SlotId::nds, device, English(), feedback_));
  EXPECT_EQ(
      feedback_.messages,
      (std::vector<std::string>{Message(pipe, FileProblem::kNotRegularFile),
                                Message(dir_.folder() + "btn3.bmp", FileProblem::kNotRegularFile),
                                Message(device, FileProblem::kNotRegularFile)}));

  // A pipe as the settings file, and as the archive.
  feedback_.messages.clear();
  const std::string settings = dir_.folder() + "uisettings.ini";
#ifdef _WIN32
  fs::create_directory(settings);
  const std::string archive = dir_.folder() + "AUX.zip";
#else
  ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
  const std::string archive = dir_.folder() + "skin.zip";
  ASSERT_EQ(::mkfifo(archive.c_str(), 0600), 0);
#endif
  EXPECT_FALSE(OpenSkinFolder(doc_, dir_.folder(), options_, feedback_));
  EXPECT_FALSE(OpenSkinZip(doc_, archive, options_, feedback_));
  EXPECT_EQ(feedback_.messages,
            (std::vector<std::string>{Message(dir_.folder(), FileProblem::kNoSkin),
                                      Message(archive, FileProblem::kNoSkin)}));
}

TEST_F(HostileSkinTest, APictureAboveTheSizeLimitsSaysSo) {
  const std::string path = dir_.folder() + "wide.bmp";
  WriteFile(path, AsText(imaging::EncodeBmp16(Image(16385, 1))));
  EXPECT_FALSE(ImportSkinImage(doc_, SlotId::btn, path, English(), feedback_));
  EXPECT_EQ(feedback_.messages, std::vector<std::string>{Message(path, FileProblem::kTooLarge)});
  EXPECT_NE(English().Of(FileProblem::kTooLarge).find("16384"), std::string::npos);
}

// An import over the budget names the picture; a skin load over it, the skin's pictures together.
TEST_F(HostileSkinTest, AnImportOverTheBudgetSaysThatThisPictureWouldTakeTooMuch) {
  const std::string path = dir_.folder() + "big.png";
  WriteFile(path, AsText(imaging::EncodePng(Image(512, 512))));
  const std::string over = Message(path, FileProblem::kPictureOverBudget);
  EXPECT_EQ(over.find("together"), std::string::npos);
  constexpr std::uint64_t kPicture = 512 * 512 * 4;
  EXPECT_FALSE(ImportSkinImage(doc_, SlotId::btn, path, English(), feedback_, kPicture - 1));
  EXPECT_FALSE(
      ReadFittedPicture(path, imaging::KeptAsItIs(), true, English(), feedback_, kPicture - 1));
  EXPECT_TRUE(ReadFittedPicture(path, imaging::KeptAsItIs(), true, English(), feedback_, kPicture));
  // A fit's result counts: the budget that holds the picture holds nothing beside it.
  imaging::FitSettings fit;
  fit.width = fit.height = 64;
  EXPECT_FALSE(ReadFittedPicture(path, fit, true, English(), feedback_, kPicture));
  EXPECT_EQ(feedback_.messages, std::vector<std::string>(3, over));
  EXPECT_FALSE(LoadSkinBitmap(doc_, SlotId::btn, path, English(), feedback_, kPicture - 1));
  EXPECT_EQ(feedback_.messages.back(), Message(path, FileProblem::kOverBudget));
}

// A skin whose pictures are small files that decode to large pictures: the pictures of one
// document never take more than the budget, the rest are refused one by one and loading goes on.
TEST_F(HostileSkinTest, PicturesStayWithinTheDocumentsBudget) {
  // A PNG of a few kilobytes whose 1024 x 1024 picture takes 4 MiB.
  const std::string big = AsText(imaging::EncodePng(Image(1024, 1024)));
  ASSERT_LT(big.size(), 64u << 10);
  std::vector<testing_support::ZipEntry> entries{{"bombs/uisettings.ini", "[end]\r\n"}};
  for (const SlotInfo& slot : kSlots) entries.push_back({"bombs/" + std::string(slot.file), big});
  const std::string zip = dir_.folder() + "bombs.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip, entries));

  options_.picture_budget = 10u << 20;  // room for two of them
  EXPECT_TRUE(OpenSkinZip(doc_, zip, options_, feedback_));
  std::uint64_t used = 0;
  int loaded = 0;
  for (const Image& slot : doc_.slots) {
    used += slot.pixels.size() * 4;
    loaded += slot.width == 1024 ? 1 : 0;
  }
  EXPECT_LE(used, options_.picture_budget);
  EXPECT_EQ(loaded, 2);
  ASSERT_EQ(feedback_.messages.size(), kSlotCount - 2);
  EXPECT_EQ(feedback_.messages.back(), Message("bombs\\icon\\unk.bmp", FileProblem::kOverBudget));
}

// Entries compressed with a method the ZIP reader cannot inflate (bzip2, LZMA) are reported as
// such, not handed on as their raw bytes; stored and deflated entries are read.
TEST_F(HostileSkinTest, EntriesOfOtherCompressionMethodsAreReportedAsUnsupported) {
  const std::string bmp = AsText(imaging::EncodeBmp16(Image(2, 2, imaging::MakeRgb(8, 16, 24))));
  const std::string zip = dir_.folder() + "methods.zip";
  ASSERT_TRUE(testing_support::WriteZip(zip, {{"s/uisettings.ini", "[end]\r\n"},
                                              {"s/active.bmp", "BZh91AY&SY" + bmp, false, 12},
                                              {"s/btn.bmp", bmp, false, 14},
                                              {"s/icon/cheat.bmp", bmp, false, 0}}));
  EXPECT_TRUE(OpenSkinZip(doc_, zip, options_, feedback_));
  const auto shown = [&](const std::string& name) {
    return std::count(feedback_.messages.begin(), feedback_.messages.end(),
                      Message(name, FileProblem::kUnsupportedCompression));
  };
  EXPECT_EQ(shown("s\\active.bmp"), 1);
  EXPECT_EQ(shown("s\\btn.bmp"), 1);
  EXPECT_EQ(feedback_.messages.size(), kSlotCount - 1);
  EXPECT_TRUE(doc_.slots[Index(SlotId::active)]->Empty());
  EXPECT_EQ(doc_.slots[Index(SlotId::cheat)]->width, 2);

  // A settings file that cannot be read says why, and nothing changes.
  const std::string settings_zip = dir_.folder() + "settings.zip";
  ASSERT_TRUE(
      testing_support::WriteZip(settings_zip, {{"s/UISETTINGS.INI", "[end]\r\n", false, 12}}));
  RecordingFeedback feedback;
  const SkinDocument before = doc_;
  EXPECT_FALSE(OpenSkinZip(doc_, settings_zip, options_, feedback));
  EXPECT_EQ(feedback.messages, std::vector<std::string>{Message(
                                   "s\\UISETTINGS.INI", FileProblem::kUnsupportedCompression)});
  EXPECT_TRUE(doc_ == before);
}

// Listing a pack of tens of thousands of entries keeps only what can be a skin's file, each name
// once and as stored: memory stays below the size of the archive's directory.
TEST_F(HostileSkinTest, ListingALargeArchiveCostsLessThanItsDirectory) {
  constexpr int kEntries = 20000;
  const std::string padding(100, 'x');
  std::vector<testing_support::ZipEntry> others{{"s/uisettings.ini", "[end]\r\n"}};
  std::vector<testing_support::ZipEntry> pictures = others;
  std::size_t picture_names = 0;
  for (int i = 0; i < kEntries; ++i) {
    others.push_back({padding + std::to_string(i) + ".txt", "", false, 0});
    pictures.push_back({padding + std::to_string(i) + "/Active.BMP", "", false, 0});
    picture_names += pictures.back().name.size();
  }
  const std::string others_zip = dir_.folder() + "others.zip";
  const std::string pictures_zip = dir_.folder() + "pictures.zip";
  ASSERT_TRUE(testing_support::WriteZip(others_zip, others));
  ASSERT_TRUE(testing_support::WriteZip(pictures_zip, pictures));

  testing_support::ResetPeakHeld();
  EXPECT_TRUE(OpenSkinZip(doc_, others_zip, options_, feedback_));
  EXPECT_LT(testing_support::PeakHeld(), 256u << 10) << "nothing of the other entries is kept";

  RecordingFeedback feedback;
  testing_support::ResetPeakHeld();
  EXPECT_TRUE(OpenSkinZip(doc_, pictures_zip, options_, feedback));
  EXPECT_LT(testing_support::PeakHeld(), picture_names + kEntries * 48u);
  EXPECT_EQ(feedback.messages[0], Message("s\\active.bmp", FileProblem::kNotFound));
}

// Every line read while [SkinInfo] is current takes one leading space off each text. A megabyte of
// such lines used to cost a quadratic number of moves.
TEST_F(HostileSkinTest, ReadingAMegabyteOfSpacesIsLinear) {
  std::string text = "[SkinInfo]\r\nTitle=" + std::string(500000, ' ') + "T\r\n";
  for (int i = 0; i < 250000; ++i) text += "\r\n";
  ReadSkinSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, doc_,
                   base::kDefaultCodePage);
  EXPECT_EQ(doc_.info.Title, std::string(500000 - 250001, ' ') + "T");
}

// The writer never writes what the reader would refuse: a settings text above the reader's limit
// is reported and not written, and one at the limit reads back.
TEST_F(HostileSkinTest, WhatIsSavedCanBeOpenedAgain) {
  SaveOptions save;
  save.texts = English();
  save.last_update = "2026/12/08-09:00:00";
  const std::size_t rest = BuildSkinSettingsText(doc_, save).size();
  save.edited_info = EditedInfo{std::string(kMaxSettingsFileBytes - rest + 1, 'x'), "", "", ""};
  const SkinInfo before = doc_.info;
  EXPECT_EQ(SaveSkin(doc_, dir_.folder(), save, feedback_), 53);
  EXPECT_EQ(feedback_.messages, std::vector<std::string>{Message(dir_.folder() + "uisettings.ini",
                                                                 FileProblem::kSettingsTooLong)});
  EXPECT_FALSE(fs::exists(dir_.path() / "uisettings.ini"));
  EXPECT_EQ(doc_.info, before);

  feedback_.messages.clear();
  save.edited_info->Title.pop_back();
  EXPECT_EQ(SaveSkin(doc_, dir_.folder(), save, feedback_), 54);
  EXPECT_EQ(fs::file_size(dir_.path() / "uisettings.ini"), kMaxSettingsFileBytes);
  SkinDocument reopened;
  EXPECT_TRUE(OpenSkinFolder(reopened, dir_.folder(), options_, feedback_));
  EXPECT_TRUE(feedback_.messages.empty());
  EXPECT_EQ(reopened.info.Title, save.edited_info->Title);
}

// A save that is killed between writing a temporary file and renaming it leaves the temporary
// behind; the next save into the folder clears away exactly those.
TEST_F(HostileSkinTest, ASaveClearsAwayWhatAKilledSaveLeft) {
  const fs::path folder = dir_.path();
  const std::vector<std::string> leftovers{".form_R.bmp.skinsmith-sxJT8u",
                                           ".uisettings.ini.skinsmith-000000",
                                           "icon/.cheat.bmp.skinsmith-Ab12Cd"};
  const std::vector<std::string> others{"form_R.bmp.sxJT8u",
                                        ".form_R.bmp.skinsmith-sxJT8",
                                        ".notes.txt.skinsmith-sxJT8u",
                                        ".cheat.bmp.skinsmith-Ab12Cd",
                                        "icon/.form_R.bmp.skinsmith-sxJT8u",
                                        "icon/notes.txt"};
  for (const std::string& name : leftovers) WriteFile(folder / name, "partial");
  for (const std::string& name : others) WriteFile(folder / name, "keep");
  EXPECT_EQ(base::TemporaryNameFor((folder / "form_R.bmp").string()),
            (folder / ".form_R.bmp.skinsmith-XXXXXX").string());

  SaveOptions save;
  save.texts = English();
  EXPECT_EQ(SaveSkin(doc_, dir_.folder(), save, feedback_), 54);
  for (const std::string& name : leftovers) EXPECT_FALSE(fs::exists(folder / name)) << name;
  for (const std::string& name : others) EXPECT_TRUE(fs::exists(folder / name)) << name;
  int marked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    marked += entry.path().filename().string().find(".skinsmith-") != std::string::npos;
  }
  EXPECT_EQ(marked, 4) << "only the four look-alikes; this save left nothing of its own";
}

// A temporary carries only the start of a long file name, so that a file of any valid name can be
// written, and its leftover is still found. The name has 250 bytes; its 201st is inside an "é".
TEST_F(HostileSkinTest, AFileWithALongNameIsWrittenAndItsLeftoverCleared) {
  std::string name = "x";
  while (name.size() < 249) name += "\xC3\xA9";
  name += "y";
  const std::string path = dir_.folder() + name;
  const std::vector<std::uint8_t> bytes{'B', 'M'};
  EXPECT_TRUE(base::WriteFileAtomically(path, bytes));
  EXPECT_EQ(testing_support::ReadFileText(base::FsPath(path)), "BM");

  std::string leftover = base::TemporaryNameFor(path);
  leftover.replace(leftover.size() - 6, 6, "a1B2c3");
  WriteFile(base::FsPath(leftover), "partial");
  ASSERT_TRUE(fs::exists(base::FsPath(leftover)));
  base::RemoveLeftoverTemporaries(dir_.folder(), std::vector<std::string>{name});
  EXPECT_FALSE(fs::exists(base::FsPath(leftover)));
  EXPECT_TRUE(fs::exists(base::FsPath(path)));
}

// Running out of memory in the middle of a load or a save ends that operation with a message; the
// program goes on.
class FailingFeedback : public RecordingFeedback {
 public:
  explicit FailingFeedback(int fail_at) : fail_at_(fail_at) {}
  void SetProgress(int value) override {
    RecordingFeedback::SetProgress(value);
    if (value == fail_at_) throw std::bad_alloc();
  }

 private:
  int fail_at_;
};

TEST_F(HostileSkinTest, AnAllocationFailureBecomesAMessage) {
  SaveOptions save;
  save.texts = English();
  FailingFeedback failing(20);
  EXPECT_LT(SaveSkin(doc_, dir_.folder(), save, failing), 54);
  EXPECT_EQ(failing.messages.back(), English().Of(FileProblem::kOutOfMemory));
  EXPECT_EQ(failing.progress.back(), 0);

  FailingFeedback failing_load(3);
  EXPECT_FALSE(OpenSkinFolder(doc_, dir_.folder(), options_, failing_load));
  EXPECT_EQ(failing_load.messages,
            std::vector<std::string>{English().Of(FileProblem::kOutOfMemory)});
  EXPECT_EQ(failing_load.progress.back(), 0);
}

}  // namespace
}  // namespace skin

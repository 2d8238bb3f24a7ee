// Exporting a skin as a ZIP archive: its entries and their bytes, the round trip through opening
// the archive, folder names made from titles, and failures that leave nothing behind.
#include "skin/skin_export.h"

#include <gtest/gtest.h>
#include <unzip.h>

#include <filesystem>
#include <map>

#include "imaging/png_codec.h"
#include "skin/skin_loader.h"
#include "test_support.h"

namespace skin {
namespace {

namespace fs = std::filesystem;
using imaging::Image;
using imaging::MakeRgb;
using testing_support::ReadFileText;
using testing_support::RecordingFeedback;
using testing_support::TempDir;

struct ZipItem {
  std::string name;  // as stored, "/" between folders
  std::string data;
  unsigned long flags = 0;
  tm_unz date{};
};

// Every entry of the archive at `path`, in archive order, read with minizip's unzip interface.
std::vector<ZipItem> ReadZip(const std::string& path) {
  std::vector<ZipItem> items;
  unzFile zip = unzOpen64(path.c_str());
  if (zip == nullptr) return items;
  for (int r = unzGoToFirstFile(zip); r == UNZ_OK; r = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    char name[512];
    unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
    ZipItem item{name, std::string(info.uncompressed_size, '\0'), info.flag, info.tmu_date};
    EXPECT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
    EXPECT_EQ(unzReadCurrentFile(zip, item.data.data(), static_cast<unsigned>(item.data.size())),
              static_cast<int>(item.data.size()));
    EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK) << "CRC of " << name;
    items.push_back(std::move(item));
  }
  unzClose(zip);
  return items;
}

class SkinExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSkinDefaults(doc_);
    doc_.info.Title = "old title";
    doc_.Field(FieldId::big_clock_x) = -7;
    doc_.Field(FieldId::main_list_textColor) = static_cast<std::int32_t>(MakeRgb(255, 9, 130));
    doc_.Colour(ColourId::formBodyColor) = MakeRgb(8, 16, 24);
    doc_.Colour(ColourId::cheatTitleTextColor) = MakeRgb(255, 255, 255);
    // Channels that are not multiples of 8 (the archive keeps five bits) and an odd width.
    Image probe(5, 3);
    for (std::size_t i = 0; i < probe.pixels.size(); ++i)
      probe.pixels[i] = MakeRgb(10 * i + 3, 255 - i, 77);
    doc_.SetSlot(SlotId::btn, probe);
    doc_.SetSlot(SlotId::nds, Image(1, 1, MakeRgb(0, 248, 0)));
    doc_.SetSlot(SlotId::lamp, Image());
    options_.edited_info = EditedInfo{"Blue Night", "Ann", "ann@example.org", "https://x.example"};
    options_.last_update = "2024/02/29-23:58:07";
    options_.texts = testing_support::EnglishMessages();
    preview_ = Image(3, 2, MakeRgb(1, 2, 3));
  }

  std::string zip() const { return (dir_.path() / "share.zip").string(); }

  TempDir dir_;
  SkinDocument doc_;
  SaveOptions options_;
  Image preview_;
  RecordingFeedback feedback_;
};

TEST_F(SkinExportTest, EntriesHoldTheBytesOfAFolderSaveAndThePreview) {
  ASSERT_TRUE(ExportSkinZip(doc_, zip(), preview_, options_, feedback_));
  EXPECT_TRUE(feedback_.messages.empty());
  EXPECT_EQ(feedback_.progress.size(), kSlotCount + 1);
  EXPECT_EQ(feedback_.progress.back(), 0);
  EXPECT_EQ(doc_.info.Title, "Blue Night") << "the document takes what was exported, as in a save";
  EXPECT_EQ(doc_.info.LastUpdate, "2024/02/29-23:58:07");

  SkinDocument saved_doc = doc_;
  fs::create_directory(dir_.path() / "saved");
  SaveSkin(saved_doc, dir_.folder() + "saved", options_, feedback_);
  const std::vector<ZipItem> items = ReadZip(zip());
  ASSERT_EQ(items.size(), 1 + kSlotCount + 1);
  EXPECT_EQ(items[0].name, "Blue Night/uisettings.ini");
  EXPECT_EQ(items[0].data, ReadFileText(dir_.path() / "saved" / "uisettings.ini"));
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    const std::string file(kSlots[s].file);
    EXPECT_EQ(items[1 + s].name, "Blue Night/" + file) << "slot order";
    EXPECT_EQ(items[1 + s].data, ReadFileText(dir_.path() / "saved" / file)) << file;
  }
  EXPECT_EQ(items[1 + 42].name, "Blue Night/icon/cheat.bmp");
  EXPECT_EQ(items.back().name, "preview.png");
  const imaging::Decoded preview = imaging::DecodePng(
      {reinterpret_cast<const std::uint8_t*>(items.back().data.data()), items.back().data.size()});
  ASSERT_TRUE(preview);
  EXPECT_EQ(*preview, preview_);
  for (const ZipItem& item : items) {
    EXPECT_EQ(item.flags & (1u << 11), 0u) << "ASCII names need no UTF-8 mark";
    EXPECT_EQ(item.date.tm_year, 2024u);
    EXPECT_EQ(item.date.tm_mon, 1u);
    EXPECT_EQ(item.date.tm_mday, 29u);
    EXPECT_EQ(item.date.tm_hour, 23u);
    EXPECT_EQ(item.date.tm_min, 58u);
    EXPECT_EQ(item.date.tm_sec, 6u) << "DOS times count in steps of two seconds";
  }
}

TEST_F(SkinExportTest, OpeningTheArchiveGivesTheSameSkin) {
  options_.edited_info->Title = "皮肤 <v2>";
  options_.code_page = 936;
  ASSERT_TRUE(ExportSkinZip(doc_, zip(), preview_, options_, feedback_));
  const std::vector<ZipItem> items = ReadZip(zip());
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].name, "皮肤 _v2_/uisettings.ini");
  EXPECT_NE(items[0].flags & (1u << 11), 0u) << "marked as UTF-8";

  SkinDocument opened;
  ResetSkinDefaults(opened);
  opened.Field(FieldId::big_clock_x) = 99;
  opened.SetSlot(SlotId::lamp, Image(2, 2, MakeRgb(8, 8, 8)));
  ASSERT_TRUE(OpenSkinZip(opened, zip(), LoadOptions{936, {}}, feedback_));
  EXPECT_TRUE(feedback_.messages.empty()) << feedback_.messages.front();

  SkinDocument expected = doc_;
  for (imaging::Rgb& colour : expected.colours) colour &= 0xF8F8F8;
  for (std::size_t f = 0; f < kFieldCount; ++f) {
    if (kFields[f].kind == FieldKind::kColour) expected.fields[f] &= 0xF8F8F8;
  }
  for (imaging::SharedImage& slot : expected.slots) {
    Image reduced = *slot;
    for (imaging::Rgb& p : reduced.pixels) p &= 0xF8F8F8;
    slot = std::move(reduced);
  }
  EXPECT_EQ(opened.info, expected.info);
  EXPECT_EQ(opened.info.Title, "皮肤 <v2>") << "the title itself is not cleaned";
  EXPECT_EQ(opened.colours, expected.colours);
  EXPECT_EQ(opened.fields, expected.fields);
  for (std::size_t s = 0; s < kSlotCount; ++s) {
    EXPECT_EQ(opened.slots[s], expected.slots[s]) << kSlots[s].file;
  }
  EXPECT_EQ(opened.Slot(SlotId::lamp).width, 0) << "an empty slot travels as a 0 x 0 bitmap";
}

TEST_F(SkinExportTest, AFailedExportLeavesNoFileAndKeepsTheDocument) {
  const std::string missing = (dir_.path() / "no" / "such" / "share.zip").string();
  EXPECT_FALSE(ExportSkinZip(doc_, missing, preview_, options_, feedback_));
  ASSERT_EQ(feedback_.messages.size(), 1u);
  EXPECT_EQ(feedback_.messages[0], missing + ": The file could not be saved.");
  EXPECT_EQ(doc_.info.Title, "old title") << "nothing was exported, so nothing was taken";
  EXPECT_EQ(feedback_.progress.back(), 0);

  // A folder in the way: the rename fails, and neither a temporary file nor a part is left.
  fs::create_directory(zip());
  fs::create_directory(fs::path(zip()) / "inside");
  EXPECT_FALSE(ExportSkinZip(doc_, zip(), preview_, options_, feedback_));
  EXPECT_EQ(feedback_.messages.size(), 2u);
  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(dir_.path())) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{zip()});
  EXPECT_TRUE(fs::is_directory(fs::path(zip()) / "inside"));

  // An empty preview cannot be encoded: no archive without its preview.
  const std::string other = (dir_.path() / "other.zip").string();
  EXPECT_FALSE(ExportSkinZip(doc_, other, Image(), options_, feedback_));
  EXPECT_FALSE(fs::exists(other));

  // Skin information so long that no reader would open the archive's uisettings.ini.
  options_.edited_info->Title.assign(kMaxSettingsFileBytes, 'x');
  EXPECT_FALSE(ExportSkinZip(doc_, other, preview_, options_, feedback_));
  EXPECT_FALSE(fs::exists(other));
  EXPECT_EQ(feedback_.messages.back(),
            other + ": " + options_.texts.Of(FileProblem::kSettingsTooLong));
}

TEST_F(SkinExportTest, ReplacesAnOlderArchiveWholeAndNamesAnUntitledSkinAfterIt) {
  std::ofstream(zip(), std::ios::binary) << std::string(500000, 'x');
  options_.edited_info->Title = " . ";
  options_.last_update = "not a date";
  ASSERT_TRUE(ExportSkinZip(doc_, zip(), preview_, options_, feedback_));
  const std::vector<ZipItem> items = ReadZip(zip());
  ASSERT_EQ(items.size(), 1 + kSlotCount + 1) << "the old bytes are gone";
  EXPECT_EQ(items[0].name, "share/uisettings.ini");
  EXPECT_EQ(items[0].date.tm_year, 1980u);
  EXPECT_EQ(items[0].date.tm_mday, 1u);
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct FolderNameCase {
  std::string title;
  std::string fallback;
  std::string expected;
};

class SkinFolderNames : public ::testing::TestWithParam<FolderNameCase> {};

TEST_P(SkinFolderNames, AreSafeOnEveryDesktopAndOnTheCard) {
  EXPECT_EQ(SkinFolderName(GetParam().title, GetParam().fallback), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, SkinFolderNames,
    ::testing::Values(
        FolderNameCase{"Blue Night", "", "Blue Night"},
        FolderNameCase{"../../etc/passwd", "", "_.._etc_passwd"},
        FolderNameCase{"a\\b:c*d?e\"f<g>h|i", "", "a_b_c_d_e_f_g_h_i"},
        FolderNameCase{"tab\there\x7f", "", "tab_here_"},
        FolderNameCase{"  .hidden. ", "", "hidden"}, FolderNameCase{"...", "", "skin"},
        FolderNameCase{"", "from archive", "from archive"}, FolderNameCase{"", "..", "skin"},
        FolderNameCase{"CON", "", "CON_"}, FolderNameCase{"com1.old", "", "com1_.old"},
        FolderNameCase{"lpt0", "", "lpt0_"}, FolderNameCase{"console", "", "console"},
        // Device names Windows cannot create, and the preview's name beside the
        // folder, in any letter case; similar names stay as they are.
        FolderNameCase{"CON .txt", "", "CON_ .txt"}, FolderNameCase{"CONIN$", "", "CONIN$_"},
        FolderNameCase{"conout$.log", "", "conout$_.log"}, FolderNameCase{"COM0", "", "COM0_"},
        FolderNameCase{"Nul  ", "", "Nul_"}, FolderNameCase{"aux...", "", "aux_"},
        FolderNameCase{"prn.a.b", "", "prn_.a.b"},
        FolderNameCase{"LPT\xC2\xB9", "", "LPT\xC2\xB9_"},
        FolderNameCase{"com\xC2\xB3.x", "", "com\xC2\xB3_.x"}, FolderNameCase{"COM10", "", "COM10"},
        FolderNameCase{"COM\xC2\xB4", "", "COM\xC2\xB4"}, FolderNameCase{"CONIN", "", "CONIN"},
        FolderNameCase{"", "con", "con_"}, FolderNameCase{"preview.png", "", "preview_.png"},
        FolderNameCase{"PREVIEW.PNG", "", "PREVIEW_.PNG"},
        FolderNameCase{"prev\xC4\xB1"
                       "ew.png",
                       "",
                       "prev\xC4\xB1"
                       "ew_.png"},
        FolderNameCase{"preview.png.old", "", "preview.png.old"},
        FolderNameCase{"preview", "", "preview"}, FolderNameCase{"caf\xC3\xA9", "", "caf\xC3\xA9"},
        FolderNameCase{"bad\xC3(\xFF\xED\xA0\x80", "", "bad_(____"},
        // Overlong and beyond U+10FFFF; a four-byte character, then one cut short.
        FolderNameCase{"o\xC0\xAF\xE0\x80\xAF\xF4\x90\x80\x80", "", "o_________"},
        FolderNameCase{"\xF0\x9F\x98\x80!\xF0\x9F\x98", "", "\xF0\x9F\x98\x80!___"},
        FolderNameCase{std::string(70, 'a'), "", std::string(64, 'a')},
        // 20 three-byte characters after "xy" make 62 bytes; the 21st would cross 64.
        FolderNameCase{"xy" + Repeat("皮", 22), "", "xy" + Repeat("皮", 20)},
        FolderNameCase{std::string(63, 'a') + " b", "", std::string(63, 'a')}));

}  // namespace
}  // namespace skin

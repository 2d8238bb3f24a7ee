// skinsmith-cli export: the archive of a skin folder, of an archive and of the default skin, its
// preview, and what is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "imaging/png_codec.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileText;
using testing_support::RunCli;

std::string WithoutLastUpdate(std::string text) {
  const std::size_t at = text.find("LastUpdate=");
  if (at != std::string::npos) text.erase(at, text.find("\r\n", at) - at);
  return text;
}

TEST(CliExport, FolderArchiveAndDefaultSkinPackTheSameSkin) {
  testing_support::TempDir dir;
  const fs::path original = dir.path() / "original";
  ASSERT_EQ(RunCli("defaults " + original.string()).status, 0);
  std::ofstream(original / "uisettings.ini", std::ios::app) << "[big clock]\r\nx=12\r\n";

  const fs::path first = dir.path() / "first.zip";
  const fs::path second = dir.path() / "second.zip";
  const fs::path plain = dir.path() / "plain.zip";
  ASSERT_EQ(RunCli("export " + original.string() + " " + first.string()).status, 0);
  ASSERT_EQ(RunCli("export " + first.string() + " " + second.string()).status, 0);
  ASSERT_EQ(RunCli("export --default " + plain.string()).status, 0);

  // Read back through the archive reader, twice packed, the skin is the one that went in.
  ASSERT_EQ(RunCli("convert " + second.string() + " " + (dir.path() / "back").string()).status, 0);
  ASSERT_EQ(RunCli("convert " + original.string() + " " + (dir.path() / "direct").string()).status,
            0);
  EXPECT_EQ(WithoutLastUpdate(ReadFileText(dir.path() / "back" / "uisettings.ini")),
            WithoutLastUpdate(ReadFileText(dir.path() / "direct" / "uisettings.ini")));
  EXPECT_NE(ReadFileText(dir.path() / "back" / "uisettings.ini").find("[big clock]\r\nx=12\r\n"),
            std::string::npos);
  for (const auto& entry : fs::recursive_directory_iterator(original)) {
    if (entry.path().extension() != ".bmp") continue;
    const fs::path relative = fs::relative(entry.path(), original);
    EXPECT_EQ(ReadFileText(dir.path() / "back" / relative), ReadFileText(entry.path())) << relative;
  }

  // preview.png is the contact sheet that render --all draws.
  ASSERT_EQ(RunCli("render --default --all -o " + (dir.path() / "sheet.png").string()).status, 0);
  SKINSMITH_SKIP_ON_WINDOWS("no unzip program to read the archive with");
  ASSERT_EQ(std::system(("cd " + dir.path().string() + " && unzip -q plain.zip").c_str()), 0)
      << "a standard unzip reads the archive";
  const imaging::Decoded preview = testing_support::ReadPicture(dir.path() / "preview.png");
  ASSERT_TRUE(preview);
  const imaging::Decoded sheet = testing_support::ReadPicture(dir.path() / "sheet.png");
  ASSERT_TRUE(sheet);
  EXPECT_TRUE(*preview == *sheet);
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "plain" / "icon" / "unk.bmp"))
      << "an untitled skin is named after the archive";
}

TEST(CliExport, MessagesFailuresAndUsage) {
  testing_support::TempDir dir;
  const fs::path skin = dir.path() / "skin";
  ASSERT_EQ(RunCli("defaults " + skin.string()).status, 0);
  fs::remove(skin / "btn.bmp");
  const testing_support::CliRun incomplete =
      RunCli("export " + skin.string() + " " + (dir.path() / "a.zip").string());
  EXPECT_EQ(incomplete.status, 1) << "exported, with the default picture in the missing slot";
  EXPECT_EQ(incomplete.err, (skin / "btn.bmp").string() + " : File not found.\n");
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "a.zip"));

  const fs::path nowhere = dir.path() / "missing" / "b.zip";
  const testing_support::CliRun failed = RunCli("export --default " + nowhere.string());
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.err, nowhere.string() + ": The file could not be saved.\n");
  EXPECT_FALSE(fs::exists(dir.path() / "missing"));

  EXPECT_EQ(RunCli("export " + dir.path().string() + " " + (dir.path() / "c.zip").string()).status,
            2)
      << "a folder without uisettings.ini";
  EXPECT_FALSE(fs::exists(dir.path() / "c.zip"));
  EXPECT_EQ(RunCli("export --default").status, 2);
  EXPECT_EQ(RunCli("export " + skin.string() + " --default").status, 2);
}

}  // namespace

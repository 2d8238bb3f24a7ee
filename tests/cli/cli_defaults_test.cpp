// skinsmith-cli: usage errors and the defaults subcommand, run as a user would run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/code_page.h"
#include "skin/settings_reader.h"
#include "skin/skin_tables.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CliRun;
using testing_support::RunCli;

TEST(CliUsage, UnknownOrMissingCommandIsAUsageError) {
  EXPECT_EQ(RunCli("").status, 2);
  const CliRun run = RunCli("frobnicate");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_NE(run.err.find("skinsmith-cli defaults OUTDIR"), std::string::npos);
  EXPECT_EQ(RunCli("defaults").status, 2);
  EXPECT_EQ(RunCli("defaults a b").status, 2);
}

TEST(CliDefaults, WritesACompleteSkinFolderThatReadsBack) {
  testing_support::TempDir dir;
  const fs::path out = dir.path() / "new" / "skin";
  const CliRun run = RunCli("defaults '" + out.string() + "'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::size_t bitmaps = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    bitmaps += entry.path().extension() == ".bmp";
  }
  EXPECT_EQ(bitmaps, 53u);
  std::ifstream in(out / "uisettings.ini", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  skin::SkinDocument expected, read;
  skin::ResetSkinDefaults(expected);
  read = expected;
  read.fields.fill(1);
  skin::ReadSkinSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, read,
                         base::kDefaultCodePage);
  EXPECT_EQ(read.fields, expected.fields);
  EXPECT_EQ(read.colours, expected.colours);
}

TEST(CliDefaults, ReportsFilesThatCannotBeWrittenWithStatusOne) {
  testing_support::TempDir dir;
  fs::create_directories(dir.path() / "btn.bmp");
  const CliRun saved = RunCli("defaults " + dir.path().string());
  EXPECT_EQ(saved.status, 1);
  EXPECT_EQ(saved.err, base::DisplayPath(dir.path().string() + "/btn.bmp") + ": The file could not be saved.\n");

  // An icon/ that leads elsewhere, as unzip restores one: its icons are reported, not written
  // there.
  testing_support::TempDir elsewhere;
  const fs::path linked = dir.path() / "linked";
  fs::create_directory(linked);
  SKINSMITH_MAKE_LINK(elsewhere.path(), linked / "icon", true);
  const CliRun icons = RunCli("defaults " + linked.string());
  EXPECT_EQ(icons.status, 1);
  EXPECT_EQ(std::count(icons.err.begin(), icons.err.end(), '\n'), 11);
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST(CliDefaults, NothingSavedIsStatusTwo) {
  testing_support::TempDir dir;
  std::ofstream(dir.path() / "file") << "x";
  EXPECT_EQ(RunCli("defaults " + (dir.path() / "file").string()).status, 2);

  // Every file of the skin has a folder standing in its place: each is reported, none is saved.
  const fs::path blocked = dir.path() / "blocked";
  fs::create_directories(blocked / "uisettings.ini");
  for (const skin::SlotInfo& slot : skin::kSlots) fs::create_directories(blocked / slot.file);
  const CliRun run = RunCli("defaults " + blocked.string());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 54);
}

}  // namespace

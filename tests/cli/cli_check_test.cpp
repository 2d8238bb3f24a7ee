// skinsmith-cli check: the lines and the JSON it prints, and its exit statuses.
#include <gtest/gtest.h>

#include <string>

#include "skin/skin_document.h"
#include "skin/skin_saver.h"
#include "test_support.h"

namespace {

using skin::ColourId;
using skin::FieldId;
using testing_support::RunCli;
using testing_support::RunCommand;

testing_support::CliRun Check(const std::string& args) {
  return RunCommand(std::string(SKINSMITH_CLI) + " check " + args + " 2>/dev/null");
}

// The default skin with its two hard-to-read texts made legible, then changed by `change`, saved
// into `dir`.
template <typename Change>
void SaveSkin(const testing_support::TempDir& dir, Change change) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  doc.Field(FieldId::game_name_show) = 0;
  doc.Colour(ColourId::spinBoxTextColor) = imaging::MakeRgb(208, 208, 208);
  change(doc);
  testing_support::RecordingFeedback feedback;
  ASSERT_EQ(skin::SaveSkin(doc, dir.folder(), skin::SaveOptions(), feedback), 1 + 53);
}

TEST(CliCheck, DefaultSkinPrintsOneLinePerFinding) {
  const testing_support::CliRun run = Check("--default");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "warning legibility screen 1 [game name] gameInfoTitleColor: Text in "
            "gameInfoTitleColor [game name] is hard to read on screen 1: its contrast with what "
            "lies beneath it is 1.98:1 (3:1 or more reads well)\n"
            "warning legibility screen 12 spinBoxTextColor: Text in spinBoxTextColor is hard to "
            "read on screen 12: its contrast with what lies beneath it is 2.24:1 (3:1 or more "
            "reads well)\n");
}

TEST(CliCheck, CleanSkinExitsZeroAndPrintsNothing) {
  testing_support::TempDir dir;
  SaveSkin(dir, [](skin::SkinDocument&) {});
  const testing_support::CliRun lines = Check(dir.folder());
  EXPECT_EQ(lines.status, 0);
  EXPECT_EQ(lines.err, "");
  const testing_support::CliRun json = Check(dir.folder() + " --json");
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.err, "[]\n");
}

TEST(CliCheck, JsonHasOneObjectPerFinding) {
  testing_support::TempDir dir;
  SaveSkin(dir, [](skin::SkinDocument& doc) {
    doc.Field(FieldId::folder_text_x) = -7;
    doc.Field(FieldId::file_handle_menu_x) = 255;
  });
  const testing_support::CliRun run = Check("--json " + dir.folder());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "[\n"
            "  {\"severity\": \"error\", \"code\": \"off-screen\", \"screens\": [2], \"colour\": "
            "null, \"slot\": null, \"section\": \"file handle menu\", \"field\": null, \"rect\": "
            "[5, 293, 256, 192], \"message\": \"[file handle menu] lies wholly outside the screen "
            "wherever it is drawn\", \"fix\": {\"text\": \"Move it to the nearest place where it "
            "shows whole\", \"fields\": {\"x\": 79}}},\n"
            "  {\"severity\": \"warning\", \"code\": \"out-of-range\", \"screens\": [0], "
            "\"colour\": null, \"slot\": null, \"section\": \"folder text\", \"field\": \"x\", "
            "\"rect\": [0, 0, 0, 0], \"message\": \"x of [folder text] is -7, but the editor can "
            "show only 0 to 255\", \"fix\": {\"text\": \"Set the nearest value the field can "
            "show\", \"fields\": {\"x\": 0}}}\n"
            "]\n");
}

// A clock moved to where its box still touches the screen but none of its ink does is named, and
// its fix is the place where the whole clock shows again.
TEST(CliCheck, NamesAnElementThatDrawsNothing) {
  testing_support::TempDir dir;
  SaveSkin(dir, [](skin::SkinDocument& doc) { doc.Field(FieldId::big_clock_x) = 255; });
  const testing_support::CliRun lines = Check(dir.folder());
  EXPECT_EQ(lines.status, 1);
  EXPECT_EQ(
      lines.err,
      "error off-screen screens 0-13 [big clock]: [big clock] is drawn, but none of its "
      "pixels can be seen: it lies at the edge of the screen, is see-through or is covered\n");
  EXPECT_NE(Check(dir.folder() + " --json").err.find("\"fields\": {\"x\": 150}"),
            std::string::npos);
}

TEST(CliCheck, WrongArgumentsAndUnreadableSkinsExitTwo) {
  testing_support::TempDir dir;
  const std::string arguments[] = {"",
                                   "--default " + dir.folder(),
                                   "--default --yaml",
                                   "--default extra",
                                   dir.folder() + "/none",
                                   dir.folder()};
  for (const std::string& args : arguments) {
    EXPECT_EQ(RunCli("check " + args).status, 2) << args;
  }
}

}  // namespace

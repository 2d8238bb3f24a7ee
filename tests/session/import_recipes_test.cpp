// The import recipes beside a skin: they survive a save and a reopen, name sources near the skin
// relative to it, count only for the pictures they made, and a hostile recipe file loses nothing.
#include "session/import_recipes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/paths.h"
#include "preview/contact_sheet.h"
#include "session/skin_session.h"
#include "test_support.h"

namespace session {
namespace {

using skin::SlotId;
namespace fs = std::filesystem;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void WriteText(const fs::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

imaging::FitSettings EveryChoice() {
  imaging::FitSettings s;
  s.width = 200;
  s.height = 150;
  s.mode = imaging::FitMode::kContain;
  s.focus_x = 0.1;
  s.focus_y = 1.0 / 3;
  s.zoom = 2.75;
  s.resampling = imaging::Resampling::kNearest;
  s.dither = imaging::DitherKind::kOrdered;
  s.strength = 40;
  s.fill = imaging::MakeRgb(1, 2, 3);
  s.key = imaging::ColourKey{imaging::MakeRgb(250, 8, 16), 0.07, true, 0.2, 0.9};
  return s;
}

class ImportRecipesTest : public ::testing::Test {
 protected:
  ImportRecipesTest() {
    skins_ = base::JoinPath(dir_.folder(), "skins");
    folder_ = base::FolderWithSeparator(base::JoinPath(skins_, "mine"));
    fs::create_directories(base::FsPath(folder_));
  }
  skin::SaveOptions SaveOptions() const {
    skin::SaveOptions options;
    options.texts = testing_support::EnglishMessages();
    return options;
  }
  skin::LoadOptions LoadOptions() const { return {base::kDefaultCodePage, SaveOptions().texts}; }
  std::string RecipeFile() const { return folder_ + std::string(kRecipeFileName); }
  // Imports a flat 15-bit picture into `slot` as if the studio had made it of `path`.
  void Made(SkinSession& session, SlotId slot, const std::string& path,
            const imaging::FitSettings& settings, imaging::Rgb colour) {
    session.ImportFitted(slot, {path, settings}, imaging::Image(32, 16, colour));
  }

  testing_support::TempDir dir_;
  std::string skins_, folder_;
  testing_support::RecordingFeedback feedback_;
};

TEST_F(ImportRecipesTest, SurviveASaveAndAReopenNamedRelativeToTheSkin) {
  const std::string inside = base::JoinPath(base::JoinPath(folder_, "photos"), "in.png");
  const std::string beside = base::JoinPath(base::JoinPath(skins_, "photos"), "b.jpg");
  const std::string elsewhere = base::JoinPath(base::JoinPath(dir_.folder(), "other"), "c.png");
  SkinSession made;
  Made(made, SlotId::upper_screen, inside, EveryChoice(), imaging::MakeRgb(8, 16, 24));
  Made(made, SlotId::btn3, beside, imaging::KeptAsItIs(), imaging::MakeRgb(248, 0, 8));
  Made(made, SlotId::nds, elsewhere, imaging::FitSettings{}, imaging::MakeRgb(0, 0, 248));
  made.SetPicture(SlotId::lamp, imaging::Image(4, 4));  // no recipe
  ASSERT_TRUE(made.Save(folder_, SaveOptions(), feedback_).complete);
  EXPECT_EQ(feedback_.messages, std::vector<std::string>{});
  const std::string text = testing_support::ReadFileText(base::FsPath(RecipeFile()));
  for (const std::string& line : std::vector<std::string>{
           "[upper_screen.bmp]\r\nsource=photos/in.png\r\n",
           "[btn3.bmp]\r\nsource=../photos/b.jpg\r\n",
           "[icon/nds.bmp]\r\nsource=" + elsewhere + "\r\n", "key_at=0.2,0.9\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
  EXPECT_EQ(text.find("[lamp.bmp]"), std::string::npos);

  SkinSession reopened;
  ASSERT_TRUE(reopened.Open(folder_, false, LoadOptions(), feedback_).opened);
  EXPECT_EQ(feedback_.messages, std::vector<std::string>{});
  for (const SlotId slot : {SlotId::upper_screen, SlotId::btn3, SlotId::nds}) {
    ASSERT_NE(reopened.RecipeOf(slot), nullptr) << skin::Info(slot).file;
    EXPECT_EQ(*reopened.RecipeOf(slot), *made.RecipeOf(slot)) << skin::Info(slot).file;
  }
  EXPECT_EQ(reopened.RecipeOf(SlotId::lamp), nullptr);
  // Undo past the open and redo: the recipes come back with their pictures.
  reopened.Undo();
  EXPECT_EQ(reopened.RecipeOf(SlotId::upper_screen), nullptr);
  reopened.Redo();
  EXPECT_NE(reopened.RecipeOf(SlotId::upper_screen), nullptr);

  // An archive holds no recipes.
  const std::string zip = dir_.folder() + "mine.zip";
  ASSERT_TRUE(reopened
                  .Export(zip, preview::RenderContactSheet(reopened.document(), 0), SaveOptions(),
                          feedback_)
                  .saved);
  EXPECT_EQ(testing_support::ReadFileText(base::FsPath(zip)).find(kRecipeFileName),
            std::string::npos);

  // A picture changed by another program has no recipe any more; a picture that lost its recipe
  // in the editor leaves the file at the next save.
  SkinSession changed;
  std::ofstream(base::FsPath(folder_ + "btn3.bmp"), std::ios::binary | std::ios::trunc)
      << testing_support::ReadFileText(base::FsPath(folder_ + "lamp.bmp"));
  ASSERT_TRUE(changed.Open(folder_, false, LoadOptions(), feedback_).opened);
  EXPECT_EQ(changed.RecipeOf(SlotId::btn3), nullptr);
  EXPECT_NE(changed.RecipeOf(SlotId::nds), nullptr);
  changed.SetPicture(SlotId::upper_screen, imaging::Image(8, 8));
  changed.Save(folder_, SaveOptions(), feedback_);
  const std::string rewritten = testing_support::ReadFileText(base::FsPath(RecipeFile()));
  EXPECT_EQ(rewritten.find("[upper_screen.bmp]"), std::string::npos);
  EXPECT_NE(rewritten.find("[icon/nds.bmp]"), std::string::npos);
  EXPECT_EQ(feedback_.messages, std::vector<std::string>{});
}

TEST_F(ImportRecipesTest, ASkinWithoutImportsGetsNoRecipeFile) {
  SkinSession session;
  ASSERT_TRUE(session.Save(folder_, SaveOptions(), feedback_).complete);
  EXPECT_FALSE(fs::exists(base::FsPath(RecipeFile())));
}

TEST(ImportRecipes, EverySettingReadsBackAsItWasWritten) {
  const std::string folder = testing_support::TempDir().folder() + "skin/";
  imaging::FitSettings unkeyed = EveryChoice();
  unkeyed.key.reset();
  imaging::FitSettings exact = imaging::KeptAsItIs();
  exact.key = imaging::ExactKey(imaging::kKeyColour);
  const std::vector<SlotRecipe> recipes = {
      {SlotId::upper_screen, {folder + "a b/ü.png", EveryChoice()}, 0x0123456789ABCDEFull},
      {SlotId::gba, {folder + "c.jpg", unkeyed}, 0},
      {SlotId::close, {folder + "d.bmp", exact}, ~0ull},
  };
  const std::string text = FormatImportRecipes(recipes, folder);
  const ParsedRecipes read = ParseImportRecipes(Bytes(text), folder);
  EXPECT_EQ(read.unread, 0);
  EXPECT_EQ(read.recipes, recipes) << text;
}

// Each text holds one recipe around the line that varies; what reads and what is left out.
TEST(ImportRecipes, AHostileFileLosesOnlyWhatCannotBeRead) {
  const std::string folder = testing_support::TempDir().folder() + "skin/";
  const std::string head = "[close.bmp]\npicture=00000000000000ff\n";
  struct Case {
    std::string text;
    int recipes, unread;
  } const cases[] = {
      {head + "source=a.png", 1, 0},
      {"\xEF\xBB\xBF" + head + "source=a.png\r\nfuture=1\r\n; note", 1, 0},
      {head + (base::IsAbsolutePath("C:/a") ? "source=C:/photos/a.png" : "source=/photos/a.png"), 1,
       0},
      {head, 0, 1},                                  // no source
      {"[close.bmp]\nsource=a.png", 0, 1},           // no digest
      {head + "source=../../etc/passwd", 0, 1},      // climbs above the folder beside
      {head + "source=a/../../b.png", 0, 1},         //
      {head + "source=//server/share/a.png", 0, 1},  // another computer
      {head + "source=a\x01.png", 0, 1},             // a control character
      {head + "source=a.png\nsize=99999x1", 0, 1},   // beyond any slot
      {head + "source=a.png\nzoom=nan", 0, 1},       //
      {head + "source=a.png\nzoom=1e999", 0, 1},     //
      {head + "source=a.png\nzoom=0.5", 0, 1},       // below 1
      {head + "source=a.png\nfocus=0.5", 0, 1},      // one of two
      {head + "source=a.png\nstrength=-1", 0, 1},    //
      {head + "source=a.png\nkey=green", 0, 1},      //
      {head + "source=a.png\nkey_tolerance=0.9", 0, 1},
      {head + "source=a.png\nfit=squeeze", 0, 1},  //
      {head + "source=a.png\nno setting", 0, 1},   //
      {head + "source=a.png\npicture=12", 0, 1},   // not 16 digits
      {"[nosuch.bmp]\nsource=a.png\n" + head + "source=a.png", 1, 1},
      {head + "source=a.png\n" + head + "source=b.png", 1, 1},  // a slot named twice
      {"source=a.png\n" + head + "source=a.png", 1, 1},         // before any section
      {std::string("\x00\xFF\xFE[\x01]\n\x89PNG", 11), 0, 2},   // two lines that are no setting
      {std::string(100000, '['), 0, 1},
  };
  for (const Case& c : cases) {
    const ParsedRecipes read = ParseImportRecipes(Bytes(c.text), folder);
    EXPECT_EQ(static_cast<int>(read.recipes.size()), c.recipes) << c.text;
    EXPECT_EQ(read.unread, c.unread) << c.text;
  }
}

// A recipe file the skin cannot use says so, and the skin opens with all its pictures.
TEST_F(ImportRecipesTest, AnUnreadableRecipeFileIsReportedAndTheSkinOpens) {
  SkinSession saved;
  saved.SetPicture(SlotId::close, imaging::Image(4, 4, imaging::MakeRgb(8, 8, 8)));
  ASSERT_TRUE(saved.Save(folder_, SaveOptions(), feedback_).complete);
  const skin::MessageTexts texts = SaveOptions().texts;
  const fs::path recipe_file = base::FsPath(RecipeFile());
  struct Case {
    const char* what;
    std::function<bool()> make;
    skin::FileProblem problem;
  } const cases[] = {
      {"too large",
       [&] {
         WriteText(recipe_file, std::string(kMaxRecipeFileBytes + 1, ';'));
         return true;
       },
       skin::FileProblem::kTooLarge},
      {"a folder", [&] { return fs::create_directory(recipe_file); },
       skin::FileProblem::kNotRegularFile},
      {"garbled",
       [&] {
         WriteText(recipe_file, std::string("[close.bmp]\nsource=\x00zz\n", 22));
         return true;
       },
       skin::FileProblem::kRecipesUnread},
#ifndef _WIN32
      {"a link to a device", [&] { return testing_support::MakeLink("/dev/zero", recipe_file); },
       skin::FileProblem::kNotRegularFile},
#endif
  };
  for (const Case& c : cases) {
    fs::remove(recipe_file);
    if (!c.make()) continue;
    feedback_.messages.clear();
    SkinSession session;
    ASSERT_TRUE(session.Open(folder_, false, LoadOptions(), feedback_).opened) << c.what;
    EXPECT_EQ(session.document().Slot(SlotId::close), saved.document().Slot(SlotId::close));
    EXPECT_EQ(feedback_.messages,
              std::vector<std::string>{skin::ComposeFileMessage(RecipeFile(), c.problem, texts)})
        << c.what;
  }
}

TEST_F(ImportRecipesTest, ASaveReplacesALinkAndNeverWritesThroughIt) {
  const fs::path outside = dir_.path() / "outside.txt";
  WriteText(outside, "keep");
  if (!testing_support::MakeLink(outside, base::FsPath(RecipeFile())))
    GTEST_SKIP() << "no links to files here";
  SkinSession session;
  Made(session, SlotId::close, folder_ + "a.png", imaging::FitSettings{}, 0);
  session.Save(folder_, SaveOptions(), feedback_);
  EXPECT_EQ(testing_support::ReadFileText(outside), "keep");
  EXPECT_FALSE(testing_support::IsLink(base::FsPath(RecipeFile())));
  EXPECT_NE(testing_support::ReadFileText(base::FsPath(RecipeFile())).find("[close.bmp]"),
            std::string::npos);
}

}  // namespace
}  // namespace session

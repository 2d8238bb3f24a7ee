// The skin's files through the editor's commands: a new skin, open, save in place and into a
// folder, the archive, screenshots and the skin named on the command line.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/colour_editor.h"
#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"
#include "app/shell.h"
#include "app/side_panel.h"
#include "imaging/screenshot_writer.h"
#include "shell_fixture.h"
#include "skin/skin_export.h"
#include "skin/skin_saver.h"
#include "test_support.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using skin::FieldId;
using skin::InfoId;

class SkinFilesTest : public ShellTest {
 protected:
  std::string Settings(const fs::path& folder) {
    return testing_support::ReadFileText(folder / "uisettings.ini");
  }
};

TEST_F(SkinFilesTest, NewSkinResetsAndSelectsScreenZero) {
  window().MenuItem(40)->trigger();
  shell_->EditField(FieldId::big_clock_x, 3);
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;
  window().MenuItem(kMenuNewSkin)->trigger();
  EXPECT_EQ(dialogs_.questions, std::vector<std::string>{"LANG_REPLACE_QUESTION$"});
  EXPECT_EQ(shell_->state().selected_screen, 0);
  EXPECT_EQ(shell_->document().Field(skin::FieldId::big_clock_x), 131);
  EXPECT_EQ(static_cast<QSpinBox*>(Field(FieldId::big_clock_x))->value(), 131);
}

TEST_F(SkinFilesTest, OpenSaveAndImportCommands) {
  testing_support::TempDir skin;
  dialogs_.answers = {skin.folder()};
  Info(InfoId::Title)->setFocus();
  QTest::keyClicks(Info(InfoId::Title), "My skin");
  window().MenuItem(kMenuSaveFolder)->trigger();
  EXPECT_EQ(shell_->state().last_path, skin.folder());
  EXPECT_EQ(shell_->document().info.Title, "My skin");
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::LastUpdate))->text().toStdString(),
            shell_->document().info.LastUpdate)
      << "the field shows the stamp of the save";
  EXPECT_TRUE(fs::exists(skin.path() / "icon" / "unk.bmp"));
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_EQ(window().progress()->value(), 0);

  shell_->EditInfo(InfoId::Title, "changed");
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;
  window().MenuItem(40)->trigger();
  dialogs_.answers = {skin.folder()};
  window().MenuItem(kMenuOpenFolder)->trigger();
  EXPECT_EQ(shell_->document().info.Title, "My skin");
  EXPECT_EQ(shell_->state().selected_screen, 0);
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::Title))->text(), "My skin");

  dialogs_.answers = {(skin.path() / "nothing.png").string()};
  static_cast<QPushButton*>(Slot(skin::SlotId::cheat))->click();  // cheat icon
  EXPECT_EQ(dialogs_.proposals.back(), skin.folder() + "cheat.bmp");
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0],
            "Error|" + (skin.path() / "nothing.png").string() + " : File not found.");

  dialogs_.answers = {};
  window().MenuItem(kMenuOpenZip)->trigger();  // cancelled: nothing changes
  EXPECT_EQ(shell_->state().last_path, skin.folder());
}

// A skin folder replaced on disk by another (here a link to another skin's folder) is not saved
// into: the user hears why and chooses the folder.
TEST_F(SkinFilesTest, SaveInPlaceThroughASwappedFolderAsksForAFolder) {
  SKINSMITH_SKIP_ON_WINDOWS("a folder the editor watches cannot be removed or replaced there");
  testing_support::TempDir place;
  const fs::path skin = place.path() / "skin", other = place.path() / "other";
  fs::create_directories(other);
  dialogs_.answers = {skin.string() + "/"};
  fs::create_directory(skin);
  window().MenuItem(kMenuSaveFolder)->trigger();
  ASSERT_EQ(session_.folder(), skin.string() + "/");
  fs::remove_all(skin);
  std::error_code linked;
  fs::create_directory_symlink(other, skin, linked);
  if (linked) fs::create_directory(skin);  // where links cannot be made: another folder
  shell_->EditInfo(InfoId::Title, "changed");
  dialogs_.titles.clear();
  window().MenuItem(kMenuSave)->trigger();  // the chooser is cancelled
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "Error|" + skin.string() +
                                    "/ is no longer the folder this skin was opened from or last "
                                    "saved to: it was moved or replaced. Choose the folder to "
                                    "save the skin in.");
  EXPECT_EQ(dialogs_.titles, std::vector<std::string>{"Choose the folder to save the skin in"});
  EXPECT_TRUE(fs::is_empty(other)) << "nothing was written through the link";
  EXPECT_TRUE(session_.Modified());
}

TEST(ScreenshotNaming, FilterDecidesAndExtensionsCompareWithoutCase) {
  EXPECT_EQ(ScreenshotFileName("/a/shot.png", 1), "/a/shot.png.bmp");
  EXPECT_EQ(ScreenshotFileName("/a/shot", 2), "/a/shot.jpg");
  EXPECT_EQ(ScreenshotFileName("/a/shot.jpg", 2), "/a/shot.jpg");
  EXPECT_EQ(ScreenshotFileName("/a/shot.PNG", 0), "/a/shot.PNG");
  EXPECT_EQ(ScreenshotFileName("/a/shot.jpeg", 0), "/a/shot.jpeg.png");
  EXPECT_EQ(ScreenshotFileName("/a.b/shot", 0), "/a.b/shot.png");
  EXPECT_EQ(ScreenshotFileName("", 0), "");
}

TEST_F(SkinFilesTest, ScreenshotsToFileAndClipboard) {
  window().MenuItem(45)->trigger();
  window().MenuItem(kMenuScreenshotClipboard)->trigger();
  EXPECT_EQ(dialogs_.clipboard.width, 256);
  EXPECT_EQ(dialogs_.clipboard.height, 384);
  EXPECT_EQ(shell_->state().selected_screen, 13) << "the screenshot always shows screen 0";

  dialogs_.answers = {(dir_.path() / "shot.PNG").string()};
  window().MenuItem(kMenuScreenshotFile)->trigger();
  EXPECT_TRUE(fs::exists(dir_.path() / "shot.PNG"));
  EXPECT_EQ(shell_->state().last_path, dir_.folder());

  dialogs_.answers = {(dir_.path() / "missing" / "shot.png").string()};
  window().MenuItem(kMenuScreenshotFile)->trigger();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "Error|" + (dir_.path() / "missing" / "shot.png").string() +
                                    ": The file could not be saved.");
}

TEST_F(SkinFilesTest, SaveAsZipArchiveProposesANameAndOpensAsTheSameSkin) {
  QAction* item = window().MenuItem(kMenuSaveZip);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&ZIP archive...");
  EXPECT_EQ(item->associatedObjects(), window().MenuItem(kMenuSaveFolder)->associatedObjects())
      << "in the Save menu";

  testing_support::TempDir out;
  shell_->state().last_path = out.folder();
  Info(InfoId::Title)->setFocus();
  QTest::keyClicks(Info(InfoId::Title), "Blue: Night");
  shell_->EditField(FieldId::big_clock_x, 40);
  shell_->Apply(
      session_.SetPicture(skin::SlotId::btn, imaging::Image(3, 2, imaging::MakeRgb(248, 8, 16))));
  dialogs_.answers = {(out.path() / "share").string()};
  item->trigger();
  EXPECT_EQ(dialogs_.titles.back(), "Save the skin as a ZIP archive");
  EXPECT_EQ(dialogs_.proposals.back(), out.folder() + "Blue_ Night.zip");
  EXPECT_EQ(dialogs_.save_filters, std::vector<std::string>{"* (*.zip)"});
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_TRUE(fs::is_regular_file(out.path() / "share.zip")) << "the .zip ending is added";
  EXPECT_EQ(shell_->state().last_path, out.folder());
  EXPECT_EQ(shell_->document().info.Title, "Blue: Night") << "exporting saves the typed texts";
  EXPECT_EQ(window().progress()->value(), 0);

  const skin::SkinDocument exported = shell_->document();
  window().MenuItem(kMenuNewSkin)->trigger();
  dialogs_.answers = {(out.path() / "share.zip").string()};
  window().MenuItem(kMenuOpenZip)->trigger();
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_EQ(shell_->document().info, exported.info);
  EXPECT_EQ(shell_->document().colours, exported.colours);
  EXPECT_EQ(shell_->document().fields, exported.fields);
  EXPECT_EQ(shell_->document().slots, exported.slots);
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::Title))->text(), "Blue: Night");

  dialogs_.answers = {};
  item->trigger();  // cancelled
  EXPECT_EQ(shell_->state().last_path, out.folder());
  const fs::path nowhere = out.path() / "missing" / "x.zip";
  dialogs_.answers = {nowhere.string()};
  item->trigger();
  EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Error|" + nowhere.string() +
                                                      ": The file could not be saved."});
  EXPECT_FALSE(fs::exists(nowhere.parent_path()));

  window().MenuItem(24)->trigger();  // French
  EXPECT_EQ(window().MenuItem(kMenuSaveZip)->text(), "&Archive ZIP...");
}

TEST_F(SkinFilesTest, TheCommandLineSkinOpensAsAFolderOrAnArchive) {
  testing_support::TempDir place;
  skin::SkinDocument source;
  skin::ResetSkinDefaults(source);
  skin::SaveOptions options;
  options.edited_info = skin::EditedInfo{"From a folder", "", "", ""};
  testing_support::RecordingFeedback quiet;
  fs::create_directory(place.path() / "skin");
  skin::SaveSkin(source, (place.path() / "skin").string(), options, quiet);
  options.edited_info->Title = "From an archive";
  ASSERT_TRUE(skin::ExportSkinZip(source, (place.path() / "Packed.ZIP").string(),
                                  imaging::Image(1, 1), options, quiet));

  shell_->files().OpenArgument((place.path() / "skin").string());
  EXPECT_EQ(shell_->document().info.Title, "From a folder");
  EXPECT_EQ(shell_->state().last_path, base::FolderWithSeparator(place.folder() + "skin"));
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::Title))->text(), "From a folder");

  const fs::path working = fs::current_path();
  fs::current_path(place.path());
  shell_->files().OpenArgument("./Packed.ZIP");
  fs::current_path(working);
  EXPECT_EQ(shell_->document().info.Title, "From an archive");
  EXPECT_EQ(shell_->state().last_path, place.folder()) << "a relative path is made whole";
  EXPECT_TRUE(dialogs_.errors.empty());

  std::ofstream(place.path() / "notes.txt") << "no skin";
  std::vector<std::string> expected;
  for (const fs::path& other :
       {place.path() / "notes.txt", place.path() / "gone.zip", place.path()}) {
    shell_->files().OpenArgument(other.string());
    EXPECT_EQ(shell_->document().info.Title, "From an archive") << other;
    expected.push_back("Error|" + other.string() +
                       ": No skin: there is no readable uisettings.ini in this folder or archive.");
  }
  EXPECT_EQ(dialogs_.errors, expected) << "the message names the folder or archive";
}

TEST_F(SkinFilesTest, SaveWritesBackWithoutAChooserAndAsksOnlyWithoutAFolder) {
  testing_support::TempDir place;
  const fs::path first = place.path() / "Blue";
  const fs::path second = place.path() / "Blue copy";
  fs::create_directories(first);
  fs::create_directories(second);
  // The default skin has no folder: Save asks, as Save as does.
  dialogs_.answers = {first.string() + "/"};
  Trigger(kMenuSave);
  EXPECT_EQ(dialogs_.titles, std::vector<std::string>{"Choose the folder to save the skin in"});
  EXPECT_TRUE(fs::exists(first / "icon" / "nds.bmp"));

  shell_->EditField(FieldId::big_clock_x, 77);
  EXPECT_TRUE(window().isWindowModified());
  Trigger(kMenuSave);
  EXPECT_EQ(dialogs_.titles.size(), 1u) << "no chooser for the folder the skin comes from";
  EXPECT_NE(Settings(first).find("[big clock]\r\nx=77\r\n"), std::string::npos);
  EXPECT_FALSE(window().isWindowModified());
  EXPECT_EQ(window().StatusText().toStdString().find("Saved 54 files to " + first.string()), 0u)
      << window().StatusText().toStdString();

  // Save as always asks, and the skin then belongs to the new folder.
  dialogs_.answers = {second.string() + "/"};
  Trigger(kMenuSaveFolder);
  EXPECT_EQ(dialogs_.titles.size(), 2u);
  shell_->EditField(FieldId::big_clock_x, 78);
  Trigger(kMenuSave);
  EXPECT_EQ(dialogs_.titles.size(), 2u);
  EXPECT_NE(Settings(second).find("x=78\r\n"), std::string::npos);
  EXPECT_NE(Settings(first).find("x=77\r\n"), std::string::npos);

  // The archive is proposed beside the skin's folder, named after its title.
  static_cast<QLineEdit*>(Info(skin::InfoId::Title))->setText("");
  QTest::keyClicks(Info(skin::InfoId::Title), "Night");
  Trigger(kMenuSaveZip);  // cancelled
  EXPECT_EQ(dialogs_.proposals.back(), place.folder() + "Night.zip");
  // A question before another skin takes the place of one with changes saves in place too.
  shell_->EditField(FieldId::big_clock_x, 79);
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kSave;
  Trigger(kMenuNewSkin);
  EXPECT_EQ(dialogs_.titles.size(), 3u) << "only the archive's chooser was added";
  EXPECT_NE(Settings(second).find("x=79\r\n"), std::string::npos);
}

TEST_F(SkinFilesTest, ScreenshotsOfScreenOneOrOfTheScreenShownSayWhichScreen) {
  testing_support::TempDir out;
  window().MenuItem(kMenuFirstScreen + 3)->trigger();
  Trigger(kMenuScreenshotCurrentClipboard);
  EXPECT_EQ(dialogs_.clipboard, preview::RenderScreenshot(doc(), 3));
  EXPECT_NE(dialogs_.clipboard, preview::RenderScreenshot(doc(), 0));
  EXPECT_EQ(window().StatusText(), "Screen 4 (Delete confirmation) copied to the clipboard");
  Trigger(kMenuScreenshotClipboard);
  EXPECT_EQ(dialogs_.clipboard, preview::RenderScreenshot(doc(), 0));
  EXPECT_EQ(window().StatusText(), "Screen 1 (Game list) copied to the clipboard");
  // The scale chosen in the menu sizes every shot from then on, and editor.ini keeps it.
  Trigger(kMenuScreenshotScale3);
  EXPECT_TRUE(window().IsChecked(kMenuScreenshotScale3));
  EXPECT_FALSE(window().IsChecked(kMenuScreenshotScale1));
  Trigger(kMenuScreenshotClipboard);
  EXPECT_EQ(dialogs_.clipboard, preview::RenderScreenshot(doc(), 0, 3));
  EXPECT_EQ(shell_->preferences().screenshot_scale, 3);
  Trigger(kMenuScreenshotScale1);
  dialogs_.answers = {(out.path() / "shot").string()};
  Trigger(kMenuScreenshotCurrentFile);
  EXPECT_TRUE(fs::is_regular_file(out.path() / "shot.png"));
  EXPECT_EQ(window().StatusText().toStdString(),
            "Screen 4 (Delete confirmation) saved to " + (out.path() / "shot.png").string());
  EXPECT_EQ(shell_->state().selected_screen, 3) << "the preview stays on its screen";
}

}  // namespace
}  // namespace app

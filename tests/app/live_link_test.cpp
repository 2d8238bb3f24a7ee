// The live link to the open skin folder, driven through the real editor: pictures and
// uisettings.ini rewritten on disk in place and by rename, broken and hostile rewrites, undo and
// the modified mark, the editor's own saves and the switch; and the file watcher on its own.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "app/fixed_numbers.h"
#include "imaging/bmp16.h"
#include "shell_fixture.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"
#include "zip_writer.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using imaging::Image;
using imaging::MakeRgb;
using skin::ColourId;
using skin::FieldId;
using skin::InfoId;
using skin::SlotId;

constexpr imaging::Rgb kGrey = MakeRgb(96, 96, 96);
constexpr imaging::Rgb kMagenta = MakeRgb(248, 0, 248);
constexpr imaging::Rgb kCyan = MakeRgb(0, 248, 248);
constexpr imaging::Rgb kYellow = MakeRgb(248, 248, 0);
constexpr imaging::Rgb kOrange = MakeRgb(248, 128, 0);
// Long enough for a change on disk to have been taken, if it ever would be.
constexpr int kSettleMs = FileWatcher::kLongestWaitMs + 2 * FileWatcher::kQuietMs;

std::string Bmp(const Image& picture) {
  const std::vector<std::uint8_t> bytes = imaging::EncodeBmp16(picture);
  return {bytes.begin(), bytes.end()};
}

class LiveLinkTest : public ShellTest {
 protected:
  std::size_t Steps() { return shell_->session().history().UndoCount(); }

  // Opens the skin folder that the live tests rewrite.
  void OpenFollowedSkin() {
    skin_ = SaveSkinFolder("skin");
    Open(skin_);
    ASSERT_EQ(shell_->watched_folder(), skin_);
    ASSERT_FALSE(Modified());
  }
  // Writes over the file itself, as an editor that saves in place does: it stays the same file.
  void WriteInPlace(const std::string& name, const std::string& bytes) {
    std::ofstream(skin_ + name, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Writes a new file beside it and renames that over it, as editors that save safely do.
  void WriteByRename(const std::string& name, const std::string& bytes) {
    const std::string temporary = skin_ + name + ".new";
    std::ofstream(temporary, std::ios::binary) << bytes;
    fs::rename(temporary, skin_ + name);
  }
  // How many pixels of the preview on screen have `colour`.
  int OnScreen(imaging::Rgb colour) {
    const QImage shot =
        window().preview()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGBX8888);
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(shot.constScanLine(y));
      for (int x = 0; x < shot.width(); ++x) count += (row[x] & 0xFFFFFF) == colour;
    }
    return count;
  }
  std::string Status() { return window().StatusText().toStdString(); }
  template <typename Done>
  bool WaitFor(Done done) {
    return QTest::qWaitFor(done, 5000);
  }
  bool WaitForStatus(const std::string& status) {
    return WaitFor([&] { return Status() == status; });
  }
  void SpinStartButtonX(Qt::Key key) {
    Field(FieldId::start_button_x)->setFocus();
    QTest::keyClick(Field(FieldId::start_button_x), key);
  }
  void AnswerBar(const char* button) {
    window().disk_bar()->findChild<QPushButton*>(button)->click();
  }

  std::string skin_;
};

TEST_F(LiveLinkTest, APictureRewrittenInPlaceOrByRenameAppearsInThePreview) {
  OpenFollowedSkin();
  const std::size_t steps = Steps();
  EXPECT_GT(OnScreen(kGrey), 10000);
  WriteInPlace("upper_screen.bmp", Bmp(Image(256, 192, kMagenta)));
  ASSERT_TRUE(WaitFor([&] { return OnScreen(kMagenta) > 10000; }));
  EXPECT_EQ(OnScreen(kGrey), 0);
  EXPECT_EQ(Status(), "Reloaded from disk: upper_screen.bmp.");
  // Twice by a rename: the file that took the place of the first one is followed in its turn.
  for (const imaging::Rgb colour : {kCyan, kYellow}) {
    WriteByRename("upper_screen.bmp", Bmp(Image(256, 192, colour)));
    ASSERT_TRUE(WaitFor([&] { return OnScreen(colour) > 10000; }));
  }
  // In place into the file that came by a rename: only a watch of that file sees such a write.
  WriteInPlace("upper_screen.bmp", Bmp(Image(256, 192, kOrange)));
  ASSERT_TRUE(WaitFor([&] { return OnScreen(kOrange) > 10000; }));
  WriteByRename("icon/nds.bmp", Bmp(Image(16, 16, kCyan)));
  ASSERT_TRUE(WaitFor([&] { return doc().Slot(SlotId::nds) == Image(16, 16, kCyan); }));
  EXPECT_EQ(Status(), "Reloaded from disk: icon/nds.bmp.");
  EXPECT_EQ(Steps(), steps + 5) << "one step a reload";
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_FALSE(Modified());
}

TEST_F(LiveLinkTest, ARewrittenSettingsFileReloadsItsValues) {
  OpenFollowedSkin();
  skin::SkinDocument edited = doc();
  edited.Field(FieldId::start_button_x) = 42;
  edited.Field(FieldId::big_clock_show) = 0;
  WriteInPlace("uisettings.ini", skin::BuildSkinSettingsText(edited, skin::SaveOptions()));
  ASSERT_TRUE(WaitFor([&] { return doc().Field(FieldId::start_button_x) == 42; }));
  EXPECT_EQ(doc().Field(FieldId::big_clock_show), 0);
  EXPECT_EQ(static_cast<QSpinBox*>(Field(FieldId::start_button_x))->value(), 42)
      << "the panel follows";
  EXPECT_EQ(Status(), "Reloaded from disk: uisettings.ini.");
  EXPECT_EQ(UndoText(), "Undo Reload uisettings.ini");
  EXPECT_FALSE(Modified());
}

// A file changed on disk over unsaved edits to it waits in the bar: Keep mine keeps the edit and
// the mark; Reload takes the disk's version as one step. Other files still reload at once.
TEST_F(LiveLinkTest, ChangesOnDiskOverUnsavedEditsWaitForTheUsersAnswer) {
  OpenFollowedSkin();
  skin::SkinDocument on_disk = doc();
  SpinStartButtonX(Qt::Key_Up);
  const std::size_t steps = Steps();
  on_disk.info.Author = "Someone Else";
  WriteInPlace("uisettings.ini", skin::BuildSkinSettingsText(on_disk, skin::SaveOptions()));
  ASSERT_TRUE(WaitFor([&] { return window().disk_bar()->isVisible(); }));
  EXPECT_NE(
      window().disk_bar()->findChild<QLabel*>()->text().indexOf("uisettings.ini changed on disk."),
      -1);
  WriteInPlace("btn.bmp", Bmp(Image(4, 4, kCyan)));
  ASSERT_TRUE(WaitFor([&] { return doc().Slot(SlotId::btn) == Image(4, 4, kCyan); }));
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 1);
  EXPECT_EQ(doc().info.Author, "");
  AnswerBar("DiskKeep");
  EXPECT_FALSE(window().disk_bar()->isVisible());
  EXPECT_EQ(doc().info.Author, "");
  EXPECT_TRUE(Modified());
  EXPECT_EQ(Steps(), steps + 1) << "the picture's reload only";

  on_disk.info.Author = "Third";
  WriteByRename("uisettings.ini", skin::BuildSkinSettingsText(on_disk, skin::SaveOptions()));
  ASSERT_TRUE(WaitFor([&] { return window().disk_bar()->isVisible(); }));
  AnswerBar("DiskReload");
  EXPECT_EQ(doc().info.Author, "Third");
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 0);
  EXPECT_EQ(UndoText(), "Undo Reload uisettings.ini");
  EXPECT_FALSE(Modified()) << "what is shown is what the disk holds";
  Trigger(kMenuUndo);
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 1);
  EXPECT_TRUE(Modified());
}

// A folder deleted and made again, as a tool that unpacks a skin anew does, is followed again.
TEST_F(LiveLinkTest, AFolderDeletedAndMadeAgainIsFollowedAgain) {
  SKINSMITH_SKIP_ON_WINDOWS("Wine refuses to delete a folder while it is watched");
  OpenFollowedSkin();
  fs::remove_all(skin_);
  QTest::qWait(kSettleMs);
  SaveSkinFolder("skin", 42);
  ASSERT_TRUE(WaitFor([&] { return doc().Field(FieldId::start_button_x) == 42; }));
  EXPECT_EQ(shell_->watched_folder(), skin_);
  EXPECT_FALSE(Modified());
}

TEST_F(LiveLinkTest, BrokenAndHostileRewritesKeepTheOldContentAndAreReportedOnce) {
  OpenFollowedSkin();
  const Image before = doc().Slot(SlotId::btn);
  const std::size_t steps = Steps();
  const int redraws = shell_->redraw_count();
  {
    // Written in pieces, as a slow writer does: one burst, one reload, one report.
    std::ofstream out(skin_ + "btn.bmp", std::ios::binary | std::ios::trunc);
    out << "BM" << std::flush << std::string(100, 'x') << std::flush << "broken";
  }
  ASSERT_TRUE(WaitForStatus("Not reloaded: " + base::DisplayPath(skin_ + "btn.bmp") +
                            ": Unknown or unsupported image format."));
  QTest::qWait(kSettleMs);
  EXPECT_EQ(shell_->redraw_count(), redraws) << "nothing changed, nothing drawn";
  EXPECT_EQ(doc().Slot(SlotId::btn), before);
  EXPECT_EQ(Steps(), steps);
  EXPECT_TRUE(dialogs_.errors.empty()) << "no message box";
  EXPECT_FALSE(Modified());
  // A change of another file names that file alone: the broken one is not reported again.
  WriteInPlace("lamp.bmp", Bmp(Image(2, 2, kCyan)));
  ASSERT_TRUE(WaitForStatus("Reloaded from disk: lamp.bmp."));

  // Hostile replacements are refused without being opened or read.
  const skin::SkinDocument now = doc();
  fs::remove(skin_ + "btn.bmp");
#ifdef _WIN32
  fs::create_directory(skin_ + "btn.bmp");  // a folder: Windows has no named pipes in folders
#else
  ASSERT_EQ(::mkfifo((skin_ + "btn.bmp").c_str(), 0600), 0);
#endif
  ASSERT_TRUE(WaitForStatus("Not reloaded: " + skin_ + "btn.bmp: Not a regular file."));
  fs::resize_file(skin_ + "uisettings.ini", skin::kMaxSettingsFileBytes + 1);
  ASSERT_TRUE(WaitForStatus("Not reloaded: " + skin_ +
                            "uisettings.ini: Too large: uisettings.ini may have at most 1 MB."));
  EXPECT_EQ(doc(), now);
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(LiveLinkTest, TheEditorsOwnSaveIsNoChangeFromOutside) {
  OpenFollowedSkin();
  SpinStartButtonX(Qt::Key_Up);
  dialogs_.answers.push_back(skin_);
  Trigger(kMenuSaveFolder);
  ASSERT_FALSE(Modified());
  const std::size_t steps = Steps();
  // A change from outside after the save: once it is taken, the watcher has looked at the folder
  // since the save, and it names that file alone.
  WriteInPlace("lamp.bmp", Bmp(Image(2, 2, kCyan)));
  ASSERT_TRUE(WaitForStatus("Reloaded from disk: lamp.bmp."));
  EXPECT_EQ(Steps(), steps + 1);
  EXPECT_FALSE(Modified());
}

// A save elsewhere that wrote only part of the skin leaves the followed folder as it was: a change
// made there just before is still taken.
TEST_F(LiveLinkTest, APartialSaveElsewhereKeepsWhatChangedInTheFollowedFolder) {
  OpenFollowedSkin();
  // A folder where the settings file should go: the skin stays in the folder it came from.
  fs::create_directories(dir_.path() / "other" / "uisettings.ini");
  WriteInPlace("lamp.bmp", Bmp(Image(2, 2, kCyan)));
  dialogs_.answers.push_back(dir_.folder() + "other/");
  Trigger(kMenuSaveFolder);
  ASSERT_FALSE(dialogs_.errors.empty());
  EXPECT_EQ(shell_->watched_folder(), skin_);
  EXPECT_TRUE(WaitForStatus("Reloaded from disk: lamp.bmp."));
}

TEST_F(LiveLinkTest, NoReloadWhileACommandWaitsForTheUser) {
  OpenFollowedSkin();
  dialogs_.inside_colour_editor = [&] {
    WriteInPlace("btn.bmp", Bmp(Image(4, 4, kMagenta)));
    QTest::qWait(kSettleMs);  // the dialog's own event loop runs meanwhile
    EXPECT_NE(doc().Slot(SlotId::btn), Image(4, 4, kMagenta));
  };
  dialogs_.colour_answer = MakeRgb(8, 16, 24);
  static_cast<QAbstractButton*>(Colour(ColourId::gameInfoTextColor))->click();  // gameInfoTextColor
  dialogs_.inside_colour_editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return doc().Slot(SlotId::btn) == Image(4, 4, kMagenta); }));
  // Two steps of their own, in the order they were made.
  EXPECT_EQ(UndoText(), "Undo Reload btn.bmp");
  Trigger(kMenuUndo);
  EXPECT_EQ(UndoText(), "Undo Change gameInfoTextColor");
}

TEST_F(LiveLinkTest, TheSwitchStopsFollowingAndIsKeptOutsideTheSettingsFile) {
  OpenFollowedSkin();
  EXPECT_TRUE(window().IsChecked(kMenuFollowChanges));
  Trigger(kMenuFollowChanges);
  EXPECT_FALSE(window().IsChecked(kMenuFollowChanges));
  EXPECT_EQ(shell_->watched_folder(), "");
  WriteInPlace("btn.bmp", Bmp(Image(4, 4, kMagenta)));
  QTest::qWait(kSettleMs);
  EXPECT_NE(doc().Slot(SlotId::btn), Image(4, 4, kMagenta));
  EXPECT_NE(testing_support::ReadFileText(EditorFile()).find("FollowChanges = 0\r\n"),
            std::string::npos);
  shell_->Finish();
  const std::string settings_file = (dir_.path() / "settings" / "settings.ini").string();
  EXPECT_EQ(testing_support::ReadFileText(settings_file),
            i18n::ProgramSettingsText(i18n::LoadProgramSettings(settings_file)))
      << "settings.ini holds its four keys and nothing else";

  Restart();
  EXPECT_FALSE(window().IsChecked(kMenuFollowChanges));
  Open(skin_);
  EXPECT_EQ(shell_->watched_folder(), "");
  Trigger(kMenuFollowChanges);
  EXPECT_EQ(shell_->watched_folder(), skin_);
  WriteInPlace("btn.bmp", Bmp(Image(4, 4, kCyan)));
  ASSERT_TRUE(WaitFor([&] { return doc().Slot(SlotId::btn) == Image(4, 4, kCyan); }));
}

// Undoing an Open goes back to the skin before it as a whole: its content, the state it was last
// saved in, the folder followed on disk and the name in the title.
TEST_F(LiveLinkTest, UndoOfOpenAndNewGoesBackToWhereTheSkinCameFrom) {
  const std::string a = SaveSkinFolder("a", 7), b = SaveSkinFolder("b", 8);
  const auto title_names = [&](const std::string& name) {
    return window().windowTitle().endsWith(QString::fromStdString(name) + "[*]");
  };
  Open(a);
  SpinStartButtonX(Qt::Key_Up);
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;
  Open(b);
  Trigger(kMenuUndo);
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 8);
  EXPECT_TRUE(Modified()) << "a's edit is still unsaved";
  EXPECT_EQ(shell_->watched_folder(), a);
  EXPECT_TRUE(title_names(" \u2013 a"));
  Trigger(kMenuUndo);
  EXPECT_FALSE(Modified());

  Trigger(kMenuRedo);
  Trigger(kMenuRedo);
  EXPECT_EQ(shell_->watched_folder(), b);
  EXPECT_FALSE(Modified());
  Trigger(kMenuNewSkin);
  EXPECT_FALSE(Modified()) << "the built-in skin holds no unsaved work";
  EXPECT_TRUE(title_names("v0.100531"));
  EXPECT_EQ(shell_->watched_folder(), "");
  Trigger(kMenuUndo);
  EXPECT_EQ(shell_->watched_folder(), b);
  EXPECT_TRUE(title_names(" \u2013 b"));
}

// The watcher on its own: in-place writes and renames over a file, a file gone, and a Watch of the
// same files again, which keeps what was seen.
TEST(FileWatcher, ReportsEachChangedFileOnceAndKeepsWhatItSawAcrossWatch) {
  testing_support::TempDir dir;
  const std::string a = dir.folder() + "a.png", b = dir.folder() + "b.png";
  const auto write = [](const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  };
  write(a, "1");
  write(b, "1");
  bool ready = false;
  std::vector<std::string> seen;  // "index:gone" of each change, in the order reported
  FileWatcher watcher([&] { return ready; },
                      [&](const std::vector<FileWatcher::Change>& changes) {
                        for (const FileWatcher::Change& c : changes)
                          seen.push_back(std::to_string(c.index) + (c.gone ? ":gone" : ":there"));
                      });
  watcher.Watch({a, b}, {dir.folder()});
  const auto wait_for = [&](std::vector<std::string> expected) {
    const bool done = QTest::qWaitFor([&] { return seen == expected; }, 3000);
    QTest::qWait(kSettleMs);  // and nothing more comes
    EXPECT_TRUE(done && seen == expected) << testing::PrintToString(seen);
    seen.clear();
  };
  write(b, "22");
  QTest::qWait(kSettleMs);
  EXPECT_TRUE(seen.empty()) << "not while the editor is busy";
  ready = true;
  wait_for({"1:there"});
  write(a + ".new", "333");
  fs::rename(a + ".new", a);
  wait_for({"0:there"});
  write(a, "4444");  // the renamed file has a watch of its own
  wait_for({"0:there"});
  fs::remove(b);
  wait_for({"1:gone"});
  write(b, "55555");
  watcher.Watch({b, a}, {dir.folder()});  // b was seen gone: it comes back as a change
  write(a, "666666");
  wait_for({"0:there", "1:there"});
  watcher.Stop();
  write(a, "7");
  wait_for({});
}

}  // namespace
}  // namespace app

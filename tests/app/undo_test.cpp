// Undo and redo in the editor, driven through the real widgets: every kind of step, the modified
// mark, the one question before quitting, and a change of language that keeps the user's work.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "app/fixed_numbers.h"
#include "imaging/png_codec.h"
#include "shell_fixture.h"
#include "skin/settings_reader.h"
#include "skin/skin_saver.h"
#include "zip_writer.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using skin::ColourId;
using skin::FieldId;
using skin::InfoId;
using skin::SlotId;

class UndoTest : public ShellTest {
 protected:
  QString MenuText(int item) { return WithoutMnemonic(window().MenuItem(item)->text()); }
  bool MenuEnabled(int item) { return window().MenuItem(item)->isEnabled(); }
  void ClickGadget(QWidget* gadget) { static_cast<QAbstractButton*>(gadget)->click(); }
  void Type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClicks(field, text);
  }
  void SpinUp(QWidget* spin, int clicks) {
    spin->setFocus();
    for (int i = 0; i < clicks; ++i) QTest::keyClick(spin, Qt::Key_Up);
  }
  // A skin folder with its own values, to open.
  std::string SavedSkin(const std::string& name, int clock_x) {
    skin::SkinDocument other;
    skin::ResetSkinDefaults(other);
    other.Field(FieldId::big_clock_x) = clock_x;
    other.SetSlot(skin::SlotId::btn, imaging::Image(4, 4, imaging::MakeRgb(8, 8, 8)));
    testing_support::RecordingFeedback ignored;
    fs::create_directories(dir_.path() / name);
    skin::SaveSkin(other, (dir_.path() / name).string(), skin::SaveOptions(), ignored);
    return (dir_.path() / name).string() + "/";
  }
};

TEST_F(UndoTest, EveryKindOfStepUndoesBackToTheStartAndRedoesAgain) {
  const skin::SkinDocument start = doc();
  EXPECT_FALSE(MenuEnabled(kMenuUndo));
  EXPECT_EQ(MenuText(kMenuUndo), "Undo");

  SpinUp(Field(FieldId::start_button_x),
         3);  // [start button] x, three arrow presses in a row: one step
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 3);
  EXPECT_EQ(MenuText(kMenuUndo), "Undo Change [start button] x");
  ClickGadget(Field(FieldId::file_type_show));  // [file type] show
  dialogs_.colour_answer = imaging::MakeRgb(8, 16, 24);
  ClickGadget(Colour(ColourId::gameInfoTextColor));  // gameInfoTextColor
  const std::string picture = (dir_.path() / "blue.png").string();
  const std::vector<std::uint8_t> png =
      imaging::EncodePng(imaging::Image(5, 5, imaging::MakeRgb(0, 0, 248)));
  std::ofstream(picture, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  static_cast<QPushButton*>(ScreenButton(3))->click();
  dialogs_.answers.push_back(picture);
  ClickGadget(Slot(SlotId::btn3));  // btn3
  EXPECT_EQ(MenuText(kMenuUndo), "Undo Import btn3");
  Type(Info(InfoId::Title), "Blue");  // four keys: one step
  EXPECT_EQ(doc().info.Title, "Blue");
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;  // the skin is replaced unsaved
  dialogs_.answers.push_back(SavedSkin("folder", 77));
  Trigger(kMenuOpenFolder);
  EXPECT_EQ(doc().Field(FieldId::big_clock_x), 77);
  EXPECT_EQ(MenuText(kMenuUndo), "Undo Open folder");
  const std::string zip = (dir_.path() / "packed.zip").string();
  std::vector<testing_support::ZipEntry> entries;
  const std::string other = SavedSkin("zipped", 99);
  for (const auto& entry : fs::recursive_directory_iterator(other)) {
    if (entry.is_regular_file()) {
      entries.push_back({"s/" + fs::relative(entry.path(), other).string(),
                         testing_support::ReadFileText(entry.path())});
    }
  }
  ASSERT_TRUE(testing_support::WriteZip(zip, entries));
  dialogs_.answers.push_back(zip);
  Trigger(kMenuOpenZip);
  EXPECT_EQ(doc().Field(FieldId::big_clock_x), 99);
  Trigger(kMenuNewSkin);
  EXPECT_EQ(MenuText(kMenuUndo), "Undo New skin");
  const skin::SkinDocument end = doc();
  ASSERT_EQ(shell_->session().history().UndoCount(), 8u);

  const std::vector<std::string> expected{"New skin",
                                          "Open packed.zip",
                                          "Open folder",
                                          "Change Title",
                                          "Import btn3",
                                          "Change gameInfoTextColor",
                                          "Change [file type] show",
                                          "Change [start button] x"};
  for (const std::string& label : expected) {
    EXPECT_EQ(MenuText(kMenuUndo).toStdString(), "Undo " + label);
    Trigger(kMenuUndo);
  }
  EXPECT_EQ(doc(), start);
  EXPECT_FALSE(MenuEnabled(kMenuUndo));
  EXPECT_EQ(static_cast<QSpinBox*>(Field(FieldId::start_button_x))->value(), 0)
      << "the panel follows";
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::Title))->text(), "");
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(&window(), Qt::Key_Y, Qt::ControlModifier);
  }
  EXPECT_EQ(doc(), end);
  EXPECT_FALSE(MenuEnabled(kMenuRedo));
}

TEST_F(UndoTest, QuittingAsksOnceOnlyWithUnsavedChanges) {
  Trigger(kMenuQuit);
  EXPECT_EQ(dialogs_.quit_questions, 0);
  EXPECT_TRUE(shell_->state().quit_requested);
  shell_->state().quit_requested = false;

  ClickGadget(Field(FieldId::file_type_show));
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kCancel;
  window().close();  // the close box: a real close event
  EXPECT_EQ(dialogs_.quit_questions, 1);
  EXPECT_FALSE(shell_->state().quit_requested);
  EXPECT_TRUE(window().isVisible());

  dialogs_.quit_answer = UserDialogs::SaveAnswer::kSave;  // and then cancel the folder chooser
  QTest::keyClick(&window(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(shell_->state().quit_requested);

  dialogs_.answers.push_back(dir_.folder() + "kept/");
  fs::create_directories(dir_.path() / "kept");
  Trigger(kMenuQuit);
  EXPECT_TRUE(shell_->state().quit_requested);
  EXPECT_TRUE(fs::exists(dir_.path() / "kept" / "uisettings.ini")) << "saved before quitting";
  shell_->state().quit_requested = false;

  ClickGadget(Field(FieldId::file_type_show));
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;
  Trigger(kMenuQuit);
  EXPECT_TRUE(shell_->state().quit_requested);
  EXPECT_EQ(dialogs_.quit_questions, 4);
}

// New skin, Open and a dropped skin ask before unsaved work goes: Cancel keeps it (no chooser
// opens), Save writes it first, Discard lets it go; a skin without changes is left unasked.
TEST_F(UndoTest, UnsavedWorkIsReplacedOnlyAfterTheQuestion) {
  using Answer = UserDialogs::SaveAnswer;
  const std::string other = SavedSkin("other", 77);
  ClickGadget(Field(FieldId::file_type_show));
  const skin::SkinDocument edited = doc();
  dialogs_.quit_answer = Answer::kCancel;
  Trigger(kMenuNewSkin);
  Trigger(kMenuOpenFolder);
  EXPECT_FALSE(shell_->OnSkinDrop(other));
  EXPECT_EQ(doc(), edited);
  EXPECT_TRUE(dialogs_.titles.empty()) << "no chooser after Cancel";
  EXPECT_EQ(dialogs_.questions, std::vector<std::string>(3, "LANG_REPLACE_QUESTION$"));

  dialogs_.quit_answer = Answer::kSave;
  dialogs_.answers = {dir_.folder() + "kept/"};
  fs::create_directories(dir_.path() / "kept");
  Trigger(kMenuNewSkin);
  const std::string kept = testing_support::ReadFileText(dir_.path() / "kept" / "uisettings.ini");
  skin::SkinDocument saved;
  skin::ReadSkinSettings(std::span(reinterpret_cast<const std::uint8_t*>(kept.data()), kept.size()),
                         saved, base::kDefaultCodePage);
  EXPECT_EQ(saved.Field(FieldId::file_type_show), 0) << "saved before the new skin came";
  EXPECT_EQ(doc(), session::SkinSession().document());

  ClickGadget(Field(FieldId::file_type_show));
  dialogs_.quit_answer = Answer::kDiscard;
  EXPECT_TRUE(shell_->OnSkinDrop(other));
  EXPECT_EQ(doc().Field(FieldId::big_clock_x), 77);
  EXPECT_EQ(dialogs_.quit_questions, 5);
  Trigger(kMenuNewSkin);
  EXPECT_EQ(dialogs_.quit_questions, 5) << "nothing unsaved, nothing asked";
}

// Ctrl+Z and Ctrl+Y inside an information field act on the skin, not on the field's own text.
TEST_F(UndoTest, UndoKeysActOnTheSkinAlsoInsideATextField) {
  auto* title = static_cast<QLineEdit*>(Info(InfoId::Title));
  Type(title, "Blue");
  QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(doc().info.Title, "");
  EXPECT_EQ(title->text(), "");
  EXPECT_FALSE(MenuEnabled(kMenuUndo));
  QTest::keyClick(title, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(doc().info.Title, "Blue");
  EXPECT_EQ(title->text(), "Blue");
  EXPECT_EQ(QApplication::focusWidget(), title);
}

TEST_F(UndoTest, ALanguageChangeKeepsTypedTextsGeometryScreenAndTab) {
  Type(Info(InfoId::Author), "Ann");
  static_cast<QPushButton*>(ScreenButton(5))->click();
  static_cast<QTabWidget*>(gadget(kGadgetSidePanel))->setCurrentIndex(2);
  window().resize(1000, 800);
  QCoreApplication::processEvents();
  const QRect geometry = window().geometry();
  Trigger(25);  // German
  QCoreApplication::processEvents();
  EXPECT_EQ(static_cast<QLineEdit*>(Info(InfoId::Author))->text(), "Ann");
  EXPECT_EQ(window().geometry().size(), geometry.size());
  EXPECT_EQ(shell_->state().selected_screen, 5);
  EXPECT_TRUE(window().IsChecked(kMenuFirstScreen + 5));
  EXPECT_EQ(window().preview()->zoom(), shell_->state().preview_zoom) << "the new view follows Fit";
  EXPECT_EQ(static_cast<QTabWidget*>(gadget(kGadgetSidePanel))->currentIndex(), 2);
  EXPECT_EQ(MenuText(kMenuUndo), "Autor ändern rückgängig machen");
  EXPECT_EQ(gadget(kGadgetSidePanel)->height() + window().statusBar()->height() +
                window().menuBar()->height(),
            window().height())
      << "the panels are laid out for the kept size";
}

}  // namespace
}  // namespace app

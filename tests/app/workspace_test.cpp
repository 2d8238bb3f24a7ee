// The everyday loop of the editor: saving in place, the archive's proposed name, screenshots of the
// screen shown, the colour editor's typed codes and live preview, and the window's place kept
// between runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <fstream>

#include "app/colour_editor.h"
#include "app/fixed_numbers.h"
#include "preview/preview.h"
#include "shell_fixture.h"
#include "skin/skin_colour.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using imaging::MakeRgb;
using imaging::Rgb;
using skin::ColourId;
using skin::FieldId;

class WorkspaceTest : public ShellTest {
 protected:
  void Trigger(int item) { window().MenuItem(item)->trigger(); }
  std::string Settings(const fs::path& folder) {
    return testing_support::ReadFileText(folder / "uisettings.ini");
  }
};

TEST_F(WorkspaceTest, SaveWritesBackWithoutAChooserAndAsksOnlyWithoutAFolder) {
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

TEST_F(WorkspaceTest, ScreenshotsOfScreenOneOrOfTheScreenShownSayWhichScreen) {
  testing_support::TempDir out;
  window().MenuItem(kMenuFirstScreen + 3)->trigger();
  Trigger(kMenuScreenshotCurrentClipboard);
  EXPECT_EQ(dialogs_.clipboard, preview::RenderScreenshot(doc(), 3));
  EXPECT_NE(dialogs_.clipboard, preview::RenderScreenshot(doc(), 0));
  EXPECT_EQ(window().StatusText(), "Screen 4 (Delete confirmation) copied to the clipboard");
  Trigger(kMenuScreenshotClipboard);
  EXPECT_EQ(dialogs_.clipboard, preview::RenderScreenshot(doc(), 0));
  EXPECT_EQ(window().StatusText(), "Screen 1 (Game list) copied to the clipboard");
  dialogs_.answers = {(out.path() / "shot").string()};
  Trigger(kMenuScreenshotCurrentFile);
  EXPECT_TRUE(fs::is_regular_file(out.path() / "shot.png"));
  EXPECT_EQ(window().StatusText().toStdString(),
            "Screen 4 (Delete confirmation) saved to " + (out.path() / "shot.png").string());
  EXPECT_EQ(shell_->state().selected_screen, 3) << "the preview stays on its screen";
}

TEST_F(WorkspaceTest, ThePreviewShowsTheEditorsColourWhileItIsOpenAndCancelTakesItBack) {
  // A pixel of the game list drawn in gameInfoTextColor.
  preview::ScreenSources sources;
  preview::DrawScreens(doc(), 0, &sources);
  QPoint text(-1, -1);
  for (int y = 0; y < preview::kCanvasHeight && text.x() < 0; ++y) {
    for (int x = 0; x < preview::kCanvasWidth && text.x() < 0; ++x) {
      if (preview::CanvasSourceAt(sources, x, y).colour() == ColourId::gameInfoTextColor)
        text = {x, y};
    }
  }
  ASSERT_GE(text.x(), 0);
  const Rgb given = doc().Colour(ColourId::gameInfoTextColor);
  const auto shown = [&](QPoint at) { return window().preview()->CanvasPixel(at); };
  ASSERT_EQ(shown(text), given);
  std::vector<Rgb> seen;
  dialogs_.inside_colour_editor = [&] {
    dialogs_.show_live(MakeRgb(248, 0, 128));
    seen.push_back(shown(text));
  };
  for (const Rgb answer : {given, MakeRgb(248, 0, 128)}) {  // Cancel, then OK
    dialogs_.colour_answer = answer;
    QTest::mouseClick(Colour(ColourId::gameInfoTextColor), Qt::LeftButton);
    EXPECT_EQ(shown(text), answer);
    EXPECT_EQ(doc().Colour(ColourId::gameInfoTextColor), answer);
  }
  EXPECT_EQ(seen, (std::vector<Rgb>{MakeRgb(248, 0, 128), MakeRgb(248, 0, 128)}));
  EXPECT_EQ(shell_->session().history().UndoCount(), 1u) << "only OK makes a step";
  EXPECT_EQ(dialogs_.colour_names.front(), "gameInfoTextColor");

  // The background the same way.
  const Rgb background = shell_->state().bg_color;
  dialogs_.inside_colour_editor = [&] {
    dialogs_.show_live(MakeRgb(0, 200, 0));
    seen.push_back(shown({0, 0}));
  };
  dialogs_.colour_answer = background;
  Trigger(kMenuBackgroundColour);
  EXPECT_EQ(seen.back(), MakeRgb(0, 200, 0));
  EXPECT_EQ(shown({0, 0}), background);
  EXPECT_EQ(dialogs_.colour_names.back(), "Preview background");
}

TEST(ColourEditorCode, TakesBothNotationsShowsTheFilesAndMarksAnythingElse) {
  std::vector<Rgb> live;
  ColourEditor editor(BuiltInTexts(), MakeRgb(0, 0, 0), nullptr, "formFrameColor",
                      [&](Rgb colour) { live.push_back(colour); });
  EXPECT_EQ(editor.windowTitle(), "Edit colour: formFrameColor");
  EXPECT_EQ(editor.name_label()->text(), "Colour: formFrameColor");
  QLineEdit* code = editor.typed_code();
  EXPECT_EQ(code->text(), "0x0000");
  const auto type = [&](const QString& text) {
    code->selectAll();
    QTest::keyClicks(code, text);
  };
  const auto paste = [&](const QString& text) {
    code->selectAll();
    code->insert(text);
  };
  type("0x329e");
  EXPECT_EQ(editor.current(), skin::ParseSkinColour("0x329e"));
  EXPECT_EQ(editor.new_code()->text(), ColourCode(editor.current())) << "red in the high bits";
  EXPECT_EQ(editor.channel(0)->value(), 0x1e);
  EXPECT_EQ(live.back(), editor.current());
  type("#FF0080");
  EXPECT_EQ(editor.current(), MakeRgb(248, 0, 128));
  EXPECT_EQ(code->text(), "#FF0080") << "left as typed while the user types";
  code->editingFinished();  // as leaving the field does
  EXPECT_EQ(code->text(), "0x401f");
  for (const QString& bad : QStringList{"0x12345", "red", "#FF00", "0x1 2", "0xZZZ", "#12345",
                                        "0x8000", QString(200, 'f')}) {
    paste(bad);
    code->textEdited(code->text());  // as typing reports it
    EXPECT_EQ(editor.current(), MakeRgb(248, 0, 128)) << bad.toStdString();
    EXPECT_TRUE(editor.code_invalid()) << bad.toStdString();
    EXPECT_FALSE(editor.ok_button()->isEnabled()) << "OK would take another colour than it says";
  }
  EXPECT_LE(code->text().size(), 32);
  code->editingFinished();  // as leaving the field does
  EXPECT_EQ(code->text(), QString(32, 'f')) << "a mistake stays in view, marked";
  EXPECT_EQ(code->toolTip().left(19), "Not a colour code. ");
  type("#FFF");
  EXPECT_FALSE(editor.code_invalid());
  EXPECT_EQ(editor.current(), MakeRgb(248, 248, 248));
  paste("nonsense");
  code->textEdited(code->text());
  editor.channel(1)->setValue(0);
  EXPECT_EQ(code->text(), "0x7c1f") << "the channels' colour in the file's notation";
  EXPECT_FALSE(editor.code_invalid()) << "a colour chosen otherwise replaces the mistake";
  EXPECT_TRUE(editor.ok_button()->isEnabled());
  editor.reject();
  EXPECT_EQ(editor.Result(), MakeRgb(0, 0, 0));
}

TEST_F(WorkspaceTest, TheWindowsPlaceAndPanelWidthAreRestoredAndHostileValuesAreNot) {
  const QRect room = window().screen()->availableGeometry();
  const QSize size(std::min(760, room.width()), std::min(590, room.height()));
  window().resize(size);
  window().SetPanelWidth(440);
  QCoreApplication::processEvents();
  EXPECT_EQ(window().panel()->width(), 440);
  shell_->Finish();
  const fs::path editor_ini = dir_.path() / "settings" / "editor.ini";
  const i18n::DataFolders folders{(dir_.path() / "language").string(),
                                  (dir_.path() / "settings" / "settings.ini").string(), ""};
  {
    EditorUnderTest next(dialogs_, folders);
    next.shell.Start();
    next.shell.window()->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(next.shell.window()->size(), size);
    EXPECT_EQ(next.shell.window()->user_panel_width(), 440);
    EXPECT_EQ(next.shell.window()->panel()->width(), 440);
  }
  for (const char* hostile :
       {"X=-99999\nY=99999\nWidth=20000\nHeight=20000\nMaximised=1\nPanelWidth=20000\n",
        "X=0\nY=0\nWidth=1\nHeight=1\n", "X=0\nY=0\nWidth=99999999999\nHeight=abc\n"}) {
    std::ofstream(editor_ini, std::ios::binary) << "[window]\n" << hostile;
    EditorUnderTest next(dialogs_, folders);
    next.shell.Start();
    next.shell.window()->show();
    QCoreApplication::processEvents();
    const QRect frame = next.shell.window()->normalGeometry();
    EXPECT_LE(frame.width(), std::max(room.width(), next.shell.window()->minimumWidth()));
    EXPECT_GE(frame.width(), next.shell.window()->minimumWidth());
    EXPECT_TRUE(room.intersects(frame)) << hostile;
    EXPECT_LE(next.shell.window()->panel()->width(),
              next.shell.window()->ClientSize().width() - preview::kCanvasWidth)
        << hostile;
  }
}

// The window built anew in another language keeps the handle where the user put it and shows the
// preview centred, at the zoom chosen or fitted.
TEST_F(WorkspaceTest, ALanguageChangeKeepsThePanelsWidthAndCentresThePreview) {
  for (const bool fit : {false, true}) {
    window().resize(1200, 700);
    window().SetPanelWidth(470);
    if (fit) {
      Trigger(kMenuFitPreview);
    } else {
      Trigger(kMenuZoomIn);  // zoom 2: wider than the canvas, not as tall
    }
    ASSERT_EQ(shell_->state().fit_preview, fit);
    Trigger(fit ? 20 : 25);  // German, then back to the built-in texts
    QCoreApplication::processEvents();
    EXPECT_EQ(window().user_panel_width(), 470);
    EXPECT_EQ(window().panel()->width(), 470);
    const PreviewView* view = window().preview();
    EXPECT_EQ(view->zoom(), shell_->state().preview_zoom);
    const int free_width = view->viewport()->width() - view->ShownSize().width;
    ASSERT_GT(free_width, 2);
    EXPECT_NEAR(view->CanvasOrigin().x(), free_width / 2, 1) << "fit " << fit;
  }
}

TEST_F(WorkspaceTest, LastUpdateReadsAsSetBySavingAndHelpOpensTheGuide) {
  auto* last_update = static_cast<QLineEdit*>(Info(skin::InfoId::LastUpdate));
  EXPECT_TRUE(last_update->isReadOnly());
  EXPECT_EQ(last_update->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(last_update->toolTip(), "Saving the skin sets this date.");
  EXPECT_FALSE(window().MenuItem(kMenuUserGuide)->isEnabled()) << "no guide installed";
  EditorUnderTest with_guide(dialogs_, {(dir_.path() / "language").string(),
                                        (dir_.path() / "settings" / "settings.ini").string(),
                                        "/usr/share/doc/skinsmith/user-guide.html"});
  with_guide.shell.Start();
  with_guide.shell.window()->MenuItem(kMenuUserGuide)->trigger();
  EXPECT_EQ(dialogs_.guides, std::vector<std::string>{"/usr/share/doc/skinsmith/user-guide.html"});
}

}  // namespace
}  // namespace app

// The colour editor's typed codes and live preview, and the workspace: the window's place kept
// between runs, the zoom by wheel, keys and Fit, and the recent skins.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
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

class WorkspaceTest : public ShellTest {};

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

TEST_F(WorkspaceTest, WheelZoomBounds) {
  Wheel(240);
  Wheel(-240);
  EXPECT_EQ(shell_->state().preview_zoom, 1.0f) << "two notches folded into one do nothing";
  Wheel(-120);
  EXPECT_EQ(shell_->state().preview_zoom, 1.0f);
  Wheel(120);
  EXPECT_EQ(window().preview()->ShownSize(), (preview::CanvasSize{306, 563}));
  for (int i = 0; i < 40; ++i) Wheel(120);
  EXPECT_GT(shell_->state().preview_zoom, 5.0f);
  EXPECT_LT(shell_->state().preview_zoom, 5.06f);
  EXPECT_EQ(window().preview()->ShownSize(), (preview::CanvasSize{1343, 2475}));
  for (int i = 0; i < 40; ++i) Wheel(-120);
  EXPECT_LE(shell_->state().preview_zoom, 1.0f);
  EXPECT_GT(shell_->state().preview_zoom, 0.99f);
}

TEST_F(WorkspaceTest, ZoomKeysStepThroughWholeZoomsAndFitFollowsTheWindow) {
  const int redraws = shell_->redraw_count();
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  const auto zoom = [&] { return shell_->state().preview_zoom; };
  QTest::keyClick(&window(), Qt::Key_Equal, Qt::ControlModifier);
  QTest::keyClick(&window(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(zoom(), 3.0f);
  EXPECT_EQ(window().preview()->ShownSize(), (preview::CanvasSize{798, 1470}));
  QTest::keyClick(&window(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(zoom(), 2.0f);
  for (int i = 0; i < 3; ++i) Wheel(120);  // 2.45: the keys go on from the whole numbers near it
  window().MenuItem(kMenuZoomIn)->trigger();
  EXPECT_EQ(zoom(), 3.0f);
  for (int i = 0; i < 9; ++i) window().MenuItem(kMenuZoomIn)->trigger();
  EXPECT_EQ(zoom(), 8.0f);
  EXPECT_FALSE(window().MenuItem(kMenuZoomIn)->isEnabled());
  QTest::keyClick(&window(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(zoom(), 1.0f);
  EXPECT_FALSE(window().MenuItem(kMenuZoomOut)->isEnabled());
  EXPECT_EQ(window().preview()->ShownSize(), (preview::CanvasSize{266, 490}));

  // Fit stays on while the window changes size, until the user picks a zoom.
  window().MenuItem(kMenuFitPreview)->trigger();
  EXPECT_TRUE(window().IsChecked(kMenuFitPreview));
  std::vector<float> fitted;
  for (const QSize size : {QSize(1600, 1130), QSize(1000, 700), QSize(1600, 1130)}) {
    window().resize(size);
    QCoreApplication::processEvents();
    EXPECT_EQ(zoom(), FitZoom(window().preview()->maximumViewportSize())) << size.width();
    EXPECT_FALSE(window().preview()->verticalScrollBar()->isVisible());
    fitted.push_back(zoom());
  }
  EXPECT_EQ(fitted, (std::vector<float>{2, 1, 2}));
  Wheel(-120);
  EXPECT_FALSE(window().IsChecked(kMenuFitPreview));
  const float wheeled = zoom();
  window().resize(800, 700);
  QCoreApplication::processEvents();
  EXPECT_EQ(zoom(), wheeled) << "no longer fitted";
  window().MenuItem(kMenuSwapView)->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(shell_->redraw_count(), redraws) << "zoom, resize and swap show the canvas drawn";

  // The grid, switched on at any zoom, shows from 4x.
  window().MenuItem(kMenuPixelGrid)->trigger();
  EXPECT_TRUE(window().IsChecked(kMenuPixelGrid));
  window().MenuItem(kMenuZoomOne)->trigger();
  EXPECT_FALSE(window().preview()->GridShown());
  for (int i = 0; i < 3; ++i) window().MenuItem(kMenuZoomIn)->trigger();
  EXPECT_TRUE(window().preview()->GridShown());
  window().MenuItem(kMenuPixelGrid)->trigger();
  EXPECT_FALSE(window().preview()->GridShown());
}

TEST_F(WorkspaceTest, TheConsoleViewsRedrawThePreviewAndAreKeptBetweenRuns) {
  const QPoint on_screen(preview::kTopScreenAt.x + 100, preview::kTopScreenAt.y + 100);
  const Rgb stored = window().preview()->CanvasPixel(on_screen);
  ASSERT_NE(preview::ShownColour(stored, preview::ScreenColours::kConsole), stored);
  EXPECT_FALSE(window().IsChecked(kMenuConsoleColours)) << "the stored colours at first";
  window().MenuItem(kMenuOriginalColours)->trigger();
  window().MenuItem(kMenuConsoleColours)->trigger();
  EXPECT_TRUE(window().IsChecked(kMenuConsoleColours));
  EXPECT_FALSE(window().IsChecked(kMenuOriginalColours)) << "one view at a time";
  EXPECT_EQ(window().preview()->CanvasPixel(on_screen),
            preview::ShownColour(stored, preview::ScreenColours::kConsole));
  Restart();
  EXPECT_TRUE(window().IsChecked(kMenuConsoleColours));
  EXPECT_EQ(window().preview()->CanvasPixel(on_screen),
            preview::ShownColour(stored, preview::ScreenColours::kConsole));
  window().MenuItem(kMenuConsoleColours)->trigger();
  EXPECT_EQ(window().preview()->CanvasPixel(on_screen), stored) << "chosen again: switched off";
  EXPECT_EQ(i18n::LoadEditorPreferences(EditorFile()).preview_colours,
            i18n::PreviewColours::kStored);
}

TEST_F(WorkspaceTest, RecentSkinsAreListedMostRecentFirstAndKept) {
  EXPECT_FALSE(window().MenuItem(kMenuFirstRecent)->isVisible());
  EXPECT_FALSE(window().MenuItem(kMenuClearRecent)->isEnabled());
  const std::string a = SaveSkinFolder("a"), b = SaveSkinFolder("b&c");
  const std::string zip = Zip(a, "a.zip");
  const std::string saved = base::FolderWithSeparator(dir_.folder() + "saved");
  fs::create_directory(saved);
  Open(a);
  Open(b);
  dialogs_.answers.push_back(zip);
  Trigger(kMenuOpenZip);
  dialogs_.answers.push_back(saved);
  Trigger(kMenuSaveFolder);
  Open(a);
  const std::vector<std::string> expected{a, saved, zip, b};
  EXPECT_EQ(shell_->preferences().recent, expected);
  auto entries = [&] {
    std::vector<std::string> shown;
    for (int item = kMenuFirstRecent; item <= kMenuLastRecent; ++item) {
      if (window().MenuItem(item)->isVisible()) {
        shown.push_back(window().MenuItem(item)->text().toStdString());
      }
    }
    return shown;
  };
  const std::vector<std::string> texts{"&1 " + a, "&2 " + saved, "&3 " + zip,
                                       "&4 " + base::FolderWithSeparator(dir_.folder() + "b&&c")};
  EXPECT_EQ(entries(), texts);
  EXPECT_TRUE(window().MenuItem(kMenuClearRecent)->isEnabled());
  Trigger(24);  // French: the window is built anew
  EXPECT_EQ(entries(), texts);
  EXPECT_EQ(WithoutMnemonic(window().MenuItem(kMenuClearRecent)->text()), "Effacer la liste");
  Restart();
  EXPECT_EQ(shell_->preferences().recent, expected);
  EXPECT_EQ(entries(), texts);
}

TEST_F(WorkspaceTest, ARecentEntryOpensAsOpenDoesAndAMissingOneIsReportedAndRemoved) {
  const std::string a = SaveSkinFolder("a", 7), b = SaveSkinFolder("b", 8);
  const std::string zip = Zip(SaveSkinFolder("z", 9), "z.zip");
  Open(a);
  dialogs_.answers.push_back(zip);
  Trigger(kMenuOpenZip);
  Open(b);
  Trigger(kMenuNewSkin);
  EXPECT_EQ(shell_->watched_folder(), "") << "the default skin is not followed";
  Trigger(kMenuFirstRecent + 2);
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 7);
  EXPECT_EQ(UndoText(), "Undo Open a");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(shell_->state().last_path, a);
  EXPECT_EQ(shell_->watched_folder(), a);
  EXPECT_EQ(shell_->preferences().recent, (std::vector<std::string>{a, b, zip}));
  Trigger(kMenuFirstRecent + 2);
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 9);
  EXPECT_EQ(shell_->state().last_path, dir_.folder());
  EXPECT_EQ(shell_->watched_folder(), "") << "nor is an archive";
  EXPECT_TRUE(dialogs_.errors.empty());

  fs::remove_all(b);
  const skin::SkinDocument before = doc();
  Trigger(kMenuFirstRecent + 2);
  EXPECT_EQ(dialogs_.errors, std::vector<std::string>{"Error|" + b + " : File not found."});
  EXPECT_EQ(doc(), before);
  EXPECT_EQ(shell_->preferences().recent, (std::vector<std::string>{zip, a}));
  EXPECT_EQ(i18n::LoadEditorPreferences(EditorFile()).recent, shell_->preferences().recent);
  EXPECT_FALSE(window().MenuItem(kMenuFirstRecent + 2)->isVisible());
}

TEST_F(WorkspaceTest, TheRecentListHoldsEightAndClearEmptiesIt) {
  i18n::EditorPreferences seeded;
  for (int n = 1; n <= 8; ++n) seeded.recent.push_back("/gone/" + std::to_string(n) + "/");
  ASSERT_TRUE(i18n::SaveEditorPreferences(EditorFile(), seeded));
  Restart();
  const std::string a = SaveSkinFolder("a");
  Open(a);
  ASSERT_EQ(shell_->preferences().recent.size(), 8u);
  EXPECT_EQ(shell_->preferences().recent.front(), a);
  EXPECT_EQ(shell_->preferences().recent.back(), "/gone/7/");
  EXPECT_TRUE(window().MenuItem(kMenuLastRecent)->isVisible());
  Trigger(kMenuClearRecent);
  EXPECT_TRUE(shell_->preferences().recent.empty());
  EXPECT_FALSE(window().MenuItem(kMenuFirstRecent)->isVisible());
  EXPECT_FALSE(window().MenuItem(kMenuClearRecent)->isEnabled());
  EXPECT_TRUE(i18n::LoadEditorPreferences(EditorFile()).recent.empty());
}

}  // namespace
}  // namespace app

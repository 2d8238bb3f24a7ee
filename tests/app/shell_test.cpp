// The editor driven through its dispatch and its real widgets, with scripted dialogs.
#include "app/shell.h"

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
#include "app/side_panel.h"
#include "imaging/screenshot_writer.h"
#include "shell_fixture.h"
#include "skin/skin_colour.h"
#include "skin/skin_export.h"
#include "skin/skin_saver.h"
#include "test_support.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using imaging::MakeRgb;
using skin::ColourId;
using skin::FieldId;
using skin::InfoId;
using skin::SlotId;

TEST_F(ShellTest, StartUpState) {
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531[*]");
  EXPECT_FALSE(window().isWindowModified());
  EXPECT_TRUE(window().IsChecked(kMenuFirstScreen));
  EXPECT_TRUE(window().IsChecked(20)) << "language 0";
  EXPECT_FALSE(window().IsChecked(kMenuSwapView));
  for (const ColourButton& b : ColourButtons())
    EXPECT_EQ(Enabled(b.gadget), b.screen == 0) << b.gadget;
  for (const ImageButton& b : ImageButtons())
    EXPECT_EQ(Enabled(b.gadget), b.screen == 0) << b.gadget;
  for (const ElementRow& row : ElementRows()) EXPECT_EQ(Enabled(row.label_gadget), row.screen == 0);
  for (int g = kGadgetFirstScreenButton; g <= kGadgetLastScreenButton; ++g) EXPECT_TRUE(Enabled(g));
  EXPECT_TRUE(Enabled(Info(InfoId::Title)));
  EXPECT_EQ(static_cast<QSpinBox*>(Field(FieldId::file_name_x))->value(), 127) << "file name x";
  EXPECT_EQ(window().menuBar()->actions().size(), 7);
  EXPECT_EQ(window().preview()->ShownSize(), (preview::CanvasSize{266, 490}));
}

TEST_F(ShellTest, ScreensMoveTheEnabledGroupsAndKeepMenuAndButtonsInStep) {
  static_cast<QPushButton*>(ScreenButton(13))->click();  // "14"
  EXPECT_EQ(shell_->state().selected_screen, 13);
  EXPECT_TRUE(window().IsChecked(45));
  EXPECT_FALSE(window().IsChecked(32));
  EXPECT_TRUE(Enabled(Colour(ColourId::cheatListTextColor)));
  EXPECT_FALSE(Enabled(Colour(ColourId::gameInfoTextColor)));
  EXPECT_TRUE(Enabled(Field(FieldId::cheat_title_x)));
  for (int screen : {5, 7, 11}) {
    window().MenuItem(kMenuFirstScreen + screen)->trigger();
    for (const ColourButton& b : ColourButtons()) EXPECT_FALSE(Enabled(b.gadget));
    for (const ImageButton& b : ImageButtons()) EXPECT_FALSE(Enabled(b.gadget));
    for (const ElementRow& row : ElementRows()) EXPECT_FALSE(Enabled(row.label_gadget));
    int checked = 0;
    for (int item = 32; item <= 45; ++item) checked += window().IsChecked(item);
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(window().IsChecked(kMenuFirstScreen + screen));
  }
  window().MenuItem(33)->trigger();
  window().MenuItem(33)->trigger();
  EXPECT_TRUE(window().IsChecked(33)) << "selecting the selected screen changes nothing";
  EXPECT_TRUE(Enabled(Colour(ColourId::listTextColor)));
}

TEST_F(ShellTest, ElementEditIsStoredAndRedrawn) {
  const int redraws = shell_->redraw_count();
  static_cast<QSpinBox*>(Field(FieldId::big_clock_x))->setValue(40);  // big clock x
  EXPECT_EQ(shell_->document().Field(skin::FieldId::big_clock_x), 40);
  EXPECT_EQ(shell_->redraw_count(), redraws + 1);
  static_cast<QCheckBox*>(Field(FieldId::big_clock_show))->setChecked(false);
  EXPECT_EQ(shell_->document().Field(skin::FieldId::big_clock_show), 0);

  // Showing a value outside a spin's range never writes it back.
  shell_->Apply(session_.SetField(FieldId::file_name_x, -5));
  EXPECT_EQ(shell_->document().Field(skin::FieldId::file_name_x), -5);
}

TEST_F(ShellTest, TheWheelOverASpinFieldScrollsThePanelUntilTheFieldHasTheFocus) {
  window().resize(window().width(), window().minimumHeight());
  auto* tabs = static_cast<QTabWidget*>(gadget(kGadgetSidePanel));
  tabs->setCurrentIndex(2);
  tabs->resize(tabs->width(), 300);  // the Elements page now scrolls
  QCoreApplication::processEvents();
  auto* field = static_cast<QSpinBox*>(Field(FieldId::big_clock_y));  // big clock y
  QScrollArea* page = nullptr;
  for (QWidget* w = field; w != nullptr && page == nullptr; w = w->parentWidget())
    page = qobject_cast<QScrollArea*>(w);
  ASSERT_NE(page, nullptr);
  ASSERT_GT(page->verticalScrollBar()->maximum(), 0);
  const int before = field->value();
  const int redraws = shell_->redraw_count();

  SendWheel(field, QPoint(0, -120), QPointF(10, 10));
  EXPECT_EQ(field->value(), before);
  EXPECT_EQ(shell_->document().Field(skin::FieldId::big_clock_y), before);
  EXPECT_EQ(shell_->redraw_count(), redraws);
  EXPECT_GT(page->verticalScrollBar()->value(), 0) << "the wheel scrolled the page instead";
  EXPECT_FALSE(field->hasFocus());

  QApplication::setActiveWindow(&window());
  field->setFocus();
  ASSERT_TRUE(field->hasFocus());
  SendWheel(field, QPoint(0, 120), QPointF(10, 10));
  EXPECT_EQ(field->value(), before + 1) << "a field with the focus takes the wheel";
  EXPECT_EQ(shell_->document().Field(skin::FieldId::big_clock_y), before + 1);
}

TEST(Mnemonics, OneFreeLetterPerTextPreferringWordStartsOrTheEnglishLetterInBrackets) {
  QSet<QChar> used;
  EXPECT_EQ(WithMnemonic("File", "File", used), "&File");
  EXPECT_EQ(WithMnemonic("Fit", "Fit", used), "F&it") << "f is taken";
  EXPECT_EQ(WithMnemonic("Save & quit", "", used), "&Save && quit") << "a literal & stays one";
  EXPECT_EQ(WithMnemonic("Sub & Quick", "", used), "Sub && &Quick") << "s is taken";
  EXPECT_EQ(WithMnemonic("*.zip", "", used), "*.&zip");
  EXPECT_EQ(WithMnemonic("ファイル", "File", used), "ファイル(&L)") << "f and i are taken";
  EXPECT_EQ(WithMnemonic("保存...", "Open", used), "保存(&O)...");
  EXPECT_EQ(WithMnemonic("日本語", "", used), "日本語") << "nothing to take it from";
  EXPECT_EQ(used, (QSet<QChar>{'f', 'i', 's', 'q', 'z', 'l', 'o'}));
}

// The mnemonic letters of a menu's items, in order; ' ' for an item without one.
std::string MnemonicLetters(const QMenu& menu) {
  std::string letters;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator() || !action->isVisible()) continue;
    const QString text = QString(action->text()).replace("&&", "");
    const qsizetype at = text.indexOf('&');
    letters += at >= 0 && at + 1 < text.size() ? text[at + 1].toLower().toLatin1() : ' ';
  }
  return letters;
}

TEST_F(ShellTest, MenusHaveMnemonicsInEveryLanguageAndCommandsHaveShortcuts) {
  for (const i18n::Language& language : i18n::kLanguages) {
    window().MenuItem(language.menu_item)->trigger();
    std::vector<const QMenu*> menus;
    std::string titles;
    for (const QAction* title : window().menuBar()->actions()) {
      menus.push_back(title->menu());
      titles += title->text()[title->text().indexOf('&') + 1].toLower().toLatin1();
    }
    EXPECT_EQ(std::set<char>(titles.begin(), titles.end()).size(), titles.size())
        << language.file << ": " << titles;
    for (std::size_t m = 0; m < menus.size(); ++m) {
      for (const QAction* item : menus[m]->actions()) {
        if (item->menu() != nullptr) menus.push_back(item->menu());
      }
      std::string letters = MnemonicLetters(*menus[m]);
      if (menus[m] == window().MenuItem(20)->parent()) {
        // The names of Chinese and Japanese, in their own scripts, have no letter to take.
        std::erase(letters, ' ');
        EXPECT_EQ(letters.size(), 7u) << language.file;
      }
      EXPECT_EQ(letters.find(' '), std::string::npos)
          << language.file << ": " << menus[m]->title().toStdString() << ": " << letters;
      EXPECT_EQ(std::set<char>(letters.begin(), letters.end()).size(), letters.size())
          << language.file << ": " << letters;
    }
  }
  window().MenuItem(28)->trigger();  // Japanese: the English letter in brackets
  EXPECT_EQ(window().menuBar()->actions()[0]->text(), "ファイル(&F)");
  window().MenuItem(20)->trigger();
  EXPECT_EQ(window().menuBar()->actions()[0]->text(), "&File");

  QApplication::setActiveWindow(&window());
  QTest::keyClick(&window(), Qt::Key_F, Qt::AltModifier);
  QWidget* popup = QApplication::activePopupWidget();
  EXPECT_EQ(popup, window().menuBar()->actions()[0]->menu()) << "Alt+F opens the File menu";
  if (popup != nullptr) popup->close();

  QTest::keyClick(&window(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(shell_->state().selected_screen, 2);
  QTest::keyClick(&window(), Qt::Key_3, Qt::AltModifier);
  EXPECT_EQ(shell_->state().selected_screen, 12);
  QTest::keyClick(&window(), Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(shell_->state().swap_view, 1);
  QTest::keyClick(&window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialogs_.clipboard.height, 384);
  for (const auto& [item, keys] : std::vector<std::pair<int, QKeySequence>>{
           {kMenuOpenZip, QKeySequence("Ctrl+Shift+O")},
           {kMenuSave, QKeySequence("Ctrl+S")},
           {kMenuSaveFolder, QKeySequence("Ctrl+Shift+S")},
           {kMenuSaveZip, QKeySequence("Ctrl+E")},
           {kMenuScreenshotFile, QKeySequence("Ctrl+Shift+P")},
           {kMenuScreenshotCurrentFile, QKeySequence("Ctrl+Alt+P")},
           {kMenuZoomIn, QKeySequence("Ctrl++")},
           {kMenuZoomOut, QKeySequence("Ctrl+-")},
           {kMenuZoomOne, QKeySequence("Ctrl+0")},
           {kMenuPixelGrid, QKeySequence("Ctrl+G")},
           {kMenuUserGuide, QKeySequence("F1")},
           {kMenuFirstScreen, QKeySequence("Ctrl+1")},
           {kMenuFirstScreen + 8, QKeySequence("Ctrl+9")},
           {kMenuFirstScreen + 9, QKeySequence("Alt+0")},
           {kMenuLastScreen, QKeySequence("Alt+4")}}) {
    EXPECT_EQ(window().MenuItem(item)->shortcut(), keys) << item;
  }
}

TEST_F(ShellTest, TheButtonOfTheScreenShownLooksPressed) {
  const auto pressed = [&] {
    std::vector<int> down;
    for (int g = kGadgetFirstScreenButton; g <= kGadgetLastScreenButton; ++g) {
      if (static_cast<QPushButton*>(gadget(g))->isChecked()) down.push_back(g);
    }
    return down;
  };
  EXPECT_EQ(pressed(), std::vector<int>{277});
  QTest::mouseClick(ScreenButton(7), Qt::LeftButton);
  EXPECT_EQ(pressed(), std::vector<int>{284});
  QTest::mouseClick(ScreenButton(7), Qt::LeftButton);
  EXPECT_EQ(pressed(), std::vector<int>{284}) << "a second click leaves it pressed";
  window().MenuItem(kMenuLastScreen)->trigger();
  EXPECT_EQ(pressed(), std::vector<int>{290});
  window().MenuItem(25)->trigger();  // German: the rebuilt window shows the same screen
  EXPECT_EQ(pressed(), std::vector<int>{290});
}

// The pixels of a widget as painted, and the box around those of one colour.
QRect BoxOf(QWidget* widget, QColor colour) {
  const QImage shown = widget->grab().toImage();
  QRect box;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST_F(ShellTest, ButtonsShowTheirColourAndPictureAndEveryGadgetItsFullName) {
  auto* colour = static_cast<PanelButton*>(Colour(ColourId::gameInfoTextColor));
  const imaging::Rgb before = shell_->document().Colour(skin::ColourId::gameInfoTextColor);
  EXPECT_EQ(colour->colour(),
            QColor(imaging::RedOf(before), imaging::GreenOf(before), imaging::BlueOf(before)));
  EXPECT_EQ(colour->toolTip(),
            "gameInfoTextColor\n" + QString::fromStdString(skin::FormatSkinColour(before)))
      << "the code as the skin file writes it";
  dialogs_.colour_answer = MakeRgb(248, 0, 128);
  QTest::mouseClick(colour, Qt::LeftButton);
  EXPECT_EQ(colour->colour(), QColor(248, 0, 128)) << "the swatch follows the colour";
  EXPECT_FALSE(BoxOf(colour, QColor(248, 0, 128)).isEmpty());

  auto* image = static_cast<PanelButton*>(Slot(SlotId::upper_screen));  // upper_screen
  EXPECT_EQ(image->toolTip(), "upper_screen.bmp\nupper_screen: 256 x 192; this picture 256 x 192");
  EXPECT_FALSE(image->property("marked").toBool());
  EXPECT_TRUE(image->picture().SameAs(shell_->document().slots[skin::Index(SlotId::upper_screen)]));
  const fs::path picture = dir_.path() / "small.png";
  ASSERT_TRUE(imaging::WriteScreenshot(imaging::Image(40, 10, MakeRgb(0, 0, 248)), picture.string(),
                                       imaging::ScreenshotFormat::kPng));
  dialogs_.answers = {picture.string()};
  QTest::mouseClick(image, Qt::LeftButton);
  EXPECT_EQ(image->toolTip(), "upper_screen.bmp\nupper_screen: 256 x 192; this picture 40 x 10");
  EXPECT_TRUE(image->property("marked").toBool()) << "a picture of another size is marked";
  const QRect blue = BoxOf(image, QColor(0, 0, 248));
  ASSERT_FALSE(blue.isEmpty());
  EXPECT_NEAR(blue.width(), 4 * blue.height(), 2) << "a wide picture keeps its proportions";
  // An undo shows the earlier picture again and leaves the buttons it did not change as they were.
  const imaging::SharedImage other = static_cast<PanelButton*>(Slot(SlotId::active))->picture();
  window().MenuItem(kMenuUndo)->trigger();
  EXPECT_EQ(image->toolTip(), "upper_screen.bmp\nupper_screen: 256 x 192; this picture 256 x 192");
  EXPECT_TRUE(static_cast<PanelButton*>(Slot(SlotId::active))->picture().SameAs(other));

  // A disabled gadget (screen 13's) still tells its full name when the pointer rests on it.
  QWidget* disabled = Colour(ColourId::cheatListTextHighLightColor);  // cheatListTextHighLightColor
  ASSERT_FALSE(disabled->isEnabled());
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), disabled->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(disabled, &help);
  EXPECT_TRUE(QToolTip::text().startsWith("cheatListTextHighLightColor\n"))
      << QToolTip::text().toStdString();
  QToolTip::hideText();
  EXPECT_EQ(gadget(221)->toolTip(), "CheatClearAllButton") << "row labels too";
}

TEST_F(ShellTest, ValuesTheFieldsCannotShowAreMarkedAndKeptUntilEdited) {
  const skin::SkinDocument& doc = shell_->document();
  const session::SkinSession::FieldValue odd[] = {
      {FieldId::file_name_x, -3}, {FieldId::file_name_y, 300}, {FieldId::file_type_show, 7}};
  shell_->Apply(session_.SetFields(odd, {}, {}));
  SidePanel& panel = *window().panel();
  EXPECT_TRUE(panel.IsMarked(FieldId::file_name_x));
  EXPECT_TRUE(panel.IsMarked(FieldId::file_name_y));
  EXPECT_FALSE(panel.IsMarked(FieldId::file_name_w));
  EXPECT_EQ(Field(FieldId::file_name_x)->toolTip(),
            "The skin holds -3 here, outside 0 to 255. It keeps that value until you change this "
            "field.");
  EXPECT_NE(Field(FieldId::file_name_y)->toolTip().indexOf("300 here, outside 0 to 191"), -1)
      << Field(FieldId::file_name_y)->toolTip().toStdString();
  auto* flag = static_cast<QCheckBox*>(Field(FieldId::file_type_show));
  EXPECT_EQ(flag->checkState(), Qt::PartiallyChecked);
  EXPECT_TRUE(panel.IsMarked(FieldId::file_type_show));
  EXPECT_EQ(flag->toolTip(),
            "FileType\nThe skin holds 7 here, neither 0 nor 1. It keeps that "
            "value until you change this box.");

  // Kept through other edits and a save, as long as the field is left alone.
  static_cast<QSpinBox*>(Field(FieldId::file_name_w))->setValue(60);
  testing_support::TempDir out;
  dialogs_.answers = {out.folder()};
  window().MenuItem(kMenuSaveFolder)->trigger();
  EXPECT_EQ(doc.Field(skin::FieldId::file_name_x), -3);
  EXPECT_EQ(doc.Field(skin::FieldId::file_name_y), 300);
  EXPECT_EQ(doc.Field(skin::FieldId::file_type_show), 7);
  const std::string saved = testing_support::ReadFileText(out.path() / "uisettings.ini");
  EXPECT_NE(saved.find("[file name]\r\nx=-3\r\ny=300\r\n"), std::string::npos) << saved;

  static_cast<QSpinBox*>(Field(FieldId::file_name_x))->setValue(10);
  EXPECT_EQ(doc.Field(skin::FieldId::file_name_x), 10);
  EXPECT_FALSE(panel.IsMarked(FieldId::file_name_x));
  EXPECT_EQ(Field(FieldId::file_name_x)->toolTip(), "");
  QTest::mouseClick(flag, Qt::LeftButton, {}, QPoint(8, flag->height() / 2));
  EXPECT_NE(flag->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(doc.Field(skin::FieldId::file_type_show), flag->isChecked() ? 1 : 0);
  EXPECT_FALSE(panel.IsMarked(FieldId::file_type_show));
  EXPECT_EQ(flag->toolTip(), "FileType");
  QTest::mouseClick(flag, Qt::LeftButton, {}, QPoint(8, flag->height() / 2));
  EXPECT_NE(flag->checkState(), Qt::PartiallyChecked) << "the partial state was only for show";
}

TEST_F(ShellTest, TheElementsTabNamesItsColumnsAboveTheRows) {
  std::map<QString, int> headers;
  for (const QLabel* label : gadget(kGadgetSidePanel)->findChildren<QLabel*>()) {
    if (label->text().size() == 1)
      headers[label->text()] = label->mapTo(window().panel(), QPoint()).x();
  }
  const auto column = [&](int g) { return gadget(g)->mapTo(window().panel(), QPoint()).x(); };
  EXPECT_EQ(headers["x"], column(202));
  EXPECT_EQ(headers["y"], column(203));
  EXPECT_EQ(headers["w"], column(204));
}

TEST(PanelCaptions, ElidedInTheMiddleWhereTheEndsWouldReadTheSame) {
  const QFontMetrics metrics(QApplication::font());
  const std::vector<QString> texts = {"popSubMenuTextHighLightColor", "popSubMenuTextColor",
                                      "formFrameColor", "popSubMenuTextHighLightColour"};
  const int room = metrics.horizontalAdvance("popSubMenuTextXX");
  const std::vector<QString> shown = FittedCaptions(texts, metrics, room);
  EXPECT_EQ(shown[2], "formFrameColor") << "a text that fits stays whole";
  EXPECT_EQ(std::set<QString>(shown.begin(), shown.end()).size(), 4u);
  EXPECT_TRUE(shown[0].endsWith("Color") && shown[3].endsWith("Colour")) << "the ends show";
  EXPECT_LE(metrics.horizontalAdvance(shown[0]), room);

  // Alike at both ends and in the middle: cut around where each parts from the others.
  const std::vector<QString> family = {"popMenuTextColor", "popSubMenuTextColor",
                                       "popMenuTextHighLightColor", "popSubMenuTextHighLightColor"};
  for (const int narrow :
       {metrics.horizontalAdvance("popSubMenuTe"), metrics.horizontalAdvance("popSubMen")}) {
    const std::vector<QString> cut = FittedCaptions(family, metrics, narrow);
    EXPECT_EQ(std::set<QString>(cut.begin(), cut.end()).size(), 4u)
        << cut[0].toStdString() << " " << cut[1].toStdString() << " " << cut[2].toStdString() << " "
        << cut[3].toStdString();
  }
}

TEST(PanelCaptions, InEveryLanguageNoTwoButtonsReadAlikeAndNoCaptionMeetsItsField) {
  for (const i18n::Language& language : i18n::kLanguages) {
    i18n::UiTexts texts;
    i18n::ApplyLanguage(texts, language.number,
                        (fs::path(SKINSMITH_TEST_DATA_DIR) / ".." / ".." / "language").string());
    SidePanel panel(texts, {}, nullptr);
    std::vector<std::vector<int>> tabs(3);
    for (const ColourButton& b : ColourButtons()) tabs[0].push_back(b.gadget);
    for (const ImageButton& b : ImageButtons()) tabs[1].push_back(b.gadget);
    for (const ElementRow& row : ElementRows()) {
      if (row.kind == LabelKind::kCheckBox) tabs[2].push_back(row.label_gadget);
    }
    // The Information tab's captions stand clear of their fields, whatever the script's height.
    for (int g = kGadgetInfoTitle; g <= kGadgetInfoLastUpdate; g += 2) {
      const QWidget* caption = panel.Gadget(g - 1);
      EXPECT_FALSE(caption->geometry().intersects(panel.Gadget(g)->geometry())) << g;
      EXPECT_LE(caption->fontMetrics().height(), caption->height()) << language.file;
    }
    for (const std::vector<int>& tab : tabs) {
      std::set<QString> shown;
      for (int g : tab) {
        auto* button = static_cast<QAbstractButton*>(panel.Gadget(g));
        EXPECT_TRUE(shown.insert(button->text()).second)
            << language.file << ": " << button->text().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << language.file << " " << g;
      }
    }
  }
}

TEST_F(ShellTest, SwapLayoutFigures) {
  window().resize(700 + (window().width() - window().ClientSize().width()), window().height());
  QCoreApplication::processEvents();
  ASSERT_EQ(window().ClientSize().width(), 700);
  EXPECT_EQ(gadget(kGadgetPreviewArea)->geometry().x(), 3);
  EXPECT_EQ(gadget(kGadgetPreviewArea)->width(), 302);
  EXPECT_EQ(gadget(kGadgetSidePanel)->x(), 308);
  EXPECT_EQ(ScreenButton(0)->x(), 6);
  EXPECT_EQ(ScreenButton(0)->width(), 21);
  EXPECT_EQ(ScreenButton(1)->x(), 27);
  window().MenuItem(kMenuSwapView)->trigger();
  EXPECT_EQ(shell_->state().swap_view, 1);
  EXPECT_TRUE(window().IsChecked(kMenuSwapView));
  EXPECT_EQ(gadget(kGadgetPreviewArea)->x(), 392);
  EXPECT_EQ(gadget(kGadgetSidePanel)->x(), 3);
}

TEST_F(ShellTest, LanguageChangeRebuildsWindowAndPanels) {
  window().MenuItem(35)->trigger();
  window().MenuItem(24)->trigger();  // French
  EXPECT_EQ(shell_->state().language_index, 4);
  EXPECT_TRUE(window().IsChecked(24));
  EXPECT_FALSE(window().IsChecked(20));
  EXPECT_TRUE(window().IsChecked(35)) << "the screen stays";
  EXPECT_EQ(window().menuBar()->actions()[0]->text(), "&Fichier");
  EXPECT_EQ(window().MenuItem(kMenuFitPreview)->text(), "A&juster");
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(gadget(kGadgetSidePanel)->isVisible()) << "the rebuilt window shows its panels";
  EXPECT_TRUE(gadget(kGadgetPreviewArea)->isVisible());
  EXPECT_TRUE(gadget(kGadgetFirstScreenButton)->isVisible());
  window().MenuItem(20)->trigger();
  EXPECT_EQ(window().menuBar()->actions()[0]->text(), "&File");
}

TEST_F(ShellTest, ColourButtonsAndBackgroundUseTheEditor) {
  dialogs_.colour_answer = MakeRgb(8, 16, 24);
  static_cast<QPushButton*>(Colour(ColourId::gameInfoTextColor))->click();
  EXPECT_EQ(shell_->document().Colour(skin::ColourId::gameInfoTextColor), MakeRgb(8, 16, 24));
  window().MenuItem(kMenuBackgroundColour)->trigger();
  EXPECT_EQ(shell_->state().bg_color, MakeRgb(8, 16, 24));
}

TEST_F(ShellTest, TitleAndStatusTellWhichSkinIsOpenAndWhatHappenedLast) {
  EXPECT_EQ(window().StatusText(), "");
  EXPECT_TRUE(dialogs_.errors.empty()) << "nothing is reported at start";
  EXPECT_GT(window().findChild<QLabel*>("Status")->width() +
                window().findChild<QLabel*>("CheckCount")->width(),
            300)
      << "field 1 takes the bar's rest beside the check's count";
  testing_support::TempDir place;
  const fs::path folder = place.path() / "Night sky";
  fs::create_directory(folder);
  const std::string chosen = folder.string() + "/";
  dialogs_.answers = {chosen};
  window().MenuItem(kMenuSaveFolder)->trigger();
  EXPECT_EQ(window().StatusText().toStdString(), "Saved 54 files to " + chosen);
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531 \u2013 Night sky[*]");

  // Five pictures missing: the third box's check box silences the other two.
  for (const char* gone : {"btn.bmp", "btn3.bmp", "lamp.bmp", "icon/nds.bmp", "icon/gba.bmp"})
    fs::remove(folder / gone);
  window().MenuItem(kMenuNewSkin)->trigger();
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531[*]");
  EXPECT_EQ(window().StatusText(), "New skin: the built-in default skin");
  dialogs_.quiet_at = 3;
  dialogs_.answers = {chosen};
  window().MenuItem(kMenuOpenFolder)->trigger();
  window().findChild<QLabel*>("Status")->setFixedWidth(300);  // shorter than the text
  EXPECT_EQ(dialogs_.errors.size(), 3u);
  EXPECT_EQ(dialogs_.quiet_texts,
            std::vector<std::string>(3, "Don't show further messages for this operation"));
  EXPECT_EQ(window().StatusText().toStdString(), "Opened " + chosen + " (5 messages, 2 not shown)");
  const auto* field = window().findChild<QLabel*>("Status");
  ASSERT_GT(field->fontMetrics().horizontalAdvance(window().StatusText()), field->width());
  EXPECT_TRUE(field->text().endsWith("2 not shown)")) << "a long text loses its middle";
  EXPECT_TRUE(field->text().startsWith(QString::fromStdString("Opened " + chosen.substr(0, 3))));
  EXPECT_NE(field->text().indexOf(QChar(0x2026)), -1);
  EXPECT_EQ(field->toolTip(), window().StatusText());
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531 \u2013 Night sky[*]");

  // The next operation shows its messages again; a failed open keeps the skin's name.
  dialogs_.errors.clear();
  const std::string archive = (place.path() / "100% done.zip").string();
  dialogs_.answers = {archive};
  window().MenuItem(kMenuOpenZip)->trigger();
  EXPECT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(window().StatusText().toStdString(), "Not opened: " + archive + " (1 message)");
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531 \u2013 Night sky[*]");

  window().MenuItem(kMenuScreenshotClipboard)->trigger();
  EXPECT_EQ(window().StatusText(), "Screen 1 (Game list) copied to the clipboard");
  static_cast<QPushButton*>(ScreenButton(3))->click();  // screen 3, where btn3.bmp shows
  dialogs_.answers = {(folder / "btn3.bmp").string()};
  static_cast<QPushButton*>(Slot(SlotId::btn3))->click();
  EXPECT_EQ(window().StatusText().toStdString(), "Not imported: " + (folder / "btn3.bmp").string());
  dialogs_.answers = {(folder / "btn2.png").string()};
  ASSERT_TRUE(imaging::WriteScreenshot(imaging::Image(4, 4), (folder / "btn2.png").string(),
                                       imaging::ScreenshotFormat::kPng));
  static_cast<QPushButton*>(Slot(SlotId::btn3))->click();
  EXPECT_EQ(window().StatusText().toStdString(),
            "Imported " + (folder / "btn2.png").string() + " as btn3.bmp");

  window().MenuItem(24)->trigger();  // French: the title keeps the skin, texts follow
  EXPECT_EQ(window().windowTitle(), "Skinsmith v0.100531 \u2013 Night sky[*]");
  dialogs_.answers = {chosen};
  dialogs_.quit_answer = UserDialogs::SaveAnswer::kDiscard;
  window().MenuItem(kMenuOpenFolder)->trigger();
  EXPECT_EQ(window().StatusText().toStdString(), "Ouvert : " + chosen + " (5 messages)");
}

TEST_F(ShellTest, TheCloseBoxEndsTheProgramThroughTheShell) {
  EXPECT_FALSE(shell_->state().quit_requested);
  // As the window manager's close box does it: through the platform window.
  const bool closed = window().windowHandle()->close();
  EXPECT_TRUE(shell_->state().quit_requested);
  EXPECT_FALSE(closed) << "the shell ends the program; the window is not closed under it";
  EXPECT_TRUE(window().isVisible());
}

TEST_F(ShellTest, QuitAndCloseRequestAndSettingsAreWrittenAtExit) {
  window().MenuItem(kMenuQuit)->trigger();
  EXPECT_TRUE(shell_->state().quit_requested);
  shell_->state().swap_view = 1;
  shell_->state().language_index = 4;
  shell_->Finish();
  const i18n::ProgramSettings settings =
      i18n::LoadProgramSettings((dir_.path() / "settings" / "settings.ini").string());
  EXPECT_EQ(settings.swap_view, 1);
  EXPECT_EQ(settings.language, 4);
}

TEST(EditorCommandLine, MoreThanOneSkinOrAnOptionIsAUsageError) {
  for (const char* args : {"a b", "--version", "-x"}) {
    const testing_support::CliRun run = testing_support::RunProgram(SKINSMITH_EDITOR, args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("usage: skinsmith [SKIN]\n"), std::string::npos) << run.err;
  }
}

TEST(ColourEditor, OkCancelClampAndCodes) {
  i18n::UiTexts texts;
  {
    ColourEditor editor(texts, MakeRgb(255, 255, 255), nullptr);
    EXPECT_EQ(editor.channel(0)->value(), 31);
    EXPECT_EQ(editor.given_code()->text(), "0x7FFF");
    editor.accept();
    EXPECT_EQ(editor.Result(), MakeRgb(255, 255, 255)) << "OK without a change keeps all 8 bits";
  }
  {
    ColourEditor editor(texts, MakeRgb(0, 0, 0), nullptr);
    editor.channel(0)->setValue(40);
    EXPECT_EQ(editor.channel(0)->value(), 31);
    EXPECT_EQ(editor.current(), MakeRgb(248, 0, 0));
    EXPECT_EQ(editor.new_code()->text(), "0x7C00");
    editor.channel(1)->setValue(-3);
    EXPECT_EQ(editor.channel(1)->value(), 0);
    editor.SetNewColour(MakeRgb(250, 10, 130) & 0xF8F8F8);
    EXPECT_EQ(editor.new_code()->text(), "0x7C30");
    EXPECT_EQ(editor.given_code()->text(), "0x0000");
    editor.reject();
    EXPECT_EQ(editor.Result(), MakeRgb(0, 0, 0)) << "Cancel returns the given colour";
  }
}

}  // namespace
}  // namespace app

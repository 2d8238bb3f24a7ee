// The editor's own dialogs driven through their widgets: the information box and its user guide.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/colour_editor.h"
#include "app/desktop.h"
#include "app/guide_window.h"
#include "app/information_box.h"
#include "app/qt_dialogs.h"
#include "app/shell.h"
#include "app/spin_field.h"
#include "base/paths.h"
#include "i18n/data_folders.h"
#include "imaging/screenshot_writer.h"
#include "shell_fixture.h"
#include "test_support.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using imaging::MakeRgb;

// The texts of language `number`, read from the shipped files.
i18n::UiTexts TextsOf(int number) {
  i18n::UiTexts texts;
  i18n::ApplyLanguage(texts, number,
                      (fs::path(SKINSMITH_TEST_DATA_DIR) / ".." / ".." / "language").string());
  return texts;
}

// Runs `inspect` on the modal dialog that `open` shows, then closes it.
template <typename Open, typename Inspect>
void WithModalDialog(Open open, Inspect inspect) {
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    inspect(modal);
    modal->close();
  });
  open();
}

TEST(InformationBox, LinkAndBannerOpenTheInstalledUserGuide) {
  testing_support::TempDir dir;
  const std::string guide = (dir.path() / "user-guide.html").string();
  std::ofstream(guide) << "<html></html>";
  std::vector<QUrl> opened;
  const i18n::UiTexts texts;
  InformationBox box(texts, "Skinsmith v0.100531", QString::fromStdString(guide), nullptr,
                     [&](const QUrl& url) { opened.push_back(url); });
  box.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(box.link()->text().contains("User guide"), true) << box.link()->text().toStdString();

  QTest::mouseClick(box.link(), Qt::LeftButton, {}, QPoint(8, box.link()->height() / 2));
  QTest::mouseClick(box.banner(), Qt::LeftButton, {}, QPoint(200, 30));
  QTest::mouseClick(box.banner(), Qt::RightButton, {}, QPoint(200, 30));
  const QUrl expected = QUrl::fromLocalFile(QString::fromStdString(guide));
  EXPECT_EQ(opened, (std::vector<QUrl>{expected, expected})) << "the left clicks open the guide";
  for (const QUrl& url : opened) EXPECT_TRUE(url.isLocalFile());
}

TEST(InformationBox, WithoutAGuideNothingOpensAndTheTextsFollowTheLanguage) {
  std::vector<QUrl> opened;
  const i18n::UiTexts french = TextsOf(4);
  InformationBox box(french, "Skinsmith v0.100531", QString(), nullptr,
                     [&](const QUrl& url) { opened.push_back(url); });
  box.show();
  QCoreApplication::processEvents();
  QTest::mouseClick(box.link(), Qt::LeftButton, {}, QPoint(8, box.link()->height() / 2));
  QTest::mouseClick(box.banner(), Qt::LeftButton, {}, QPoint(200, 30));
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(box.link()->text(), "Guide de l'utilisateur");
  EXPECT_EQ(box.windowTitle(), "À propos de Skinsmith");
  bool passage = false;
  for (const QLabel* label : box.findChildren<QLabel*>()) {
    passage |= label->text().contains("Skinsmith v0.100531 – conçu pour les auteurs de skins.");
  }
  EXPECT_TRUE(passage) << "the passages come from the language file";
}

TEST(InformationBox, ThePassagesOfEveryLanguageFitTheirBox) {
  for (const i18n::Language& language : i18n::kLanguages) {
    InformationBox box(TextsOf(language.number), "Skinsmith v0.100531", QString(), nullptr);
    const QLabel* about = box.about();
    ASSERT_EQ(about->size(), QSize(458, 130));
    EXPECT_LE(about->heightForWidth(about->width()), about->height()) << language.file;
    EXPECT_EQ(about->font(), box.font()) << language.file << ": shown in the dialog's font";
  }
}

TEST(UserGuide, TheEditorFindsTheGuideBesideItInstalledOrInTheSourceTree) {
  const auto exists = [](const std::string& p) {
    return p == "/opt/sk/user-guide.html" || p == "/usr/share/doc/skinsmith/user-guide.html" ||
           p == "/src/docs/user-guide.html" ||
           p == "/moved/bin/../share/doc/skinsmith/user-guide.html";
  };
  i18n::DataFolderInputs in{};
  in.installed_guide = "/usr/share/doc/skinsmith/user-guide.html";
  in.installed_guide_from_program = "../share/doc/skinsmith/user-guide.html";
  in.source_guide = "/src/docs/user-guide.html";
  in.executable_dir = "/opt/sk";
  EXPECT_EQ(i18n::FindUserGuide(in, exists), "/opt/sk/user-guide.html") << "a portable copy";
  in.executable_dir = "/moved/bin";
  EXPECT_EQ(i18n::FindUserGuide(in, exists), "/moved/bin/../share/doc/skinsmith/user-guide.html");
  in.executable_dir = "/usr/bin";
  EXPECT_EQ(i18n::FindUserGuide(in, exists), "/usr/share/doc/skinsmith/user-guide.html");
  in.installed_guide.clear();
  EXPECT_EQ(i18n::FindUserGuide(in, exists), "/src/docs/user-guide.html");
  in.source_guide.clear();
  EXPECT_EQ(i18n::FindUserGuide(in, exists), "");

  // This build, run from its build tree, finds the guide of its source tree.
  const std::string found =
      i18n::ResolveDataFolders(fs::path(SKINSMITH_EDITOR).parent_path().string()).user_guide;
  EXPECT_TRUE(fs::is_regular_file(found)) << found;
  EXPECT_NE(testing_support::ReadFileText(found).find("<title>Skinsmith user guide</title>"),
            std::string::npos);
}

TEST(InformationBox, TheEditorsBoxLinksToTheGuideItFound) {
  testing_support::TempDir dir;
  const std::string guide = (dir.path() / "user-guide.html").string();
  std::ofstream(guide) << "<html></html>";
  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", guide);
  EditorUnderTest editor(dialogs,
                         i18n::DataFolders{"", (dir.path() / "settings.ini").string(), guide});
  Shell& shell = editor.shell;
  shell.Start();
  WithModalDialog([&] { shell.OnMenu(46); },
                  [&](QWidget* modal) {
                    auto* box = dynamic_cast<InformationBox*>(modal);
                    ASSERT_NE(box, nullptr);
                    EXPECT_TRUE(box->link()->text().contains(
                        QUrl::fromLocalFile(QString::fromStdString(guide)).toString()))
                        << box->link()->text().toStdString();
                    EXPECT_FALSE(box->link()->text().contains("example"));
                  });
}

// The guide shows in the editor's own window, pictures and all, whatever browser the desktop has;
// the box's link closes the box and opens it; a guide gone from disk is named in a message.
TEST(UserGuide, ShowsInTheEditorsOwnWindowOrSaysWhereItIsMissing) {
  testing_support::TempDir dir;
  const std::string guide = (dir.path() / "user-guide.html").string();
  ASSERT_TRUE(imaging::WriteScreenshot(imaging::Image(7, 5), (dir.path() / "shot.png").string(),
                                       imaging::ScreenshotFormat::kPng));
  std::ofstream(guide) << "<html><body><h1>Making skins</h1><img src=\"shot.png\"></body></html>";
  QWidget main_window;
  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", guide);
  dialogs.UseWindow(&main_window);
  const auto guide_window = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* found = dynamic_cast<GuideWindow*>(w); found != nullptr && found->isVisible())
        return found;
    }
    return static_cast<GuideWindow*>(nullptr);
  };
  WithModalDialog([&] { dialogs.ShowInformationBox(); },
                  [&](QWidget* modal) {
                    auto* box = dynamic_cast<InformationBox*>(modal);
                    ASSERT_NE(box, nullptr);
                    box->link()->linkActivated(box->link()->text());
                  });
  GuideWindow* shown = guide_window();
  ASSERT_NE(shown, nullptr) << "the link opened the guide's window";
  EXPECT_EQ(shown->browser()->source(), QUrl::fromLocalFile(QString::fromStdString(guide)));
  EXPECT_TRUE(shown->browser()->toPlainText().contains("Making skins"));
  const QVariant picture = shown->browser()->document()->resource(
      QTextDocument::ImageResource,
      QUrl::fromLocalFile(QString::fromStdString((dir.path() / "shot.png").string())));
  EXPECT_TRUE(picture.isValid()) << "the guide's pictures are read beside it";
  EXPECT_EQ(shown->windowTitle(), "User guide");
  dialogs.ShowUserGuide(guide);  // F1 again: the same window
  EXPECT_EQ(guide_window(), shown);
  shown->close();

  fs::remove(guide);
  WithModalDialog([&] { dialogs.ShowUserGuide(guide); },
                  [&](QWidget* modal) {
                    auto* box = dynamic_cast<QMessageBox*>(modal);
                    ASSERT_NE(box, nullptr);
                    EXPECT_EQ(box->text().toStdString(), guide + " : File not found.");
                  });
  EXPECT_EQ(guide_window(), nullptr);
}

// The names a file chooser lists in its current folder, once it has read the folder.
std::set<QString> Listed(QFileDialog& chooser) {
  auto* view = chooser.findChild<QListView*>("listView");
  std::set<QString> names;
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
  QTest::qWait(50);
  for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
    names.insert(view->model()->index(row, 0, view->rootIndex()).data().toString());
  return names;
}

// Types `text` into the chooser's file name field and presses Return.
void TypeName(QFileDialog& chooser, const QString& text) {
  auto* field = chooser.findChild<QLineEdit*>("fileNameEdit");
  field->clear();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

TEST(FileChoosers, ImportListsAndDropTakesEveryPictureExtensionInAnyLetterCase) {
  testing_support::TempDir dir;
  const char* const names[] = {"a.BMP", "b.Jpeg", "c.JPE", "d.png", "e.jpg", "notes.txt", "f.gif"};
  for (const char* name : names) std::ofstream(dir.path() / name) << "x";
  // The filter the editor asks for when a picture is imported.
  ScriptedDialogs scripted;
  EditorUnderTest editor(scripted, i18n::DataFolders{"", (dir.path() / "s.ini").string(), ""});
  Shell& shell = editor.shell;
  shell.Start();
  shell.state().last_path = dir.folder();
  static_cast<QPushButton*>(shell.window()->panel()->Widget(skin::SlotId::upper_screen))->click();
  ASSERT_EQ(scripted.open_filters.size(), 1u);
  EXPECT_EQ(scripted.proposals.back(), dir.folder() + "upper_screen.bmp");

  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", "");
  std::string chosen;
  std::set<QString> listed;
  WithModalDialog(
      [&] {
        chosen = dialogs.ChooseOpenFile("Open file", scripted.proposals.back(),
                                        scripted.open_filters.back());
      },
      [&](QWidget* modal) {
        auto* chooser = dynamic_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->testOption(QFileDialog::DontUseNativeDialog),
                  !app::UseSystemFileChoosers());
        listed = Listed(*chooser);
        EXPECT_EQ(listed, (std::set<QString>{"a.BMP", "b.Jpeg", "c.JPE", "d.png", "e.jpg"}));
        TypeName(*chooser, "b.Jpeg");
      });
  EXPECT_EQ(base::FsPath(chosen), dir.path() / "b.Jpeg");

  // A drop takes the files the chooser lists, and no others.
  for (const char* name : names) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir.path() / name).string()))});
    EXPECT_EQ(!DroppedImageFile(&data).isEmpty(), listed.contains(name)) << name;
  }
}

TEST(FileChoosers, TheArchiveChooserProposesZipFilesAndTheSaveFolderChooserMakesANewFolder) {
  testing_support::TempDir dir;
  std::ofstream(dir.path() / "Skin.ZIP") << "x";
  std::ofstream(dir.path() / "other.txt") << "x";
  ScriptedDialogs scripted;
  EditorUnderTest editor(scripted, i18n::DataFolders{"", (dir.path() / "s.ini").string(), ""});
  Shell& shell = editor.shell;
  shell.Start();
  shell.state().last_path = dir.folder();
  shell.OnMenu(4);
  EXPECT_EQ(scripted.proposals.back(), dir.folder() + "*.zip");

  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", "");
  WithModalDialog(
      [&] { dialogs.ChooseOpenFile("Open file", scripted.proposals.back(), "* (*.zip)"); },
      [&](QWidget* modal) {
        auto* chooser = dynamic_cast<QFileDialog*>(modal);
        EXPECT_EQ(chooser->findChild<QLineEdit*>("fileNameEdit")->text(), "*.zip");
        EXPECT_EQ(Listed(*chooser), std::set<QString>{"Skin.ZIP"});
      });

  std::string folder;
  WithModalDialog(
      [&] { folder = dialogs.ChooseSaveFolder("Save", dir.folder()); },
      [&](QWidget* modal) { TypeName(*dynamic_cast<QFileDialog*>(modal), "New skin"); });
  EXPECT_EQ(base::FsPath(folder), dir.path() / "New skin" / "");
  EXPECT_TRUE(fs::is_directory(dir.path() / "New skin")) << "typed, created and chosen";
}

TEST(FileChoosers, QtsOwnDialogsFollowTheEditorsLanguage) {
  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", "");
  const auto cancel_text = [&] {
    QString text;
    WithModalDialog(
        [&] { dialogs.ChooseFolder("", ""); },
        [&](QWidget* modal) {
          text = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
        });
    return text;
  };
  dialogs.UseLanguage(5);
  EXPECT_EQ(cancel_text(), "Abbrechen");
  dialogs.UseLanguage(9);
  EXPECT_EQ(cancel_text(), "キャンセル");
  dialogs.UseLanguage(8);  // a user's own language file: English
  EXPECT_EQ(cancel_text(), "Cancel");
  dialogs.UseLanguage(0);
}

TEST(MessageBoxes, LoadingAndSavingMessagesOfferToSilenceTheRestOfTheOperation) {
  QtDialogs dialogs(BuiltInTexts(), "Skinsmith", "");
  bool silenced = false;
  WithModalDialog(
      [&] { silenced = dialogs.ShowOperationError("Error", "a.bmp : File not found.", "Quiet"); },
      [&](QWidget* modal) {
        auto* box = dynamic_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "a.bmp : File not found.");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        ASSERT_NE(box->checkBox(), nullptr);
        EXPECT_EQ(box->checkBox()->text(), "Quiet");
        EXPECT_FALSE(box->checkBox()->isChecked());
        QTest::mouseClick(box->checkBox(), Qt::LeftButton, {}, QPoint(5, 5));
      });
  EXPECT_TRUE(silenced);
  WithModalDialog([&] { silenced = dialogs.ShowOperationError("Error", "b.bmp", "Quiet"); },
                  [&](QWidget*) {});
  EXPECT_FALSE(silenced) << "left unticked";
  WithModalDialog([&] { dialogs.ShowError("Error", "shot.png: The file could not be saved."); },
                  [&](QWidget* modal) {
                    EXPECT_EQ(dynamic_cast<QMessageBox*>(modal)->checkBox(), nullptr)
                        << "a single message offers nothing to silence";
                  });
}

TEST(ColourEditor, TheInstructionsOfEveryLanguageFitTheirBox) {
  for (const i18n::Language& language : i18n::kLanguages) {
    const i18n::UiTexts texts = TextsOf(language.number);
    ColourEditor editor(texts, 0, nullptr);
    const QLabel* box = editor.instructions();
    ASSERT_EQ(box->size(), QSize(editor.width() - 10, 100));
    // The height the wrapped text needs in the box's font, with the box's frame and margins.
    EXPECT_LE(box->heightForWidth(box->width()), box->height())
        << language.file << ": " << box->text().toStdString();
    EXPECT_EQ(box->font(), editor.font()) << language.file << ": shown in the dialog's font";
  }
  // With a larger desktop font the text gets smaller instead of losing lines.
  const QFont usual = QApplication::font();
  QFont large = usual;
  large.setPointSizeF(usual.pointSizeF() * 1.6);
  QApplication::setFont(large);
  {
    ColourEditor editor(TextsOf(5), 0, nullptr);
    const QLabel* box = editor.instructions();
    EXPECT_LE(box->heightForWidth(box->width()), box->height());
    EXPECT_LT(box->font().pointSizeF(), large.pointSizeF());
  }
  QApplication::setFont(usual);
}

// The shown codes read as notes, not fields, and say what kind of code they are; the window is as
// wide as its title, in every language.
TEST(ColourEditor, ShownCodesLookReadOnlyAndTheWindowFitsItsTitle) {
  for (const i18n::Language& language : i18n::kLanguages) {
    const i18n::UiTexts texts = TextsOf(language.number);
    ColourEditor editor(texts, MakeRgb(240, 160, 80), nullptr, "spinBoxTextHighLightColor");
    for (QLineEdit* shown : {editor.given_code(), editor.new_code()}) {
      EXPECT_TRUE(shown->isReadOnly());
      EXPECT_FALSE(shown->hasFrame()) << language.file;
      EXPECT_EQ(shown->focusPolicy(), Qt::NoFocus);
      EXPECT_EQ(shown->toolTip().toStdString(), texts.Text("LANG_COLOR_PIXEL_TIP$"));
    }
    EXPECT_TRUE(editor.typed_code()->hasFrame()) << "the one field to type into";
    const QList<QLabel*> labels = editor.findChildren<QLabel*>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(),
                    [&](QLabel* label) {
                      return label->text().toStdString() == texts.Text("LANG_COLOR_PIXEL$") &&
                             label->geometry().left() >= editor.given_code()->geometry().right();
                    }))
        << language.file << ": the code is named beside it";
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(editor.width(), QFontMetrics(bold).horizontalAdvance(editor.windowTitle()) + 60)
        << language.file;
    for (QWidget* child : editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      EXPECT_TRUE(editor.rect().contains(child->geometry())) << language.file;
    }
  }
}

// A number typed beyond a field's range is kept as typed, marked, until the field takes it; then
// the field takes the nearest value it can hold and says so, by Enter or by leaving the field.
TEST(SpinFields, ANumberTypedBeyondTheRangeIsLimitedAndSaidSo) {
  struct Case {
    int min, max;
    const char* typed;
    int taken;
    bool noted;
  };
  const Case cases[] = {{0, 255, "300", 255, true},  {0, 31, "40", 31, true},
                        {5, 191, "1", 5, true},      {0, 255, "-3", 0, true},
                        {0, 255, "120", 120, false}, {0, 255, "99999999999", 255, true}};
  for (const bool by_enter : {true, false}) {
    for (const Case& c : cases) {
      QWidget window;
      auto* field = new SpinField(&window);
      auto* other = new QLineEdit(&window);
      other->move(0, 40);
      field->setRange(c.min, c.max);
      field->setValue(c.min + 1);
      std::vector<int> reported;
      QObject::connect(field, &QSpinBox::valueChanged, [&](int v) { reported.push_back(v); });
      window.show();
      QApplication::setActiveWindow(&window);
      field->setFocus();
      field->selectAll();
      QTest::keyClicks(field, c.typed);
      const std::string at = std::string(c.typed) + (by_enter ? " Enter" : " focus out");
      const std::string typed = c.typed;
      if (typed.size() <= 10) {
        EXPECT_EQ(field->text().toStdString(), typed) << at;
      }
      EXPECT_EQ(field->findChild<QLineEdit*>()->property("outside").toBool(), c.noted) << at;
      if (by_enter) {
        QTest::keyClick(field, Qt::Key_Return);
      } else {
        other->setFocus();
      }
      EXPECT_EQ(field->value(), c.taken) << at;
      EXPECT_EQ(field->text(), QString::number(c.taken)) << at;
      ASSERT_FALSE(reported.empty()) << at;
      EXPECT_EQ(reported.back(), c.taken) << at;
      EXPECT_EQ(field->note().isEmpty(), !c.noted) << at;
      if (c.noted) {
        EXPECT_TRUE(field->note().contains(QString::number(c.taken))) << at;
      }
      EXPECT_FALSE(field->findChild<QLineEdit*>()->property("outside").toBool()) << at;
    }
  }
}

TEST(ColourEditor, TheSwatchHasABorderAndTheSystemChooserGetsTheColourAsItsCustomColour) {
  const i18n::UiTexts texts;
  ColourEditor editor(texts, MakeRgb(255, 255, 255), nullptr);
  const QImage swatch = editor.swatch()->pixmap().toImage();
  EXPECT_EQ(swatch.size(), QSize(50, 100));
  for (QPoint edge : {QPoint(0, 0), QPoint(49, 20), QPoint(10, 99), QPoint(0, 70)})
    EXPECT_EQ(swatch.pixelColor(edge), QColor(128, 128, 128)) << "white stays visible";
  EXPECT_EQ(swatch.pixelColor(25, 25), QColor(255, 255, 255));
  editor.channel(2)->setValue(0);  // new colour 248, 248, 0
  const QImage changed = editor.swatch()->pixmap().toImage();
  EXPECT_EQ(changed.pixelColor(25, 75), QColor(248, 248, 0));
  EXPECT_EQ(changed.pixelColor(25, 25), QColor(255, 255, 255)) << "the given colour stays above";
  EXPECT_EQ(changed.pixelColor(25, 99), QColor(128, 128, 128));

  editor.show();
  WithModalDialog([&] { editor.chooser()->click(); },
                  [&](QWidget* modal) {
                    auto* chooser = dynamic_cast<QColorDialog*>(modal);
                    ASSERT_NE(chooser, nullptr);
                    EXPECT_EQ(chooser->currentColor(), QColor(248, 248, 0));
                    EXPECT_EQ(QColorDialog::customColor(0), QColor(248, 248, 0));
                    EXPECT_FALSE(editor.picking()) << "no screen pick inside the chooser";
                    chooser->setCurrentColor(QColor(250, 10, 130));
                    chooser->accept();
                  });
  EXPECT_EQ(editor.current(), MakeRgb(250, 10, 130)) << "the chooser's colour keeps its low bits";
  EXPECT_EQ(editor.channel(0)->value(), 31);
  EXPECT_TRUE(editor.picking());
  EXPECT_TRUE(editor.windowFlags() & Qt::WindowStaysOnTopHint) << "above other windows";
}

TEST(ColourEditor, ARightPressOverItsFieldsOpensNoContextMenu) {
  const i18n::UiTexts texts;
  ColourEditor editor(texts, MakeRgb(8, 8, 8), nullptr);
  editor.show();
  QCoreApplication::processEvents();
  std::vector<std::string> menus;
  // A context menu that opens anyway is recorded and closed, so that a blocking one ends.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      menus.push_back(popup->metaObject()->className());
      popup->close();
    }
  });
  watch.start(5);
  // A right press and release as the window system delivers it, which opens context menus.
  const auto right_click = [](QWidget* place) {
    const QPoint at = place->mapTo(place->window(), QPoint(5, 5));
    QTest::mousePress(place->window()->windowHandle(), Qt::RightButton, {}, at);
    QTest::qWait(20);
    QTest::mouseRelease(place->window()->windowHandle(), Qt::RightButton, {}, at);
    QTest::qWait(20);
  };
  QWidget* places[] = {editor.given_code(), editor.new_code(),     editor.channel(0),
                       editor.channel(2),   editor.instructions(), &editor};
  for (QWidget* place : places) right_click(place);
  // The same press over a line edit outside the (modal) editor opens its menu.
  editor.hide();
  QLineEdit outside;
  outside.show();
  QCoreApplication::processEvents();
  right_click(&outside);
  EXPECT_EQ(menus.size(), 1u) << "only the line edit outside the editor opened a menu";
}

}  // namespace
}  // namespace app

// Working on the preview itself, with real mouse and drop events on the offscreen platform: what
// the status bar names under the pointer, the gadget a click shows, a drag that moves an element,
// and pictures dropped on the preview and on image buttons; each change undoes in one step.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/fixed_numbers.h"
#include "base/paths.h"
#include "imaging/png_codec.h"
#include "shell_fixture.h"

namespace app {
namespace {

using preview::Source;
using preview::SourceKind;
using skin::ColourId;
using skin::FieldId;
using skin::InfoId;
using skin::SectionId;
using skin::SlotId;
namespace fs = std::filesystem;

Source Text(ColourId colour) { return {SourceKind::kText, static_cast<std::uint8_t>(colour)}; }

class PreviewPickTest : public ShellTest {
 protected:
  PreviewView& view() { return *window().preview(); }
  QWidget* viewport() { return view().viewport(); }
  void SelectScreen(int screen) {
    window().MenuItem(kMenuFirstScreen + screen)->trigger();
    QCoreApplication::processEvents();
  }
  // The middle of canvas pixel `canvas` in the viewport, at the current zoom.
  QPointF At(QPoint canvas) {
    const QPoint origin = view().CanvasOrigin();
    const preview::CanvasSize shown = view().ShownSize();
    return {origin.x() + (canvas.x() + 0.5) * shown.width / preview::kCanvasWidth,
            origin.y() + (canvas.y() + 0.5) * shown.height / preview::kCanvasHeight};
  }
  // The first canvas pixel of the current screen whose record satisfies `wanted`.
  QPoint Find(const std::function<bool(const Source&)>& wanted) {
    preview::ScreenSources sources;
    preview::DrawScreens(doc(), shell_->state().selected_screen, &sources);
    for (int y = 0; y < preview::kCanvasHeight; ++y) {
      for (int x = 0; x < preview::kCanvasWidth; ++x) {
        if (wanted(preview::CanvasSourceAt(sources, x, y))) return {x, y};
      }
    }
    ADD_FAILURE() << "nothing of the kind on screen " << shell_->state().selected_screen;
    return {};
  }
  void Mouse(QEvent::Type type, QPoint canvas, Qt::MouseButtons held) {
    const QPointF at = At(canvas);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &event);
    QCoreApplication::processEvents();
  }
  void Hover(QPoint canvas) { Mouse(QEvent::MouseMove, canvas, Qt::NoButton); }
  void Click(QPoint canvas) {
    Mouse(QEvent::MouseButtonPress, canvas, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, canvas, Qt::NoButton);
  }
  // A press at `from`, moves one canvas pixel at a time to `to`, and a release there.
  void Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    QPoint at = from;
    while (at != to) {
      at += QPoint((to.x() > at.x()) - (to.x() < at.x()), (to.y() > at.y()) - (to.y() < at.y()));
      Mouse(QEvent::MouseMove, at, Qt::LeftButton);
    }
    Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
  }
  // Drags `file` over `target` at `at` (its own coordinates) and drops it there when it is taken;
  // whether it was.
  bool DropFile(QWidget* target, QPointF at, const std::string& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
  }
  std::string WritePng(const std::string& name, const imaging::Image& image) {
    const std::string path = (dir_.path() / name).string();
    const std::vector<std::uint8_t> png = imaging::EncodePng(image);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return path;
  }
  std::string Status() { return window().StatusText().toStdString(); }
  int Highlighted() { return window().panel()->highlighted(); }
  QString UndoText() { return WithoutMnemonic(window().MenuItem(kMenuUndo)->text()); }
  void Undo() { window().MenuItem(kMenuUndo)->trigger(); }
  int Spin(QWidget* spin) { return static_cast<QSpinBox*>(spin)->value(); }
};

TEST_F(PreviewPickTest, HoverNamesWhatIsUnderThePointerAndMarksItsGadget) {
  Hover({10, 470});  // the start button's picture on the lower screen
  EXPECT_EQ(Status(), "[start button]: start_released (58 x 20) \u2013 drag to move");
  EXPECT_EQ(Highlighted(), 122) << "the start_released image button";
  EXPECT_EQ(window().panel()->tabBar()->tabTextColor(1),
            window().panel()->palette().color(QPalette::Highlight))
      << "the Images tab is marked";
  EXPECT_EQ(viewport()->cursor().shape(), Qt::SizeAllCursor);

  // Zoomed in, a text of the icon grid: its colour key, no section, and a hand that clicks.
  for (int i = 0; i < 4; ++i) Wheel(120);
  const QPoint text = Find([](const Source& s) { return s == Text(ColourId::vTextColor); });
  Hover(text);
  EXPECT_EQ(Status(), "Text in vTextColor");
  EXPECT_EQ(Highlighted(), 55);
  EXPECT_EQ(viewport()->cursor().shape(), Qt::PointingHandCursor);

  Hover({100, 250});  // the hinge
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Highlighted(), 0);
  EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);

  SelectScreen(3);
  Hover(Find([](const Source& s) { return s.slot() == SlotId::lower_screen; }));
  EXPECT_EQ(Status(), "lower_screen (256 x 192)");
  EXPECT_EQ(Highlighted(), 0) << "its button belongs to screen 0";

  // The record follows the skin: after an edit the same place shows what is there now.
  Hover({170, 425});
  EXPECT_EQ(Status(), "btn3 (39 x 14)");
  shell_->Apply(session_.SetPicture(SlotId::btn3, imaging::Image()));
  Hover({170, 425});
  EXPECT_NE(Status(), "btn3 (39 x 14)");
}

TEST_F(PreviewPickTest, ClickShowsAndFocusesTheGadgetThatEditsIt) {
  SelectScreen(3);
  window().panel()->setCurrentIndex(3);
  Click({170, 425});
  EXPECT_EQ(window().panel()->currentIndex(), 1) << "the Images tab";
  EXPECT_EQ(QApplication::focusWidget(), Slot(SlotId::btn3)) << "the btn3 button";

  Click(Find([](const Source& s) { return s == Text(ColourId::formTextColor); }));
  EXPECT_EQ(window().panel()->currentIndex(), 0);
  EXPECT_EQ(QApplication::focusWidget(), Colour(ColourId::formTextColor));

  SelectScreen(1);  // the selected folder row's icon, placed by the logo offset: its x spin
  Click(Find([](const Source& s) { return s.placed_by() == SectionId::logo_offset; }));
  EXPECT_EQ(window().panel()->currentIndex(), 2);
  EXPECT_EQ(QApplication::focusWidget(), Field(FieldId::logo_offset_x));
  EXPECT_EQ(shell_->session().history().UndoCount(), 0u) << "clicks change nothing";
}

TEST_F(PreviewPickTest, DragMovesTheElementThroughItsSpinsAsOneStep) {
  const skin::SkinDocument start = doc();
  Drag({10, 470}, {20, 465});
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 10);
  EXPECT_EQ(doc().Field(FieldId::start_button_y), 167);
  EXPECT_EQ(Spin(Field(FieldId::start_button_x)), 10) << "the panel follows";
  EXPECT_EQ(Spin(Field(FieldId::start_button_y)), 167);
  EXPECT_EQ(shell_->session().history().UndoCount(), 1u);
  EXPECT_EQ(UndoText(), "Undo Move [start button]");
  Undo();
  EXPECT_EQ(doc(), start);
  EXPECT_EQ(Spin(Field(FieldId::start_button_x)), 0);

  // A move that changes x and y is one change, drawn once.
  Mouse(QEvent::MouseButtonPress, {10, 470}, Qt::LeftButton);
  const int redraws = shell_->redraw_count();
  Mouse(QEvent::MouseMove, {11, 471}, Qt::LeftButton);
  EXPECT_EQ(shell_->redraw_count(), redraws + 1);
  EXPECT_EQ(doc().Field(FieldId::start_button_y), 173);
  Mouse(QEvent::MouseButtonRelease, {11, 471}, Qt::NoButton);
  Undo();

  // The start button goes no further left than its spin's 0, and stops where its last row of
  // pixels meets the bottom of the screen rather than slide off it.
  const auto start_button = [this] {
    return Find([](const Source& s) { return s.slot() == SlotId::start_released; });
  };
  const auto lowest_row = [this] {
    preview::ScreenSources sources;
    preview::DrawScreens(doc(), 0, &sources);
    int lowest = -1;
    for (int y = 0; y < preview::kScreenHeight; ++y) {
      for (int x = 0; x < preview::kScreenWidth; ++x) {
        if (sources.bottom.At(x, y).placed_by() == SectionId::start_button) lowest = y;
      }
    }
    return lowest;
  };
  Drag(start_button(), start_button() + QPoint(-8, -20));
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 0);
  Drag(start_button(), start_button() + QPoint(0, 40));
  EXPECT_EQ(lowest_row(), preview::kScreenHeight - 1);
  const int stopped = doc().Field(FieldId::start_button_y);
  EXPECT_LT(stopped, 191);
  Drag(start_button(), start_button() + QPoint(0, 30));
  EXPECT_EQ(doc().Field(FieldId::start_button_y), stopped);
  EXPECT_EQ(shell_->session().history().UndoCount(), 2u) << "one step a drag, none at the edge";

  // Zoomed in, a drag of the big clock on the upper screen counts canvas pixels.
  for (int i = 0; i < 7; ++i) Wheel(120);
  const QPoint clock = Find([](const Source& s) { return s.slot() == SlotId::clock_numbers; });
  Drag(clock, clock + QPoint(-6, 4));
  EXPECT_EQ(doc().Field(FieldId::big_clock_x), 131 - 6);
  EXPECT_EQ(doc().Field(FieldId::big_clock_y), 141 + 4);

  // What the current screen's panel does not offer is not dragged.
  SelectScreen(3);
  const int steps = static_cast<int>(shell_->session().history().UndoCount());
  Drag({10, 470}, {30, 470});
  EXPECT_EQ(static_cast<int>(shell_->session().history().UndoCount()), steps);
}

TEST_F(PreviewPickTest, DroppedPicturesAreImportedIntoTheSlotAsOneStep) {
  SelectScreen(3);
  const skin::SkinDocument start = doc();
  const imaging::Image blue(40, 14, imaging::MakeRgb(0, 0, 248));
  const std::string png = WritePng("blue.png", blue);
  ASSERT_TRUE(DropFile(viewport(), At({170, 425}), png));
  EXPECT_EQ(*doc().slots[skin::Index(SlotId::btn3)], blue);
  EXPECT_EQ(UndoText(), "Undo Import btn3");
  EXPECT_EQ(Status(), "btn3 (40 x 14)") << "the status names the new picture";
  Undo();
  EXPECT_EQ(doc(), start);

  const imaging::Image red(3, 2, imaging::MakeRgb(248, 0, 0));
  QWidget* button = Slot(SlotId::btn3);
  ASSERT_TRUE(DropFile(button, button->rect().center(), WritePng("red.PNG", red)));
  EXPECT_EQ(*doc().slots[skin::Index(SlotId::btn3)], red);
  EXPECT_EQ(shell_->session().history().UndoCount(), 1u);

  EXPECT_FALSE(DropFile(viewport(), At({100, 250}), png)) << "the hinge is no slot";
  EXPECT_FALSE(DropFile(Slot(SlotId::upper_screen), QPointF(5, 5), png)) << "a button of screen 0";
  const std::string text = (dir_.path() / "notes.txt").string();
  std::ofstream(text) << "no picture";
  EXPECT_FALSE(DropFile(viewport(), At({170, 425}), text));
  EXPECT_EQ(shell_->session().history().UndoCount(), 1u);

  // A file that is not what its name says gets the import's message and changes nothing.
  const std::string broken = (dir_.path() / "broken.png").string();
  std::ofstream(broken) << "not a png";
  ASSERT_TRUE(DropFile(viewport(),
                       At(Find([](const Source& s) { return s.slot() == SlotId::btn3; })), broken));
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_NE(dialogs_.errors[0].find("broken.png"), std::string::npos) << dialogs_.errors[0];
  EXPECT_EQ(shell_->session().history().UndoCount(), 1u);
}

// The menu of a picture on the preview and of an image button: Import picture asks for a file for
// that slot, Adjust import opens the studio on its picture; the hinge has no menu.
TEST_F(PreviewPickTest, TheMenuOfAPictureImportsOrAdjustsItsSlot) {
  SelectScreen(3);
  std::vector<std::string> shown;  // the items of the menu that opened, "(off)" when disabled
  QString choose;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
      shown.push_back(action->text().toStdString() + (action->isEnabled() ? "" : " (off)"));
      if (action->text() == choose) chosen = action;
    }
    if (chosen == nullptr) {
      menu->close();
      return;
    }
    menu->setActiveAction(chosen);  // chosen by the keyboard, as the user could
    QTest::keyClick(menu, Qt::Key_Return);
  });
  watch.start(5);
  const auto ask = [&](QWidget* place, QPoint at, const std::string& item) {
    shown.clear();
    choose = QString::fromStdString(item);
    // As the system asks for it, so that what takes the event on its way is part of the test.
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, place->mapToGlobal(at));
    QApplication::sendEvent(place, &event);
    QTest::qWait(40);
  };
  const std::string import = texts_.Text("LANG_IMAGE_IMPORT$");
  const std::string off = doc().Slot(SlotId::btn3).Empty() ? " (off)" : "";
  const std::string adjust = texts_.Text("LANG_IMAGE_ADJUST$") + off;
  const std::vector<std::string> items{import,
                                       adjust,
                                       "",
                                       texts_.Text("LANG_IMAGE_EXPORT$") + off,
                                       texts_.Text("LANG_IMAGE_REVERT$"),
                                       texts_.Text("LANG_IMAGE_EDIT$")};
  const QPoint btn3 = Find([](const Source& s) { return s.slot() == SlotId::btn3; });
  ask(viewport(), At(btn3).toPoint(), import);
  EXPECT_EQ(shown, items);
  ASSERT_FALSE(dialogs_.proposals.empty()) << "the chooser asks for btn3's file";
  EXPECT_NE(dialogs_.proposals.back().find("btn3"), std::string::npos) << dialogs_.proposals.back();

  ask(Slot(SlotId::btn3), QPoint(5, 5), texts_.Text("LANG_IMAGE_ADJUST$"));
  EXPECT_EQ(shown, items);
  EXPECT_EQ(dialogs_.studios.size(), doc().Slot(SlotId::btn3).Empty() ? 0u : 1u);

  ask(viewport(), At({100, 250}).toPoint(), import);
  EXPECT_TRUE(shown.empty()) << "the hinge has no menu";

  // Export writes the slot's picture as it is; Revert puts the built-in one back as one step.
  const imaging::Image red(5, 3, 0xf80000);
  ASSERT_TRUE(DropFile(Slot(SlotId::btn3), QPointF(5, 5), WritePng("red.png", red)));
  dialogs_.answers = {(dir_.path() / "out").string()};
  ask(Slot(SlotId::btn3), QPoint(5, 5), texts_.Text("LANG_IMAGE_EXPORT$"));
  const imaging::Decoded out = testing_support::ReadPicture(dir_.path() / "out.png");
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, red);
  const std::size_t steps = shell_->session().history().UndoCount();
  ask(Slot(SlotId::btn3), QPoint(5, 5), texts_.Text("LANG_IMAGE_REVERT$"));
  EXPECT_EQ(doc().Slot(SlotId::btn3), skin::BuiltInSlotPicture(SlotId::btn3));
  EXPECT_EQ(shell_->session().history().UndoCount(), steps + 1);

  // Edit in the image editor opens the slot's file once the skin folder holds what it shows.
  const std::string edit = texts_.Text("LANG_IMAGE_EDIT$");
  ask(Slot(SlotId::btn3), QPoint(5, 5), edit);
  ASSERT_FALSE(dialogs_.errors.empty());
  EXPECT_NE(dialogs_.errors.back().find(texts_.Text("LANG_EDIT_NEEDS_FOLDER$")), std::string::npos);
  const std::string folder = base::FolderWithSeparator((dir_.path() / "skin").string());
  fs::create_directories(folder);
  dialogs_.answers = {folder};
  Trigger(kMenuSaveFolder);
  ask(Slot(SlotId::btn3), QPoint(5, 5), edit);
  EXPECT_EQ(dialogs_.opened_with_system,
            std::vector<std::string>{folder + std::string(skin::Info(SlotId::btn3).file)});
}

}  // namespace
}  // namespace app

// The editor's windows on small and scaled screens: each lies inside the screen's available area,
// frame included, and the first window is as large as its preview at a good zoom. Run on the
// tests' screen and, through ctest, on 1366 x 768 and on 1920 x 1080 at 200%.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <fstream>

#include "app/colour_editor.h"
#include "app/guide_window.h"
#include "app/import_studio.h"
#include "app/information_box.h"
#include "app/window_fit.h"
#include "shell_fixture.h"

namespace app {
namespace {

TEST(FirstClientSize, TheLargestWholeZoomWithinThreeQuartersOfTheRoom) {
  const QSize chrome(0, 50);
  const struct {
    QSize room;
    QSize client;
  } cases[] = {
      {{1366, 728}, {866, 521}},         // zoom 1 is more than three quarters: zoom 1
      {{1920, 1040}, {866, 521}},        // zoom 2 is not within three quarters
      {{2560, 1400}, {866, 521}},        //
      {{2560, 1600}, {1008, 1011}},      // zoom 2
      {{3840, 2120}, {1274, 1501}},      // zoom 3
      {{100000, 100000}, {2604, 3951}},  // at most kLargestWholeZoom
      {{960, 500}, {866, 450}},          // 1920 x 1080 at 200%: within the whole room
      {{683, 344}, {683, 294}},          //
  };
  for (const auto& c : cases) {
    const QSize client = FirstClientSize(c.room, 470, chrome);
    EXPECT_EQ(client, c.client) << c.room.width();
    // Where the room allows, the panel's share of the window holds the panel's whole width.
    if (client.width() < c.room.width()) {
      EXPECT_GE(client.width() * kPanelShareNumerator / kPanelShareDenominator - 6, 470);
    }
  }
}

bool Inside(const QRect& room, const QRect& shown) { return room.contains(shown); }

TEST_F(ShellTest, EveryWindowFitsTheScreensAvailableArea) {
  const QRect room = window().screen()->availableGeometry();
  const auto expect_inside = [&](QWidget* w, const char* what) {
    QCoreApplication::processEvents();
    const QRect frame = w->frameGeometry();
    EXPECT_TRUE(Inside(room, frame))
        << what << " at " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
        << frame.height() << " on " << room.width() << "x" << room.height();
  };
  expect_inside(&window(), "the first window");
  window().showMaximized();
  QCoreApplication::processEvents();
  expect_inside(&window(), "the maximised window");
  QStatusBar* bar = window().statusBar();
  EXPECT_TRUE(Inside(room, QRect(bar->mapToGlobal(QPoint()), bar->size()))) << "its status bar";
  window().showNormal();

  // The studio on a photo for the upper screen, its result shown whole.
  imaging::FitSource source(imaging::Image(1600, 1200), std::nullopt);
  const StudioRequest request = StudioRequestFor(source, 1600, 1200, {256, 192});
  ImportStudio studio(texts_, request, {}, &window());
  studio.PlaceOnScreen(&window());
  studio.show();
  expect_inside(&studio, "the import studio");
  const auto* result = studio.findChild<QLabel*>("Result");
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(studio.rect().contains(QRect(result->mapTo(&studio, QPoint()), result->size())));
  EXPECT_GE(result->height(), result->pixmap().height()) << "every row of the result shows";

  ColourEditor editor(texts_, 0, &window(), "spinBoxTextHighLightColor");
  KeepOnScreen(&editor);
  editor.show();
  expect_inside(&editor, "the colour editor");

  InformationBox box(texts_, "Skinsmith v0.100531", QString(), &window());
  box.show();
  expect_inside(&box, "the information box");

  const std::string file = (dir_.path() / "guide.html").string();
  std::ofstream(file) << "<html><body>" << std::string(20000, 'x') << "</body></html>";
  GuideWindow guide(QString::fromStdString(file), "User guide", &window());
  guide.show();
  expect_inside(&guide, "the guide");
}

}  // namespace
}  // namespace app

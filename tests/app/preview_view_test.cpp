// The preview view: the pixels it puts on screen at each zoom and device-pixel ratio, centring and
// scroll range, and the wheel, Shift+wheel, Ctrl+0 and Options > Fit through the editor. The tests
// named PreviewDevicePixels run again under QT_SCALE_FACTOR=2 and 1.5 (tests/app/CMakeLists.txt).
#include "app/preview_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <cstring>

#include "app/fixed_numbers.h"
#include "preview/draw.h"
#include "shell_fixture.h"

namespace app {
namespace {

using imaging::Image;
using imaging::MakeRgb;
using imaging::Rgb;

constexpr Rgb kBackground = MakeRgb(0, 0, 200);
constexpr int kProbePixels = preview::kCanvasWidth * preview::kCanvasHeight;

// The zoom after `notches` wheel notches up from 1, summed as the wheel sums it.
float NotchZoom(int notches) {
  float zoom = 1.0f;
  for (int i = 0; i < notches; ++i) zoom += 0.15f;
  return zoom;
}

// A 266 x 490 canvas whose every pixel has a colour of its own, so that a colour on screen names
// the canvas pixel it came from. None has the background's blue.
Image ProbeCanvas() {
  Image canvas(preview::kCanvasWidth, preview::kCanvasHeight);
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const int code = y * canvas.width + x;
      canvas.At(x, y) = MakeRgb(code & 0xFF, (code >> 8) & 0xFF, code >> 16);
    }
  }
  return canvas;
}

// The pixel of ProbeCanvas that a colour names; the canvas's pixel count or more for any other.
int ProbeCode(Rgb colour) { return static_cast<int>(colour & 0xFFFFFF); }

// The view's viewport as it stands in its window's backing store (what goes on screen), in
// device pixels, colours in the core's form. Qt 6.4's offscreen platform grabs a window at its
// size in logical pixels only: on a scaled screen the view is grabbed by painting it afresh.
Image Grab(const PreviewView& view) {
  QWidget* viewport = view.viewport();
  QWidget* window = viewport->window();
  QImage shot;
  QRect device;
  if (viewport->devicePixelRatioF() == 1.0) {
    shot = window->screen()->grabWindow(window->winId()).toImage();
    device = QRect(viewport->mapTo(window, QPoint(0, 0)), viewport->size());
  } else {
    shot = viewport->grab().toImage();
    device = shot.rect();
  }
  // RGBX8888 holds the bytes in the core's order: R, G, B and a fourth byte, cleared here.
  const QImage grabbed = shot.copy(device).convertToFormat(QImage::Format_RGBX8888);
  Image out(grabbed.width(), grabbed.height());
  for (int y = 0; y < out.height; ++y) {
    std::memcpy(&out.At(0, y), grabbed.constScanLine(y), sizeof(Rgb) * out.width);
  }
  for (Rgb& c : out.pixels) c &= 0xFFFFFF;
  return out;
}

// The canvas pixel of ProbeCanvas shown under `at` (a viewport position), as x and y.
QPoint ProbePixelAt(const PreviewView& view, QPointF at) {
  const qreal ratio = view.viewport()->devicePixelRatioF();
  const int code =
      ProbeCode(Grab(view).At(static_cast<int>(at.x() * ratio), static_cast<int>(at.y() * ratio)));
  return {code % preview::kCanvasWidth, code / preview::kCanvasWidth};
}

// Where the canvas's top-left corner belongs in the viewport: centred on an axis where the canvas
// is smaller than the view, else scrolled by the scroll bar's value.
QPoint ExpectedOrigin(const PreviewView& view) {
  const QSize area = view.viewport()->size();
  const preview::CanvasSize shown = preview::ZoomedCanvasSize(view.zoom());
  return {shown.width < area.width() ? (area.width() - shown.width) / 2
                                     : -view.horizontalScrollBar()->value(),
          shown.height < area.height() ? (area.height() - shown.height) / 2
                                       : -view.verticalScrollBar()->value()};
}

// The device-pixel ratio as a whole number, or 0 when it has a fraction.
int WholeRatio(const QWidget& widget) {
  const qreal ratio = widget.devicePixelRatioF();
  return ratio == std::floor(ratio) ? static_cast<int>(ratio) : 0;
}

// Every device pixel of the grab holds, in blocks of ratio x ratio, the pixel that the CLI's
// scaler gives at that place of the zoomed canvas, or the background around it. With a whole
// `grid` zoom, the first device row and column of each canvas pixel show the grid's shade of it.
void ExpectScaledCanvasInBlocks(const PreviewView& view, const Image& canvas, int ratio,
                                int grid = 0) {
  QCoreApplication::processEvents();
  const preview::CanvasSize shown = preview::ZoomedCanvasSize(view.zoom());
  const Image scaled = preview::ScaleNearest(canvas, shown.width, shown.height);
  const QPoint origin = ExpectedOrigin(view);
  const Image grab = Grab(view);
  ASSERT_EQ(grab.width, view.viewport()->width() * ratio);
  int wrong = 0;
  for (int y = 0; y < grab.height; ++y) {
    for (int x = 0; x < grab.width; ++x) {
      const int cx = x / ratio - origin.x();
      const int cy = y / ratio - origin.y();
      const bool inside = cx >= 0 && cx < shown.width && cy >= 0 && cy < shown.height;
      Rgb expected = inside ? scaled.At(cx, cy) : kBackground;
      const bool line = (x % ratio == 0 && cx % std::max(grid, 1) == 0) ||
                        (y % ratio == 0 && cy % std::max(grid, 1) == 0);
      if (inside && grid > 0 && line) expected = GridShade(expected);
      if (grab.At(x, y) != expected && ++wrong <= 5) {
        ADD_FAILURE() << "device pixel " << x << "," << y << " at zoom " << view.zoom() << " is "
                      << std::hex << grab.At(x, y) << ", expected " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(PreviewDevicePixels, EveryZoomShowsTheScalersPixelsInWholeBlocks) {
  PreviewView view(nullptr);
  const int ratio = WholeRatio(view);
  if (ratio == 0) GTEST_SKIP() << "a fractional device-pixel ratio has no whole blocks";
  view.resize(300, 400);
  view.show();
  for (const int notches : {0, 1, 13, 27}) {
    view.ShowCanvas(ProbeCanvas(), NotchZoom(notches), kBackground);
    QCoreApplication::processEvents();
    const preview::CanvasSize shown = preview::ZoomedCanvasSize(NotchZoom(notches));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(),
              std::max(0, shown.width - view.viewport()->width()));
    EXPECT_EQ(view.verticalScrollBar()->maximum(),
              std::max(0, shown.height - view.viewport()->height()));
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 3);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    ExpectScaledCanvasInBlocks(view, ProbeCanvas(), ratio);
  }
  // Larger than the canvas: centred on the background, which follows the colour given, and a new
  // canvas with nothing else changed leaves the margins as they were painted.
  view.resize(400, 600);
  view.ShowCanvas(Image(preview::kCanvasWidth, preview::kCanvasHeight), 1.0f, MakeRgb(9, 9, 9));
  QCoreApplication::processEvents();
  view.ShowCanvas(Image(preview::kCanvasWidth, preview::kCanvasHeight), 1.0f, kBackground);
  QCoreApplication::processEvents();
  view.ShowCanvas(ProbeCanvas(), 1.0f, kBackground);
  QCoreApplication::processEvents();
  EXPECT_EQ(ExpectedOrigin(view), QPoint(67, 55));
  EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
  ExpectScaledCanvasInBlocks(view, ProbeCanvas(), ratio);
}

// A faint grid, as pixel-art editors draw it: every line pixel differs from the pixel under it by
// 15 to 20% of the brightness range, lighter over dark pixels and darker over light ones, and
// keeps its hue (no channel moves the other way).
TEST(PreviewGrid, TheLinesDifferFromThePixelsUnderThemByAFifthAtMost) {
  const auto luma = [](Rgb c) {
    return 0.299 * imaging::RedOf(c) + 0.587 * imaging::GreenOf(c) + 0.114 * imaging::BlueOf(c);
  };
  for (const Rgb pixel :
       {MakeRgb(0, 0, 0), MakeRgb(255, 255, 255), MakeRgb(127, 127, 127), MakeRgb(128, 128, 128),
        MakeRgb(255, 0, 0), MakeRgb(0, 0, 255), MakeRgb(0, 255, 0), MakeRgb(255, 0, 255),
        MakeRgb(10, 200, 90), MakeRgb(248, 248, 0), MakeRgb(40, 8, 8)}) {
    const Rgb line = GridShade(pixel);
    const double contrast = (luma(line) - luma(pixel)) / 255;
    const bool dark = luma(pixel) < 127.5;
    EXPECT_GE(std::abs(contrast), 0.15) << std::hex << pixel;
    EXPECT_LE(std::abs(contrast), 0.20) << std::hex << pixel;
    EXPECT_EQ(contrast > 0, dark) << std::hex << pixel;
    for (auto channel : {imaging::RedOf, imaging::GreenOf, imaging::BlueOf}) {
      EXPECT_TRUE(dark ? channel(line) >= channel(pixel) : channel(line) <= channel(pixel))
          << std::hex << pixel;
    }
  }
}

TEST(PreviewDevicePixels, TheGridLinesTheFirstDevicePixelsOfEachCanvasPixelFromItsZoom) {
  PreviewView view(nullptr);
  const int ratio = WholeRatio(view);
  if (ratio == 0) GTEST_SKIP() << "a fractional device-pixel ratio has no whole blocks";
  view.resize(300, 400);
  view.show();
  view.SetGrid(4.0f);
  for (const int zoom : {3, 4, 7}) {
    view.ShowCanvas(ProbeCanvas(), static_cast<float>(zoom), kBackground);
    view.horizontalScrollBar()->setValue(37);
    view.verticalScrollBar()->setValue(zoom * 100 + 1);
    EXPECT_EQ(view.GridShown(), zoom >= 4);
    ExpectScaledCanvasInBlocks(view, ProbeCanvas(), ratio, zoom >= 4 ? zoom : 0);
  }
  view.SetGrid(0);
  ExpectScaledCanvasInBlocks(view, ProbeCanvas(), ratio);
}

TEST_F(ShellTest, PreviewDevicePixelsShowTheEditorsCanvasInWholeBlocks) {
  // Room for the whole canvas, which the first window leaves out on a screen smaller than it.
  window().resize(kInitialClientWidth, kInitialClientHeight + window().Chrome().height());
  QCoreApplication::processEvents();
  PreviewView& view = *window().preview();
  const int ratio = WholeRatio(view);
  if (ratio == 0) GTEST_SKIP() << "a fractional device-pixel ratio has no whole blocks";
  shell_->state().bg_color = kBackground;
  window().MenuItem(kMenuFirstScreen + 4)->trigger();
  QCoreApplication::processEvents();
  // At scale 2 each of the 266 x 490 canvas pixels is a 2 x 2 block of its colour.
  const Image canvas = preview::RenderPreview(shell_->document(), 4, kBackground, 1.0f);
  ASSERT_GE(view.viewport()->width(), canvas.width) << "the whole canvas is in view";
  ASSERT_GE(view.viewport()->height(), canvas.height);
  ExpectScaledCanvasInBlocks(view, canvas, ratio);
}

TEST(PreviewDevicePixels, NoPixelIsSmoothedAtAnyRatio) {
  PreviewView view(nullptr);
  view.resize(300, 520);
  view.show();
  view.ShowCanvas(ProbeCanvas(), 1.0f, kBackground);
  QCoreApplication::processEvents();
  const qreal ratio = view.devicePixelRatioF();
  const Image grab = Grab(view);
  // Every device pixel is one canvas pixel's colour or the background: nothing is a blend.
  for (const Rgb c : grab.pixels) {
    if (c != kBackground) {
      ASSERT_LT(ProbeCode(c), kProbePixels) << "a blended colour";
    }
  }
  // Across the middle row each canvas column covers floor(ratio) or ceil(ratio) whole device
  // pixels, in order, and none is left out.
  int previous = -1;
  int run = 0;
  for (int x = 0; x < grab.width; ++x) {
    const Rgb c = grab.At(x, grab.height / 2);
    const int column = c == kBackground ? -1 : ProbeCode(c) % preview::kCanvasWidth;
    if (column < 0 || column == previous) {
      run += column >= 0;
      continue;
    }
    EXPECT_EQ(column, previous + 1) << "at device x " << x;
    if (previous >= 0) {
      EXPECT_GE(run, static_cast<int>(std::floor(ratio))) << "canvas column " << previous;
      EXPECT_LE(run, static_cast<int>(std::ceil(ratio))) << "canvas column " << previous;
    }
    previous = column;
    run = 1;
  }
  EXPECT_EQ(previous, preview::kCanvasWidth - 1) << "the last canvas column is shown";
}

// The pointer names the canvas pixel that is painted under it, at every zoom and device-pixel
// ratio, and goes on counting canvas pixels beyond the canvas's edges.
TEST(PreviewDevicePixels, PointerNamesTheCanvasPixelShownUnderIt) {
  PreviewView view(nullptr);
  view.resize(300, 400);
  view.show();
  for (const int notches : {0, 1, 6, 27}) {
    view.ShowCanvas(ProbeCanvas(), NotchZoom(notches), kBackground);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
    QCoreApplication::processEvents();
    const QPoint origin = view.CanvasOrigin();
    const Image grab = Grab(view);
    const qreal ratio = view.viewport()->devicePixelRatioF();
    int wrong = 0;
    for (double y = 0.25; y < view.viewport()->height(); y += 2.5) {
      for (double x = 0.25; x < view.viewport()->width(); x += 1.5) {
        const QPointF at(x, y);
        const QPoint named = view.CanvasPointAt(at);
        const bool inside = x >= origin.x() && y >= origin.y() &&
                            x < origin.x() + view.ShownSize().width &&
                            y < origin.y() + view.ShownSize().height;
        const int code =
            ProbeCode(grab.At(static_cast<int>(x * ratio), static_cast<int>(y * ratio)));
        const QPoint shown(code % preview::kCanvasWidth, code / preview::kCanvasWidth);
        if (inside && named != shown && ++wrong <= 3) {
          ADD_FAILURE() << "zoom " << view.zoom() << " at " << x << "," << y << ": " << named.x()
                        << "," << named.y();
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  // Unscaled and centred, one logical pixel left of the canvas is canvas column -1.
  view.resize(400, 600);
  view.ShowCanvas(ProbeCanvas(), 1.0f, kBackground);
  QCoreApplication::processEvents();
  const QPoint origin = view.CanvasOrigin();
  EXPECT_EQ(view.CanvasPointAt(QPointF(origin) + QPointF(-0.5, 0.5)), QPoint(-1, 0));
  EXPECT_EQ(view.CanvasPointAt(QPointF(origin) + QPointF(266.5, 490.5)), QPoint(266, 490));
}

TEST(PreviewView, WheelOverAWideAreaFollowsThePointerOnBothAxes) {
  // The shell's wheel rule in short: a notch up adds 0.15, a notch down takes it away.
  float zoom = NotchZoom(7);
  PreviewView view([&view, &zoom](int delta, QPointF at) {
    zoom += delta > 0 ? 0.15f : -0.15f;
    view.ZoomAround(zoom, at);
    view.ShowCanvas(ProbeCanvas(), zoom, kBackground);
  });
  // As wide as a maximised window's preview: the canvas overflows it only in height, and is
  // narrower than it until the largest zooms.
  view.resize(1200, 1000);
  view.show();
  view.ShowCanvas(ProbeCanvas(), zoom, kBackground);
  QCoreApplication::processEvents();
  const QPointF at(700.5, 500.5);
  for (const int delta : {120, 120, 120, 120, 120, 120, 120, -120, -120, -120, -120}) {
    const QPoint before = ProbePixelAt(view, at);
    SendWheel(view.viewport(), QPoint(0, delta), at);
    const QPoint after = ProbePixelAt(view, at);
    EXPECT_LE(std::abs(after.x() - before.x()), 1) << "zoom " << zoom;
    EXPECT_LE(std::abs(after.y() - before.y()), 1) << "zoom " << zoom;
  }
  EXPECT_EQ(zoom, NotchZoom(10));
}

TEST_F(ShellTest, WheelNotchKeepsTheCanvasPointUnderThePointer) {
  // The window of the fixed layout, whose preview is as wide as the unscaled canvas.
  window().resize(kInitialClientWidth, window().height());
  QCoreApplication::processEvents();
  PreviewView& view = *window().preview();
  // The canvas point under `at`, in canvas pixels.
  const auto point_under = [&view](QPointF at) {
    const QPoint origin = ExpectedOrigin(view);
    const preview::CanvasSize shown = view.ShownSize();
    return QPointF((at.x() - origin.x()) * preview::kCanvasWidth / shown.width,
                   (at.y() - origin.y()) * preview::kCanvasHeight / shown.height);
  };
  const auto expect_kept = [&](QPointF at, int delta) {
    const QPointF before = point_under(at);
    Wheel(QPoint(0, delta), at);
    const QPointF after = point_under(at);
    EXPECT_LE(std::abs(after.x() - before.x()), 1.0) << "zoom " << view.zoom() << " at " << at.x();
    EXPECT_LE(std::abs(after.y() - before.y()), 1.0) << "zoom " << view.zoom() << " at " << at.y();
  };
  for (const QPointF at : {QPointF(30.5, 460), QPointF(240, 15)}) {
    for (int i = 0; i < 27; ++i) expect_kept(at, 120);
    EXPECT_EQ(view.ShownSize(), (preview::CanvasSize{1343, 2475}));
    for (int i = 0; i < 20; ++i) expect_kept(at, -120);
    window().MenuItem(kMenuZoomOne)->trigger();
    QCoreApplication::processEvents();
  }
}

TEST_F(ShellTest, ShiftWheelAndHorizontalWheelScrollWithoutZooming) {
  PreviewView& view = *window().preview();
  for (int i = 0; i < 10; ++i) Wheel(120);
  const float zoom = shell_->state().preview_zoom;
  QScrollBar* vertical = view.verticalScrollBar();
  QScrollBar* horizontal = view.horizontalScrollBar();
  vertical->setValue(100);
  horizontal->setValue(100);
  const int line = vertical->singleStep();  // 8 canvas pixels
  Wheel(QPoint(0, -120), QPointF(50, 50), Qt::ShiftModifier);
  EXPECT_EQ(vertical->value(), 100 + 3 * line) << "a notch down scrolls three lines down";
  Wheel(QPoint(0, 120), QPointF(50, 50), Qt::ShiftModifier);
  EXPECT_EQ(vertical->value(), 100);
  Wheel(QPoint(-120, 0), QPointF(50, 50));
  EXPECT_EQ(horizontal->value(), 100 + 3 * line);
  EXPECT_EQ(shell_->state().preview_zoom, zoom);
  const int redraws = shell_->redraw_count();
  vertical->setValue(vertical->maximum());
  EXPECT_EQ(shell_->redraw_count(), redraws) << "scrolling repaints without drawing the screens";
}

TEST(WholeZoom, FitStepsAndTheArchivesFolder) {
  const std::pair<QSize, float> fits[] = {{{100, 100}, 1},  {{531, 980}, 1},   {{532, 980}, 2},
                                          {{532, 979}, 1},  {{1596, 2940}, 6}, {{4000, 4000}, 8},
                                          {{2127, 3920}, 7}};
  for (const auto& [area, fit] : fits) EXPECT_EQ(FitZoom(area), fit) << area.width();
  const std::tuple<float, bool, float> steps[] = {{1, true, 2},
                                                  {1, false, 1},
                                                  {NotchZoom(1), true, 2},
                                                  {NotchZoom(20), true, 5},
                                                  {NotchZoom(20), false, 3},
                                                  {NotchZoom(27), true, 6},
                                                  {NotchZoom(27), false, 5},
                                                  {8, true, 8},
                                                  {8, false, 7},
                                                  {1.9999f, true, 3}};
  for (const auto& [from, up, to] : steps) EXPECT_EQ(WholeZoomStep(from, up), to) << from << up;
  EXPECT_EQ(ArchiveFolder("/home/a/skins/blue/", "/home/a/skins/blue/"), "/home/a/skins/");
  EXPECT_EQ(ArchiveFolder("/blue/", "/x/"), "/");
  EXPECT_EQ(ArchiveFolder("", "/home/a/dl"), "/home/a/dl/");
}

}  // namespace
}  // namespace app

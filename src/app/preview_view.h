// The preview view: the canvas shown at the zoom inside a scrollable area, centred on the
// background colour when the area is larger, scaled to the nearest pixel while it is painted; the
// pointer over it and files dropped on it are reported in canvas pixels.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/image.h"
#include "preview/preview.h"

class QMimeData;

namespace app {

// The extensions of the picture files the editor imports, whether chosen or dropped: BMP, PNG and
// JPEG.
inline constexpr std::string_view kPictureExtensions[] = {"bmp", "png", "jpg", "jpeg", "jpe"};

// The file that dragged or dropped `data` carries when it is one local picture file (by its name's
// extension, one of kPictureExtensions in any letter case); empty otherwise.
QString DroppedImageFile(const QMimeData* data);

// The pixel grid's shade of a pixel (the core's packed colour): lighter over a dark pixel and
// darker over a light one, by kGridContrast of the full brightness range (Rec. 601 luma), so
// that the lines show over any colour and leave the picture as it is.
imaging::Rgb GridShade(imaging::Rgb colour);
inline constexpr int kGridContrast = 44;  // of 255: 17%

class PreviewView : public QAbstractScrollArea {
 public:
  // Receives each plain wheel message over the view: its vertical delta and the pointer's position
  // in the viewport. Shift+wheel and horizontal wheels scroll instead.
  using WheelHandler = std::function<void(int delta, QPointF at)>;

  explicit PreviewView(WheelHandler on_wheel, QWidget* parent = nullptr);

  // The pointer over the view: a move (with or without the left button held), a press or release
  // of the left button, or leaving the view; `canvas` is the canvas pixel under it (CanvasPointAt).
  struct Pointer {
    enum class Type { kMove, kPress, kRelease, kLeave };
    Type type;
    QPoint canvas;
    bool left_held;  // the left button is down (during a move)
  };
  using PointerHandler = std::function<void(const Pointer&)>;
  // A file dragged over the view (`path` empty: whether it would be taken there) or dropped on it
  // (`path` the dropped file) at canvas pixel `canvas`; true when it is or would be taken.
  using DropHandler = std::function<bool(QPoint canvas, const QString& path)>;
  void SetPointerHandlers(PointerHandler on_pointer, DropHandler on_drop);

  // Shows the 266 x 490 `canvas` at the size `zoom` gives (preview::ZoomedCanvasSize), every
  // shown pixel taking its nearest canvas pixel as the CLI's scaler does. A new zoom is set as
  // SetZoom sets it.
  void ShowCanvas(imaging::Image canvas, float zoom, imaging::Rgb background);

  // Shows the canvas at `zoom`, keeping the canvas point at the middle of the view in place
  // (ZoomAround); nothing changes when the zoom is the current one.
  void SetZoom(float zoom);

  // Shows the canvas at `zoom` centred in the view, scrolled to its middle where it overflows; it
  // stays centred as the view is resized until a zoom around a point moves it.
  void SetZoomCentred(float zoom);

  // Changes the zoom so that the canvas point under `anchor` (a viewport position) stays under it:
  // by scrolling where the canvas overflows the view, by moving it off centre where it is smaller
  // (it stops at the view's edges there, and is centred whenever all of it fits). The pixels
  // shown are unchanged until the next ShowCanvas.
  void ZoomAround(float zoom, QPointF anchor);

  // Frames `canvas_rect` (canvas pixels) on the view, to show where something is; nothing takes
  // the frame away.
  void SetMark(std::optional<QRect> canvas_rect);
  std::optional<QRect> mark() const { return mark_; }

  float zoom() const { return zoom_; }
  // The colour of canvas pixel `at` as last shown (0 outside the canvas).
  imaging::Rgb CanvasPixel(QPoint at) const;

  // Draws a line along the top and left edge of every canvas pixel while the zoom is
  // `from_zoom` or more, so that the pixels of a picture can be counted; 0 draws none. A line
  // lightens dark pixels and darkens light ones, over any colour.
  void SetGrid(float from_zoom);
  bool GridShown() const { return grid_from_ > 0 && zoom_ >= grid_from_; }
  // The size the canvas is shown at.
  preview::CanvasSize ShownSize() const { return shown_; }
  // Where the canvas's top-left corner stands in the viewport: centred where the whole canvas fits
  // the area; otherwise minus the scroll position on an axis where it overflows, and where the
  // last zoom put it, whole in view, on an axis where it fits.
  QPoint CanvasOrigin() const;
  // The canvas pixel shown under `at` (a viewport position), as painting maps it; outside the
  // canvas it goes on in the same steps, so that a drag can leave the canvas.
  QPoint CanvasPointAt(QPointF at) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateScrollRange();
  void ScrollBy(QScrollBar* bar, int wheel_delta);
  void Report(PreviewView::Pointer::Type type, QPointF at, bool left_held);

  WheelHandler on_wheel_;
  PointerHandler on_pointer_;
  DropHandler on_drop_;
  int canvas_width_ = preview::kCanvasWidth;
  int canvas_height_ = preview::kCanvasHeight;
  std::vector<imaging::Rgb> pixels_;        // the canvas as the core drew it
  std::uint32_t background_ = 0xFF000000u;  // in the frame's format
  float zoom_ = 1.0f;
  preview::CanvasSize shown_{preview::kCanvasWidth, preview::kCanvasHeight};
  std::optional<QPoint> free_origin_;  // the origin the last zoom asked for; none: centred
  std::optional<QRect> mark_;
  QImage frame_;              // device pixels of the part being painted; kept between paints
  std::vector<int> columns_;  // canvas column of each device column of the frame
  std::vector<int> rows_;     // canvas row of each device row, -1 in the margins
  float grid_from_ = 0;
  std::vector<char> column_edges_;  // whether a device column is the first of its canvas column
};

}  // namespace app

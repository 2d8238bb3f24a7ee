// The preview view. Each paint builds the exposed part of the view in device pixels from the
// unscaled canvas, so a redraw costs the same at every zoom.
#include "app/preview_view.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "base/paths.h"
#include "preview/draw.h"

namespace app {
namespace {

// Scroll-bar arrows and Shift+wheel move by this many canvas pixels a line.
constexpr int kScrollLine = 8;
constexpr double kWheelNotch = 120.0;

// The frame is built in the format of the window's backing store, so drawing it is a plain copy
// (a frame Qt had to convert would be converted on its thread pool at every paint).
constexpr QImage::Format kFrameFormat = QImage::Format_RGB32;

// The core's packed colour (red in the lowest byte) as QImage::Format_RGB32 (0xFFRRGGBB).
constexpr std::uint32_t ToRgb32(imaging::Rgb colour) {
  return 0xFF000000u | (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}

// The canvas index that each of `count` device pixels from `first` shows along one axis, or -1
// where it shows the background. A device pixel shows the logical pixel that holds its centre, and
// a logical pixel its nearest canvas pixel; with a whole device-pixel ratio every canvas pixel
// thus covers whole blocks of device pixels, and no pixel is ever a blend of two.
void MapAxis(std::vector<int>& map, int first, int count, qreal ratio, int origin, int shown,
             int canvas) {
  map.resize(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const int logical = static_cast<int>(std::floor((first + k + 0.5) / ratio)) - origin;
    map[k] = logical >= 0 && logical < shown ? preview::NearestSource(logical, shown, canvas) : -1;
  }
}

// The share (of 256) of the way to white that lifts a pixel of luma `luma` below mid-grey by
// kGridContrast, or of the way to black that lowers a lighter one by as much.
constexpr std::array<int, 256> kGridShares = [] {
  std::array<int, 256> shares{};
  for (int luma = 0; luma < 256; ++luma) {
    shares[luma] = kGridContrast * 256 / (luma < 128 ? 255 - luma : luma);
  }
  return shares;
}();

// GridShade on a pixel with red at bit `kRed` and blue at bit `kBlue` (green at 8), the rest kept.
template <int kRed, int kBlue>
constexpr std::uint32_t ShadeForGrid(std::uint32_t pixel) {
  const int r = pixel >> kRed & 0xFF, g = pixel >> 8 & 0xFF, b = pixel >> kBlue & 0xFF;
  const int luma = (r * 77 + g * 150 + b * 29) >> 8;
  const int share = kGridShares[luma];
  const auto shade = [&](int c) {
    return static_cast<std::uint32_t>(luma < 128 ? c + ((255 - c) * share >> 8)
                                                 : c - (c * share >> 8));
  };
  return (pixel & ~(0xFFu << kRed | 0xFF00u | 0xFFu << kBlue)) | shade(r) << kRed | shade(g) << 8 |
         shade(b) << kBlue;
}

// A pixel of the frame (Format_RGB32) under a grid line.
constexpr std::uint32_t GridPixel(std::uint32_t pixel) { return ShadeForGrid<16, 0>(pixel); }

// Marks each device pixel that is the first of its canvas pixel along one axis (`map` from
// MapAxis, `before` the canvas index of the device pixel just before the first).
void MarkEdges(std::vector<char>& edges, const std::vector<int>& map, int before) {
  edges.resize(map.size());
  for (std::size_t k = 0; k < map.size(); ++k) {
    const int previous = k == 0 ? before : map[k - 1];
    edges[k] = map[k] >= 0 && map[k] != previous;
  }
}

// The canvas pixel that logical pixel `logical` from the canvas's origin shows along one axis:
// preview::NearestSource inside the canvas, and the same steps beyond it (rounding down).
int CanvasCoordinate(std::int64_t logical, int shown, int canvas) {
  const std::int64_t numerator = (2 * logical + 1) * canvas;
  const std::int64_t denominator = 2 * static_cast<std::int64_t>(shown);
  const std::int64_t quotient = numerator / denominator;
  return static_cast<int>(numerator % denominator < 0 ? quotient - 1 : quotient);
}

}  // namespace

imaging::Rgb GridShade(imaging::Rgb colour) { return ShadeForGrid<0, 16>(colour) & 0xFFFFFFu; }

QString DroppedImageFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  const std::string utf8 = path.toStdString();
  const auto has = [&utf8](std::string_view extension) {
    return base::HasExtension(utf8, "." + std::string(extension));
  };
  return std::ranges::any_of(kPictureExtensions, has) ? path : QString();
}

PreviewView::PreviewView(WheelHandler on_wheel, QWidget* parent)
    : QAbstractScrollArea(parent), on_wheel_(std::move(on_wheel)) {
  setFrameShape(QFrame::NoFrame);
  // Moves are reported without a button held too: the editor names what is under the pointer.
  viewport()->setMouseTracking(true);
  // Every paint covers all it is asked to: Qt need not clear the viewport first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  UpdateScrollRange();
}

void PreviewView::ShowCanvas(imaging::Image canvas, float zoom, imaging::Rgb background) {
  const std::uint32_t colour = ToRgb32(background);
  const bool same_frame = zoom == zoom_ && colour == background_ && canvas.width == canvas_width_ &&
                          canvas.height == canvas_height_;
  SetZoom(zoom);
  background_ = colour;
  canvas_width_ = canvas.width;
  canvas_height_ = canvas.height;
  pixels_ = std::move(canvas.pixels);
  if (same_frame) {
    // Only the canvas changed: the margins around it keep their paint.
    viewport()->update(QRect(CanvasOrigin(), QSize(shown_.width, shown_.height)));
  } else {
    viewport()->update();
  }
}

imaging::Rgb PreviewView::CanvasPixel(QPoint at) const {
  if (at.x() < 0 || at.y() < 0 || at.x() >= canvas_width_ || at.y() >= canvas_height_ ||
      pixels_.empty()) {
    return 0;
  }
  return pixels_[static_cast<std::size_t>(at.y()) * canvas_width_ + at.x()];
}

void PreviewView::SetGrid(float from_zoom) {
  if (from_zoom == grid_from_) return;
  grid_from_ = from_zoom;
  viewport()->update();
}

void PreviewView::SetZoom(float zoom) {
  if (zoom != zoom_) ZoomAround(zoom, QRectF(viewport()->rect()).center());
}

void PreviewView::SetZoomCentred(float zoom) {
  zoom_ = zoom;
  shown_ = preview::ZoomedCanvasSize(zoom);
  UpdateScrollRange();
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setValue((bar->minimum() + bar->maximum()) / 2);
  }
  free_origin_.reset();
  viewport()->update();
}

void PreviewView::ZoomAround(float zoom, QPointF anchor) {
  const QPoint origin = CanvasOrigin();
  const double x = (anchor.x() - origin.x()) / shown_.width;  // as a share of the canvas
  const double y = (anchor.y() - origin.y()) / shown_.height;
  zoom_ = zoom;
  shown_ = preview::ZoomedCanvasSize(zoom);
  UpdateScrollRange();
  // The origin that keeps the point in place: reached by scrolling on an axis where the canvas
  // overflows the view, by moving it off centre on one where it fits (CanvasOrigin).
  const QPoint wanted(static_cast<int>(std::lround(anchor.x() - x * shown_.width)),
                      static_cast<int>(std::lround(anchor.y() - y * shown_.height)));
  horizontalScrollBar()->setValue(-wanted.x());
  verticalScrollBar()->setValue(-wanted.y());
  free_origin_ = wanted;
  viewport()->update();
}

QPoint PreviewView::CanvasOrigin() const {
  const QSize view = viewport()->size();
  const QSize area = maximumViewportSize();
  // Where the whole canvas fits it is centred. Otherwise, on an axis where the canvas overflows
  // the view it is scrolled; on one where it fits it stays where the last zoom put it, whole in
  // view, so that zooming over a wide area follows the pointer on both axes.
  const bool centre =
      !free_origin_ || (shown_.width <= area.width() && shown_.height <= area.height());
  const QPoint free = free_origin_.value_or(QPoint());
  const auto axis = [centre](int view_size, int shown, int free_at, const QScrollBar* bar) {
    if (shown > view_size) return -bar->value();
    return centre ? (view_size - shown) / 2 : std::clamp(free_at, 0, view_size - shown);
  };
  return {axis(view.width(), shown_.width, free.x(), horizontalScrollBar()),
          axis(view.height(), shown_.height, free.y(), verticalScrollBar())};
}

QPoint PreviewView::CanvasPointAt(QPointF at) const {
  const QPoint origin = CanvasOrigin();
  // The device pixel under the pointer shows the logical pixel that holds its centre (MapAxis).
  const qreal ratio = viewport()->devicePixelRatioF();
  const auto logical = [ratio](qreal position) {
    return static_cast<std::int64_t>(std::floor((std::floor(position * ratio) + 0.5) / ratio));
  };
  return {CanvasCoordinate(logical(at.x()) - origin.x(), shown_.width, canvas_width_),
          CanvasCoordinate(logical(at.y()) - origin.y(), shown_.height, canvas_height_)};
}

void PreviewView::SetPointerHandlers(PointerHandler on_pointer, DropHandler on_drop) {
  on_pointer_ = std::move(on_pointer);
  on_drop_ = std::move(on_drop);
  setAcceptDrops(on_drop_ != nullptr);
  viewport()->setAcceptDrops(on_drop_ != nullptr);
}

void PreviewView::Report(Pointer::Type type, QPointF at, bool left_held) {
  if (on_pointer_) on_pointer_({type, CanvasPointAt(at), left_held});
}

void PreviewView::mouseMoveEvent(QMouseEvent* event) {
  Report(Pointer::Type::kMove, event->position(), event->buttons() & Qt::LeftButton);
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Report(Pointer::Type::kPress, event->position(), true);
}

void PreviewView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Report(Pointer::Type::kRelease, event->position(), false);
}

bool PreviewView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave && on_pointer_)
    on_pointer_({Pointer::Type::kLeave, {}, false});
  return QAbstractScrollArea::viewportEvent(event);
}

void PreviewView::dragEnterEvent(QDragEnterEvent* event) {
  // Whether the point takes the file is asked as it moves.
  if (on_drop_ && !DroppedImageFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PreviewView::dragMoveEvent(QDragMoveEvent* event) {
  const bool taken = on_drop_ && !DroppedImageFile(event->mimeData()).isEmpty() &&
                     on_drop_(CanvasPointAt(event->position()), QString());
  if (taken) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PreviewView::dropEvent(QDropEvent* event) {
  const QString path = DroppedImageFile(event->mimeData());
  if (on_drop_ && !path.isEmpty() && on_drop_(CanvasPointAt(event->position()), path)) {
    event->acceptProposedAction();
  }
}

void PreviewView::UpdateScrollRange() {
  QSize view = viewport()->size();
  // Qt shows and hides the scroll bars only later: a canvas that fits the whole area will have it.
  const QSize area = maximumViewportSize();
  if (shown_.width <= area.width() && shown_.height <= area.height()) view = area;
  const int line = std::max(1, static_cast<int>(std::lround(kScrollLine * zoom_)));
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, shown_.width - view.width()));
  horizontal->setPageStep(view.width());
  horizontal->setSingleStep(line);
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, shown_.height - view.height()));
  vertical->setPageStep(view.height());
  vertical->setSingleStep(line);
}

void PreviewView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void PreviewView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const QPoint delta = event->angleDelta();
  if (delta.x() != 0) {
    ScrollBy(horizontalScrollBar(), delta.x());
  } else if (event->modifiers() & Qt::ShiftModifier) {
    ScrollBy(verticalScrollBar(), delta.y());
  } else if (on_wheel_) {
    on_wheel_(delta.y(), event->position());
  }
}

void PreviewView::ScrollBy(QScrollBar* bar, int wheel_delta) {
  const double lines = -wheel_delta / kWheelNotch * QApplication::wheelScrollLines();
  bar->setValue(bar->value() + static_cast<int>(std::lround(lines * bar->singleStep())));
}

void PreviewView::paintEvent(QPaintEvent* event) {
  const qreal ratio = viewport()->devicePixelRatioF();
  const QRect exposed = event->rect();
  const int left = static_cast<int>(std::floor(exposed.left() * ratio));
  const int top = static_cast<int>(std::floor(exposed.top() * ratio));
  const int width = static_cast<int>(std::ceil((exposed.right() + 1) * ratio)) - left;
  const int height = static_cast<int>(std::ceil((exposed.bottom() + 1) * ratio)) - top;
  if (width <= 0 || height <= 0) return;
  if (frame_.width() < width || frame_.height() < height) {
    frame_ =
        QImage(std::max(width, frame_.width()), std::max(height, frame_.height()), kFrameFormat);
  }
  const QPoint origin = CanvasOrigin();
  MapAxis(columns_, left - 1, width + 1, ratio, origin.x(), shown_.width, canvas_width_);
  MapAxis(rows_, top - 1, height + 1, ratio, origin.y(), shown_.height, canvas_height_);
  // One device pixel more before the part painted tells whether its first pixel starts a canvas
  // pixel, where the grid draws.
  const bool grid = GridShown();
  std::vector<char> row_edges;
  if (grid) {
    MarkEdges(column_edges_, columns_, -1);
    MarkEdges(row_edges, rows_, -1);
    column_edges_.erase(column_edges_.begin());
    row_edges.erase(row_edges.begin());
  }
  columns_.erase(columns_.begin());
  rows_.erase(rows_.begin());
  // The canvas columns form one run with background on either side.
  const auto on_canvas = [](int column) { return column >= 0; };
  const int first = static_cast<int>(std::find_if(columns_.begin(), columns_.end(), on_canvas) -
                                     columns_.begin());
  const int last = static_cast<int>(
      std::find_if_not(columns_.begin() + first, columns_.end(), on_canvas) - columns_.begin());
  // Unscaled, the run is a plain copy of canvas columns.
  const bool unscaled = last > first && columns_[last - 1] - columns_[first] == last - first - 1;
  const std::size_t row_bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(width);
  uchar* const bits = frame_.bits();
  const qsizetype stride = frame_.bytesPerLine();
  for (int j = 0; j < height; ++j) {
    auto* __restrict line = reinterpret_cast<std::uint32_t*>(bits + j * stride);
    // The rows of one canvas row are alike, but for the grid line on the first of them.
    if (j > 0 && rows_[j] == rows_[j - 1] && !(grid && row_edges[j - 1])) {
      std::memcpy(line, bits + (j - 1) * stride, row_bytes);
      continue;
    }
    if (rows_[j] < 0 || pixels_.empty()) {
      std::fill_n(line, width, background_);
      continue;
    }
    const imaging::Rgb* __restrict source =
        pixels_.data() + static_cast<std::size_t>(rows_[j]) * canvas_width_;
    std::fill(line, line + first, background_);
    if (unscaled) {
      source += columns_[first] - first;
      for (int i = first; i < last; ++i) line[i] = ToRgb32(source[i]);
    } else {
      for (int i = first; i < last; ++i) line[i] = ToRgb32(source[columns_[i]]);
    }
    std::fill(line + last, line + width, background_);
    if (!grid) continue;
    // A zoomed canvas pixel repeats along its row: its shade is worked out once.
    std::uint32_t shaded_from = line[first], shade = GridPixel(shaded_from);
    const auto shaded = [&](std::uint32_t pixel) {
      if (pixel != shaded_from) {
        shaded_from = pixel;
        shade = GridPixel(pixel);
      }
      return shade;
    };
    if (row_edges[j]) {
      for (int i = first; i < last; ++i) line[i] = shaded(line[i]);
    } else {
      for (int i = first; i < last; ++i) {
        if (column_edges_[i]) line[i] = shaded(line[i]);
      }
    }
  }
  frame_.setDevicePixelRatio(ratio);
  QPainter painter(viewport());
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPointF(left / ratio, top / ratio), frame_, QRect(0, 0, width, height));
  if (mark_) {
    // Two lines, dark outside light, so that the frame shows on any picture.
    const auto place = [&](int canvas, int shown, int whole) {
      return static_cast<int>(static_cast<long long>(canvas) * shown / whole);
    };
    const QRect on_view(
        QPoint(origin.x() + place(mark_->left(), shown_.width, canvas_width_),
               origin.y() + place(mark_->top(), shown_.height, canvas_height_)),
        QPoint(origin.x() + place(mark_->right() + 1, shown_.width, canvas_width_),
               origin.y() + place(mark_->bottom() + 1, shown_.height, canvas_height_)));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0), 1));
    painter.drawRect(on_view.adjusted(-3, -3, 2, 2));
    painter.setPen(QPen(QColor(255, 230, 0), 2));
    painter.drawRect(on_view.adjusted(-1, -1, 0, 0));
  }
}

void PreviewView::SetMark(std::optional<QRect> canvas_rect) {
  if (mark_ == canvas_rect) return;
  mark_ = canvas_rect;
  viewport()->update();
}

}  // namespace app

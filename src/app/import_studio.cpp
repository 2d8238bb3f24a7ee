// The import studio. The source view draws the halving of the picture nearest above the size it is
// shown at, over a chequerboard where the picture is transparent, and darkens what the frame
// leaves out. Each change of a setting fits the picture anew (a few milliseconds whatever the
// picture's size: the fit reads a halving near the target's size) and hands the result on.
#include "app/import_studio.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/colour_editor.h"
#include "app/qt_image.h"
#include "app/window_fit.h"

namespace app {
namespace {

using imaging::FitMode;
using imaging::FitSettings;

constexpr QSize kSwatch(24, 16);
// The largest result shown in the dialog, and the largest whole-number scale it is shown at.
constexpr int kResultBox = 256;
constexpr int kResultScale = 4;
// A wheel notch zooms the frame by this factor.
constexpr double kZoomStep = 1.25;
// The key's tolerance moves in hundredths of the OKLab distance. A first pick keys its colour with
// the colours a photo's noise gives it, in the region around the pixel picked.
constexpr int kToleranceSteps = 100;
constexpr double kFirstTolerance = 0.05;

void FillChequerboard(QPainter& painter, const QRectF& rect) {
  constexpr int kCell = 8;
  painter.save();
  painter.setClipRect(rect);
  painter.fillRect(rect, QColor(204, 204, 204));
  for (int y = static_cast<int>(rect.top()), row = 0; y < rect.bottom(); y += kCell, ++row) {
    for (int x = static_cast<int>(rect.left()) + (row % 2) * kCell; x < rect.right();
         x += 2 * kCell) {
      painter.fillRect(x, y, kCell, kCell, QColor(255, 255, 255));
    }
  }
  painter.restore();
}

// What shows through the transparent pixels of a picture: a chequerboard, or key green where the
// console draws the slot without a key and shows key green as it is.
void FillBackdrop(QPainter& painter, const QRectF& rect, bool keyless) {
  if (keyless) {
    painter.fillRect(rect, ToQColor(imaging::kKeyColour));
  } else {
    FillChequerboard(painter, rect);
  }
}

// A label of words that wrap.
QLabel* Note(const QString& text, const char* name, QWidget* parent) {
  auto* note = new QLabel(text, parent);
  note->setObjectName(QLatin1String(name));
  note->setWordWrap(true);
  return note;
}

}  // namespace

SourceView::SourceView(const imaging::FitSource& source, Events events, QWidget* parent)
    : QWidget(parent), source_(source), events_(std::move(events)) {
  setMinimumSize(240, 180);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void SourceView::Show(const FitSettings& settings, bool picture_changed) {
  settings_ = settings;
  if (picture_changed) shown_level_ = -1;
  setCursor(picking_                            ? Qt::CrossCursor
            : settings_.mode == FitMode::kCover ? Qt::OpenHandCursor
                                                : Qt::ArrowCursor);
  update();
}

void SourceView::SetPicking(bool picking) {
  picking_ = picking;
  Show(settings_, false);
}

QRectF SourceView::PictureRect() const {
  const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
  const double scale = std::min(area.width() / source_.width(), area.height() / source_.height());
  const QSizeF size(source_.width() * scale, source_.height() * scale);
  return QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

QRectF SourceView::FrameRect() const {
  const QRectF picture = PictureRect();
  if (settings_.mode != FitMode::kCover) return picture;
  const imaging::Frame f = imaging::CoverFrame(source_.width(), source_.height(), settings_);
  const double scale = picture.width() / source_.width();
  return QRectF(picture.left() + f.x * scale, picture.top() + f.y * scale, f.width * scale,
                f.height * scale);
}

QPointF SourceView::SourcePoint(QPointF at) const {
  const QRectF picture = PictureRect();
  const double scale = source_.width() / picture.width();
  return (at - picture.topLeft()) * scale;
}

void SourceView::UseLevelFor(QSize shown) {
  // The smallest halving still at least as large as the picture is shown.
  const auto levels = source_.levels();
  int level = 0;
  while (level + 1 < static_cast<int>(levels.size()) &&
         levels[static_cast<std::size_t>(level) + 1].width >= shown.width()) {
    ++level;
  }
  if (level == shown_level_) return;
  shown_level_ = level;
  const imaging::Image& image = levels[static_cast<std::size_t>(level)];
  // Each pixel's top byte is its alpha: transparent pixels let the chequerboard through.
  shown_ = QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  image.width * 4, QImage::Format_RGBA8888);
}

void SourceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (source_.Empty()) return;
  const QRectF picture = PictureRect();
  UseLevelFor((picture.size() * devicePixelRatioF()).toSize());
  FillBackdrop(painter, picture, keyless_);
  // Shown smaller, the picture is smoothed; shown larger (a small source), its pixels stay sharp
  // whatever the scaling chosen for the result, so that the user sees what there is to fit.
  painter.setRenderHint(QPainter::SmoothPixmapTransform,
                        picture.width() * devicePixelRatioF() < shown_.width());
  painter.drawImage(picture, shown_);
  // What the frame leaves out is darkened; the frame is drawn in white on black, which shows on
  // any picture.
  const QRectF frame = FrameRect();
  QPainterPath outside;
  outside.addRect(picture);
  outside.addRect(frame);
  painter.fillPath(outside, QColor(0, 0, 0, 140));
  painter.setPen(QPen(Qt::black, 3));
  painter.drawRect(frame);
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(frame);
}

void SourceView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || source_.Empty()) return;
  const QPointF at = SourcePoint(event->position());
  if (picking_) {
    const int x = std::clamp(static_cast<int>(at.x()), 0, source_.width() - 1);
    const int y = std::clamp(static_cast<int>(at.y()), 0, source_.height() - 1);
    events_.picked(source_.picture().At(x, y) & 0xFFFFFF, (x + 0.5) / source_.width(),
                   (y + 0.5) / source_.height());
    return;
  }
  if (settings_.mode != FitMode::kCover) return;
  dragging_ = true;
  drag_from_ = at;
  centre_at_press_ = FrameCentre();
  setCursor(Qt::ClosedHandCursor);
}

void SourceView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  Reframe(centre_at_press_ + SourcePoint(event->position()) - drag_from_, settings_.zoom);
}

void SourceView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  setCursor(Qt::OpenHandCursor);
}

void SourceView::wheelEvent(QWheelEvent* event) {
  if (settings_.mode != FitMode::kCover || source_.Empty()) return;
  const double notches = event->angleDelta().y() / 120.0;
  const double zoom =
      std::clamp(settings_.zoom * std::pow(kZoomStep, notches), 1.0, imaging::kMaxZoom);
  if (zoom == settings_.zoom) return;
  // The picture's point under the pointer stays under it.
  const QPointF pointer = SourcePoint(event->position());
  Reframe(pointer + (FrameCentre() - pointer) * (settings_.zoom / zoom), zoom);
  event->accept();
}

void SourceView::keyPressEvent(QKeyEvent* event) {
  if (settings_.mode != FitMode::kCover || source_.Empty()) return QWidget::keyPressEvent(event);
  // The arrows move the frame a tenth of its size; + and - zoom as a wheel notch does.
  const imaging::Frame f = imaging::CoverFrame(source_.width(), source_.height(), settings_);
  const QPointF centre = FrameCentre();
  switch (event->key()) {
    case Qt::Key_Left:
      return Reframe(centre - QPointF(f.width / 10, 0), settings_.zoom);
    case Qt::Key_Right:
      return Reframe(centre + QPointF(f.width / 10, 0), settings_.zoom);
    case Qt::Key_Up:
      return Reframe(centre - QPointF(0, f.height / 10), settings_.zoom);
    case Qt::Key_Down:
      return Reframe(centre + QPointF(0, f.height / 10), settings_.zoom);
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return Reframe(centre, std::min(settings_.zoom * kZoomStep, imaging::kMaxZoom));
    case Qt::Key_Minus:
      return Reframe(centre, std::max(settings_.zoom / kZoomStep, 1.0));
    default:
      return QWidget::keyPressEvent(event);
  }
}

QPointF SourceView::FrameCentre() const {
  const imaging::Frame f = imaging::CoverFrame(source_.width(), source_.height(), settings_);
  return {f.x + f.width / 2, f.y + f.height / 2};
}

void SourceView::Reframe(QPointF centre, double zoom) {
  events_.framed(std::clamp(centre.x() / source_.width(), 0.0, 1.0),
                 std::clamp(centre.y() / source_.height(), 0.0, 1.0), zoom);
}

ImportStudio::ImportStudio(const i18n::UiTexts& texts, const StudioRequest& request,
                           std::function<void(const imaging::Image&)> live, QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      request_(request),
      live_(std::move(live)),
      settings_(request.settings) {
  setWindowTitle(QString::fromStdString(request.title));
  setSizeGripEnabled(true);

  view_ = new SourceView(*request_.source,
                         {[this](double fx, double fy, double zoom) {
                            Change([&](FitSettings& s) {
                              s.focus_x = fx;
                              s.focus_y = fy;
                              s.zoom = zoom;
                            });
                          },
                          [this](imaging::Rgb colour, double x, double y) {
                            imaging::ColourKey key = next_key_;
                            key.colour = colour;
                            key.x = x;
                            key.y = y;
                            PickKey(key);
                          }},
                         this);
  view_->setObjectName(QStringLiteral("Source"));
  view_->SetKeyless(request.keyless);
  if (settings_.key) {
    next_key_ = *settings_.key;
  } else {
    next_key_.tolerance = kFirstTolerance;
    next_key_.connected = true;
  }

  auto* source_label = new QLabel(QString::fromStdString(i18n::FormatText(
                                      texts_.Text("LANG_STUDIO_SOURCE$"),
                                      {request.source_name, std::to_string(request.source_width),
                                       std::to_string(request.source_height)})),
                                  this);
  source_label->setWordWrap(true);

  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  form->addRow(source_label);
  if (!request.missing_source.empty()) {
    form->addRow(Note(QString::fromStdString(i18n::FormatText(
                          texts_.Text("LANG_STUDIO_SOURCE_GONE$"), {request.missing_source})),
                      "MissingSource", this));
  }
  AddSizeRows(*form);
  form->addRow(Text("LANG_STUDIO_FIT$"), FitChoices());
  AddReductionRows(*form);
  form->addRow(Text("LANG_STUDIO_KEY$"), KeyRow());
  AddKeyRows(*form);
  if (request.keyless) form->addRow(Note(Text("LANG_STUDIO_KEYLESS$"), "KeylessNote", this));
  form->addRow(Text("LANG_STUDIO_FILL$"), FillRow());

  result_view_ = new QLabel(this);
  result_view_->setObjectName(QStringLiteral("Result"));
  result_view_->setMinimumSize(64, 48);
  result_view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Both hints take their room at once, so that a pick moves nothing.
  hint_ = new QStackedWidget(this);
  hint_->setObjectName(QStringLiteral("Hint"));
  hint_->addWidget(Note(Text("LANG_STUDIO_HINT$"), "", hint_));
  hint_->addWidget(Note(Text("LANG_STUDIO_PICK_HINT$"), "", hint_));

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text("LANG_OK$"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text("LANG_CANCEL$"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // The source with how to frame it; the settings with what the slot will hold.
  auto* left = new QVBoxLayout;
  left->addWidget(view_, 1);
  left->addWidget(hint_);
  form->addRow(result_view_);
  left_ = left;
  form_ = form;
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(form);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);

  ShowSettings();
  Refit(true);
}

QString ImportStudio::Text(std::string_view key) const {
  return QString::fromStdString(texts_.Text(key));
}

void ImportStudio::AddSizeRows(QFormLayout& form) {
  // The target's size and the two sizes it may take at a click.
  width_ = new QSpinBox(this);
  height_ = new QSpinBox(this);
  for (QSpinBox* spin : {width_, height_}) spin->setRange(1, 4096);
  width_->setObjectName(QStringLiteral("TargetWidth"));
  height_->setObjectName(QStringLiteral("TargetHeight"));
  auto* expected = new QPushButton(Text("LANG_STUDIO_EXPECTED$"), this);
  auto* current = new QPushButton(Text("LANG_STUDIO_CURRENT$"), this);
  current->setEnabled(request_.current.first > 0);
  const auto set_size = [this](std::pair<int, int> size) {
    Change([&](FitSettings& s) {
      s.width = size.first;
      s.height = size.second;
    });
  };
  connect(expected, &QPushButton::clicked, this, [=, this] { set_size(request_.expected); });
  connect(current, &QPushButton::clicked, this, [=, this] { set_size(request_.current); });
  connect(width_, &QSpinBox::valueChanged, this,
          [this](int v) { Change([&](FitSettings& s) { s.width = v; }); });
  connect(height_, &QSpinBox::valueChanged, this,
          [this](int v) { Change([&](FitSettings& s) { s.height = v; }); });
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(width_);
  size_row->addWidget(new QLabel(QStringLiteral("x"), this));
  size_row->addWidget(height_);
  size_row->addStretch();
  auto* size_buttons = new QHBoxLayout;
  size_buttons->addWidget(expected);
  size_buttons->addWidget(current);
  size_buttons->addStretch();
  form.addRow(Text("LANG_STUDIO_SIZE$"), size_row);
  form.addRow(QString(), size_buttons);
}

QLayout* ImportStudio::FitChoices() {
  auto* fit_box = new QVBoxLayout;
  auto* fit_group = new QButtonGroup(this);
  const std::pair<std::string_view, const char*> fits[] = {{"LANG_STUDIO_COVER$", "FitCover"},
                                                           {"LANG_STUDIO_CONTAIN$", "FitContain"},
                                                           {"LANG_STUDIO_STRETCH$", "FitStretch"},
                                                           {"LANG_STUDIO_KEEP$", "FitKeep"}};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(Text(fits[i].first), this);
    button->setObjectName(QLatin1String(fits[i].second));
    fits_[static_cast<std::size_t>(i)] = button;
    fit_group->addButton(button, i);
    fit_box->addWidget(button);
  }
  connect(fit_group, &QButtonGroup::idClicked, this,
          [this](int id) { Change([&](FitSettings& s) { s.mode = static_cast<FitMode>(id); }); });
  whole_ = new QPushButton(Text("LANG_STUDIO_RESET$"), this);
  connect(whole_, &QPushButton::clicked, this, [this] {
    Change([](FitSettings& s) {
      s.focus_x = s.focus_y = 0.5;
      s.zoom = 1;
    });
  });
  fit_box->addWidget(whole_, 0, Qt::AlignLeft);
  return fit_box;
}

void ImportStudio::AddReductionRows(QFormLayout& form) {
  resampling_ = new QComboBox(this);
  resampling_->setObjectName(QStringLiteral("Resampling"));
  resampling_->addItems({Text("LANG_STUDIO_SMOOTH$"), Text("LANG_STUDIO_NEAREST$")});
  connect(resampling_, &QComboBox::activated, this, [this](int i) {
    Change([&](FitSettings& s) { s.resampling = static_cast<imaging::Resampling>(i); });
  });
  dither_ = new QComboBox(this);
  dither_->setObjectName(QStringLiteral("Dither"));
  dither_->addItems({Text("LANG_STUDIO_DITHER_FS$"), Text("LANG_STUDIO_DITHER_SERPENTINE$"),
                     Text("LANG_STUDIO_DITHER_ORDERED$"), Text("LANG_STUDIO_DITHER_NONE$")});
  connect(dither_, &QComboBox::activated, this, [this](int i) {
    Change([&](FitSettings& s) { s.dither = static_cast<imaging::DitherKind>(i); });
  });
  strength_ = new QSlider(Qt::Horizontal, this);
  strength_value_ = new QSpinBox(this);
  strength_value_->setSuffix(QStringLiteral(" %"));
  strength_->setRange(0, 100);
  strength_->setMinimumWidth(120);
  strength_value_->setRange(0, 100);
  connect(strength_, &QSlider::valueChanged, this,
          [this](int v) { Change([&](FitSettings& s) { s.strength = v; }); });
  connect(strength_value_, &QSpinBox::valueChanged, this,
          [this](int v) { Change([&](FitSettings& s) { s.strength = v; }); });
  auto* strength_row = new QHBoxLayout;
  strength_row->addWidget(strength_, 1);
  strength_row->addWidget(strength_value_);
  form.addRow(Text("LANG_STUDIO_RESAMPLE$"), resampling_);
  form.addRow(Text("LANG_STUDIO_DITHER$"), dither_);
  form.addRow(Text("LANG_STUDIO_STRENGTH$"), strength_row);
}

QLayout* ImportStudio::KeyRow() {
  // The swatch and the words for no key share one place as wide as the wider of them, so that a
  // pick or a Clear moves no button.
  key_shown_ = new QStackedWidget(this);
  key_shown_->setObjectName(QStringLiteral("KeyShown"));
  key_shown_->addWidget(new QLabel(Text("LANG_STUDIO_KEY_NONE$"), key_shown_));
  key_swatch_ = new QLabel(key_shown_);
  key_swatch_->setPixmap(Swatch(0, kSwatch));
  key_shown_->addWidget(key_swatch_);
  key_shown_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  pick_ = new QPushButton(Text("LANG_STUDIO_KEY_PICK$"), this);
  pick_->setCheckable(true);
  pick_->setObjectName(QStringLiteral("PickKey"));
  clear_key_ = new QPushButton(Text("LANG_STUDIO_KEY_CLEAR$"), this);
  clear_key_->setObjectName(QStringLiteral("ClearKey"));
  connect(pick_, &QPushButton::toggled, this, [this](bool on) {
    view_->SetPicking(on);
    hint_->setCurrentIndex(on ? 1 : 0);
  });
  connect(clear_key_, &QPushButton::clicked, this, [this] { PickKey(std::nullopt); });
  auto* key_row = new QHBoxLayout;
  key_row->addWidget(key_shown_);
  key_row->addWidget(pick_);
  key_row->addWidget(clear_key_);
  key_row->addStretch();
  return key_row;
}

void ImportStudio::AddKeyRows(QFormLayout& form) {
  tolerance_ = new QSlider(Qt::Horizontal, this);
  tolerance_->setObjectName(QStringLiteral("KeyTolerance"));
  tolerance_->setRange(0, static_cast<int>(imaging::kMaxKeyTolerance * kToleranceSteps));
  tolerance_->setMinimumWidth(120);
  tolerance_value_ = new QDoubleSpinBox(this);
  tolerance_value_->setObjectName(QStringLiteral("KeyToleranceValue"));
  tolerance_value_->setRange(0, imaging::kMaxKeyTolerance);
  tolerance_value_->setDecimals(2);
  tolerance_value_->setSingleStep(1.0 / kToleranceSteps);
  // A large picture takes a moment to key anew: the slider keys when it is let go, and shows the
  // value it is at meanwhile.
  tolerance_->setTracking(false);
  connect(tolerance_, &QSlider::sliderMoved, this, [this](int v) {
    const QSignalBlocker blocker(tolerance_value_);
    tolerance_value_->setValue(static_cast<double>(v) / kToleranceSteps);
  });
  connect(tolerance_, &QSlider::valueChanged, this, [this](int v) {
    RefineKey(
        [&](imaging::ColourKey& k) { k.tolerance = static_cast<double>(v) / kToleranceSteps; });
  });
  // In whole steps, as the slider sets it, not with the spin box's sums of steps.
  connect(tolerance_value_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    RefineKey([&](imaging::ColourKey& k) {
      k.tolerance = std::round(v * kToleranceSteps) / kToleranceSteps;
    });
  });
  connected_ = new QCheckBox(Text("LANG_STUDIO_KEY_CONNECTED$"), this);
  connected_->setObjectName(QStringLiteral("KeyConnected"));
  connect(connected_, &QCheckBox::toggled, this,
          [this](bool on) { RefineKey([&](imaging::ColourKey& k) { k.connected = on; }); });
  auto* tolerance_row = new QHBoxLayout;
  tolerance_row->addWidget(tolerance_, 1);
  tolerance_row->addWidget(tolerance_value_);
  form.addRow(Text("LANG_STUDIO_KEY_TOLERANCE$"), tolerance_row);
  form.addRow(QString(), connected_);
}

QLayout* ImportStudio::FillRow() {
  fill_swatch_ = new QLabel(this);
  fill_key_ = new QPushButton(Text("LANG_STUDIO_FILL_KEY$"), this);
  fill_choose_ = new QPushButton(Text("LANG_STUDIO_FILL_CHOOSE$"), this);
  connect(fill_key_, &QPushButton::clicked, this,
          [this] { Change([](FitSettings& s) { s.fill = imaging::kKeyColour; }); });
  connect(fill_choose_, &QPushButton::clicked, this, [this] {
    const imaging::Rgb chosen = ColourEditor::EditColour(
        texts_, settings_.fill, Text("LANG_STUDIO_FILL$").remove(QLatin1Char(':')).trimmed(), {},
        this);
    Change([&](FitSettings& s) { s.fill = chosen; });
  });
  auto* fill_row = new QHBoxLayout;
  fill_row->addWidget(fill_swatch_);
  fill_row->addWidget(fill_key_);
  fill_row->addWidget(fill_choose_);
  fill_row->addStretch();
  return fill_row;
}

void ImportStudio::SetSettings(const FitSettings& settings) {
  const bool key_changed = settings.key != settings_.key;
  if (key_changed) request_.source->SetKey(settings.key);
  settings_ = settings;
  ShowSettings();
  Refit(key_changed);
}

void ImportStudio::Change(const std::function<void(FitSettings&)>& edit) {
  FitSettings next = settings_;
  edit(next);
  if (next == settings_) return;
  SetSettings(next);
}

void ImportStudio::PickKey(std::optional<imaging::ColourKey> key) {
  pick_->setChecked(false);
  Change([&](FitSettings& s) { s.key = key; });
}

void ImportStudio::RefineKey(const std::function<void(imaging::ColourKey&)>& edit) {
  edit(next_key_);
  if (settings_.key) {
    Change([&](FitSettings& s) { edit(*s.key); });
  } else {
    ShowSettings();
  }
}

void ImportStudio::ShowSettings() {
  const FitSettings& s = settings_;
  const QSignalBlocker b1(width_), b2(height_), b3(strength_), b4(strength_value_), b5(tolerance_),
      b6(tolerance_value_), b7(connected_);
  width_->setValue(s.width);
  height_->setValue(s.height);
  fits_[static_cast<std::size_t>(s.mode)]->setChecked(true);
  const bool scaled = s.mode != FitMode::kKeep;
  for (QWidget* w : std::initializer_list<QWidget*>{width_, height_, resampling_})
    w->setEnabled(scaled);
  whole_->setEnabled(s.mode == FitMode::kCover &&
                     (s.zoom != 1 || s.focus_x != 0.5 || s.focus_y != 0.5));
  resampling_->setCurrentIndex(static_cast<int>(s.resampling));
  dither_->setCurrentIndex(static_cast<int>(s.dither));
  const bool diffusing = s.dither != imaging::DitherKind::kNone;
  strength_->setEnabled(diffusing);
  strength_value_->setEnabled(diffusing);
  strength_->setValue(s.strength);
  strength_value_->setValue(s.strength);
  if (s.key) key_swatch_->setPixmap(Swatch(s.key->colour, kSwatch));
  key_shown_->setCurrentWidget(s.key ? static_cast<QWidget*>(key_swatch_) : key_shown_->widget(0));
  clear_key_->setEnabled(s.key.has_value());
  const imaging::ColourKey& refined = s.key ? *s.key : next_key_;
  tolerance_->setValue(static_cast<int>(std::lround(refined.tolerance * kToleranceSteps)));
  tolerance_value_->setValue(refined.tolerance);
  connected_->setChecked(refined.connected);
  const bool contain = s.mode == FitMode::kContain;
  fill_swatch_->setPixmap(Swatch(s.fill, kSwatch));
  for (QWidget* w : std::initializer_list<QWidget*>{fill_swatch_, fill_key_, fill_choose_})
    w->setEnabled(contain);
}

void ImportStudio::Refit(bool picture_changed) {
  // A fit that needs a finer scale of the picture decodes it anew, which the view must take up.
  const int revision = request_.source->revision();
  result_ = request_.source->Fit(settings_);
  view_->Show(settings_, picture_changed || request_.source->revision() != revision);
  if (!result_.Empty()) {
    // What the slot will hold, its pixels enlarged to be seen, where the key colour lets the
    // chequerboard through.
    const int scale =
        std::clamp(kResultBox / std::max(result_.width, result_.height), 1, kResultScale);
    QImage keyed(result_.width, result_.height, QImage::Format_ARGB32);
    for (int y = 0; y < result_.height; ++y) {
      for (int x = 0; x < result_.width; ++x) {
        const imaging::Rgb c = result_.At(x, y);
        keyed.setPixel(x, y,
                       c == imaging::kKeyColour
                           ? 0
                           : ToQColor(preview::ShownColour(c, request_.colours)).rgb());
      }
    }
    QSize size(result_.width * scale, result_.height * scale);
    if (size.width() > kResultBox || size.height() > kResultBox) {
      size.scale(kResultBox, kResultBox, Qt::KeepAspectRatio);
    }
    size = size.expandedTo(QSize(1, 1));
    QPixmap shown(size);
    QPainter painter(&shown);
    FillBackdrop(painter, QRectF(QPointF(0, 0), QSizeF(size)), request_.keyless);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, size.width() < result_.width);
    painter.drawImage(QRect(QPoint(0, 0), size), keyed);
    painter.end();
    result_view_->setPixmap(shown);
    // Under the source the result would give up its rows to the source's stretch.
    if (result_beside_source_) result_view_->setMinimumHeight(size.height());
  }
  if (live_) live_(result_);
}

void ImportStudio::KeepPreviewInSight(QWidget* window) {
  const QWidget* preview =
      window != nullptr ? window->findChild<QWidget*>(QStringLiteral("PreviewArea")) : nullptr;
  if (preview == nullptr || window->screen() == nullptr) return;
  const QRect area = window->screen()->availableGeometry();
  const QRect shown(preview->mapToGlobal(QPoint(0, 0)), preview->size());
  const QSize size = frameGeometry().size();
  const int y = std::clamp(window->frameGeometry().top(), area.top(),
                           std::max(area.top(), area.bottom() - size.height()));
  // Beside the preview where there is room; else on the side with more room, as far from the
  // preview as the screen allows.
  const int right = shown.right() + 8, left = shown.left() - 8 - size.width();
  const int x = right + size.width() <= area.right() ? right
                : left >= area.left()                ? left
                : area.right() - shown.right() >= shown.left() - area.left()
                    ? area.right() - size.width()
                    : area.left();
  move(x, y);
}

void ImportStudio::PlaceOnScreen(QWidget* window) {
  const QRect room = WindowRoom(this);
  if (sizeHint().height() > room.height()) {
    // Where the screen is short the result stands under the source, whose column has room.
    const QFormLayout::TakeRowResult taken = form_->takeRow(result_view_);
    delete taken.labelItem;  // the layout's items, not the widget
    delete taken.fieldItem;
    left_->addWidget(result_view_, 0, Qt::AlignLeft);
    result_beside_source_ = true;
    Refit();
  }
  // Not adjustSize, which keeps a window within two thirds of the screen: the result's rows would
  // be cut where the screen is small.
  resize(sizeHint().boundedTo(room.size()).expandedTo(minimumSizeHint()));
  KeepPreviewInSight(window);
  KeepOnScreen(this);
}

std::optional<FitSettings> ImportStudio::Run(const i18n::UiTexts& texts,
                                             const StudioRequest& request,
                                             std::function<void(const imaging::Image&)> live,
                                             QWidget* parent) {
  ImportStudio studio(texts, request, std::move(live), parent);
  studio.PlaceOnScreen(parent);
  if (studio.exec() != QDialog::Accepted) return std::nullopt;
  return studio.settings();
}

}  // namespace app

// The panel's buttons: their painting, thumbnails and captions.
#include "app/panel_button.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "app/panel_tables.h"
#include "app/qt_image.h"
#include "imaging/limits.h"

namespace app {
namespace {

// The light and dark squares that stand for the key colour in a thumbnail.
constexpr QRgb kCheckLight = 0xFFE4E4E4, kCheckDark = 0xFFB4B4B4;

// `colour` blended `share` of the way towards `to`.
QColor Mix(const QColor& colour, const QColor& to, double share) {
  return QColor::fromRgbF(colour.redF() + (to.redF() - colour.redF()) * share,
                          colour.greenF() + (to.greenF() - colour.greenF()) * share,
                          colour.blueF() + (to.blueF() - colour.blueF()) * share);
}

// Caption `i` cut in the middle so that the place where it parts from the texts it resembles
// shows: the start of the text, "…", and the rest from shortly before that place, elided at its end
// when still too long. The start grows until the caption reads like no other in `shown`.
QString ElideAtDifference(std::size_t i, const std::vector<QString>& texts,
                          const std::vector<QString>& shown, const QFontMetrics& metrics,
                          int room) {
  constexpr qsizetype kHead = 3, kContext = 4;
  const QString& text = texts[i];
  qsizetype common = 0;  // the longest start it has in common with another text
  for (const QString& other : texts) {
    if (other == text) continue;
    qsizetype n = 0;
    while (n < text.size() && n < other.size() && text[n] == other[n]) ++n;
    common = std::max(common, n);
  }
  const qsizetype from = common - kContext;
  if (from <= kHead) return metrics.elidedText(text, Qt::ElideRight, room);
  const auto cut = [&](qsizetype head) {
    return metrics.elidedText(text.left(head) + QChar(0x2026) + text.mid(from), Qt::ElideRight,
                              room);
  };
  for (qsizetype head = kHead; head < from; ++head) {
    const QString caption = cut(head);
    bool alike = false;
    for (std::size_t j = 0; j < texts.size(); ++j) {
      alike = alike || (j != i && shown[j] == caption && texts[j] != text);
    }
    if (!alike) return caption;
  }
  return cut(kHead);
}

}  // namespace

QImage PanelThumbnail(const imaging::Image& picture, QSize box) {
  const std::size_t pixels = static_cast<std::size_t>(std::max(picture.width, 0)) *
                             static_cast<std::size_t>(std::max(picture.height, 0));
  if (picture.Empty() || box.isEmpty() || picture.pixels.size() < pixels) return {};
  // Enlarged by a whole factor, so that each of its pixels is a block of one size; made smaller by
  // taking the nearest pixel: never blurred, and never larger than the box whatever its size.
  const double fit = std::min(static_cast<double>(box.width()) / picture.width,
                              static_cast<double>(box.height()) / picture.height);
  const double scale = fit >= 1 ? std::floor(fit) : fit;
  const int width =
      std::clamp(static_cast<int>(std::lround(picture.width * scale)), 1, box.width());
  const int height =
      std::clamp(static_cast<int>(std::lround(picture.height * scale)), 1, box.height());
  QImage thumbnail(width, height, QImage::Format_RGB32);
  const int square = std::max(2, std::min(box.width(), box.height()) / 8);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(thumbnail.scanLine(y));
    const int from_y = static_cast<int>(static_cast<std::int64_t>(y) * picture.height / height);
    for (int x = 0; x < width; ++x) {
      const int from_x = static_cast<int>(static_cast<std::int64_t>(x) * picture.width / width);
      const imaging::Rgb colour = picture.At(from_x, from_y) & 0xFFFFFFu;
      line[x] = colour == imaging::kKeyColour
                    ? ((x / square + y / square) % 2 ? kCheckDark : kCheckLight)
                    : ToQColor(colour).rgb();
    }
  }
  return thumbnail;
}

void PanelButton::SetIconBox(QSize box, int lines) {
  if (box == box_ && lines == lines_) return;
  box_ = box;
  lines_ = lines;
  thumbnail_ = QPixmap();
  update();
}

void PanelButton::SetColour(QColor colour, QString detail) {
  colour_ = colour;
  detail_ = std::move(detail);
  update();
}

void PanelButton::SetPicture(imaging::SharedImage picture, QString detail) {
  picture_ = std::move(picture);
  detail_ = std::move(detail);
  thumbnail_ = QPixmap();
  update();
}

void PanelButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButton, option);
  const bool dim = !isEnabled();
  const QRect box(kButtonPad, (height() - box_.height()) / 2, box_.width(), box_.height());
  painter.setOpacity(dim ? 0.6 : 1.0);
  if (colour_.isValid()) {
    painter.fillRect(box, colour_);
    painter.setPen(kSwatchBorder);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  } else if (static_cast<const imaging::Image&>(picture_).Empty()) {
    // An empty slot: the box's outline only.
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  } else {
    const qreal ratio = devicePixelRatioF();
    if (thumbnail_.isNull() || thumbnail_.devicePixelRatio() != ratio) {
      thumbnail_ = QPixmap::fromImage(PanelThumbnail(picture_, box_ * ratio));
      thumbnail_.setDevicePixelRatio(ratio);
    }
    const QSize shown = thumbnail_.deviceIndependentSize().toSize();
    painter.drawPixmap(box.x() + (box.width() - shown.width()) / 2,
                       box.y() + (box.height() - shown.height()) / 2, thumbnail_);
  }
  painter.setOpacity(1.0);
  const QColor text_colour = palette().color(QPalette::Active, QPalette::ButtonText);
  const QColor button = palette().color(QPalette::Active, QPalette::Button);
  painter.setPen(dim ? Mix(text_colour, button, 0.45) : text_colour);
  const int x = box.right() + 1 + kButtonPad;
  const QRect room(x, 0, width() - x - kButtonPad, height());
  if (lines_ < 2 || detail_.isEmpty()) {
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter, text());
    return;
  }
  const int line = fontMetrics().height();
  const int top = (height() - 2 * line) / 2;
  painter.drawText(QRect(x, top, room.width(), line), Qt::AlignLeft | Qt::AlignVCenter, text());
  painter.setPen(Mix(text_colour, button, dim ? 0.6 : 0.35));
  painter.drawText(QRect(x, top + line, room.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(detail_, Qt::ElideRight, room.width()));
}

std::vector<QString> FittedCaptions(const std::vector<QString>& texts, const QFontMetrics& metrics,
                                    int room) {
  // Each caption takes the first of these ways that leaves it unlike every other caption: elided
  // at the end, in the middle, at the start, or around where it differs from the others.
  static constexpr Qt::TextElideMode kModes[] = {Qt::ElideRight, Qt::ElideMiddle, Qt::ElideLeft};
  constexpr int kWays = 4;
  std::vector<int> way(texts.size(), 0);
  std::vector<QString> shown;
  for (const QString& text : texts) shown.push_back(metrics.elidedText(text, Qt::ElideRight, room));
  const auto alike = [&](std::size_t i) {
    for (std::size_t j = 0; j < texts.size(); ++j) {
      if (j != i && shown[i] == shown[j] && texts[i] != texts[j]) return true;
    }
    return false;
  };
  // Every round moves each caption that reads like another one way on; the last way looks at
  // the others' captions, so a few more rounds settle it.
  for (std::size_t round = 0; round < kWays + texts.size(); ++round) {
    std::vector<std::size_t> moving;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (alike(i)) moving.push_back(i);
    }
    if (moving.empty()) break;
    for (std::size_t i : moving) {
      way[i] = std::min(way[i] + 1, kWays - 1);
      shown[i] = way[i] < 3 ? metrics.elidedText(texts[i], kModes[way[i]], room)
                            : ElideAtDifference(i, texts, shown, metrics, room);
    }
  }
  return shown;
}

}  // namespace app

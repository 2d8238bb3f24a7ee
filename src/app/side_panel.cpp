// Side panel construction.
#include "app/side_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>
#include <cmath>

#include "app/fixed_numbers.h"
#include "app/panel_tables.h"
#include "app/qt_image.h"
#include "app/read_only_field.h"
#include "app/spin_field.h"
#include "imaging/limits.h"
#include "skin/skin_colour.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kButtonWidth = 128;
constexpr int kRowHeight = 20;
// The column headers above the Elements rows. They cost the page 16 pixels of height: at the
// window's first size its last row needs a little scrolling.
constexpr int kHeaderHeight = 16;
// The light and dark squares that stand for the key colour in a thumbnail.
constexpr QRgb kCheckLight = 0xFFE4E4E4, kCheckDark = 0xFFB4B4B4;

// `colour` blended `share` of the way towards `to`.
QColor Mix(const QColor& colour, const QColor& to, double share) {
  return QColor::fromRgbF(colour.redF() + (to.redF() - colour.redF()) * share,
                          colour.greenF() + (to.greenF() - colour.greenF()) * share,
                          colour.blueF() + (to.blueF() - colour.blueF()) * share);
}

// The room a button leaves its caption beside its icon.
int CaptionRoom(const QAbstractButton* button) {
  return button->width() - 3 * kButtonPad -
         static_cast<const PanelButton*>(button)->icon_box().width();
}

void SetMarked(QWidget* field, bool marked) {
  // A new palette makes the field and its children polish again: only when the mark changes.
  const QVariant was = field->property("marked");
  if (was.isValid() && was.toBool() == marked) return;
  QPalette palette;  // nothing of its own: the field takes its parent's colours again
  if (marked) {
    palette = field->palette();
    palette.setColor(QPalette::Base, kMarkedBase);
    palette.setColor(QPalette::Text, kMarkedText);
    palette.setColor(QPalette::WindowText, kMarkedText);
    palette.setColor(QPalette::Button, kMarkedBase);
    palette.setColor(QPalette::ButtonText, kMarkedText);
  }
  field->setPalette(palette);
  field->setProperty("marked", marked);
}

}  // namespace

namespace {

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

SidePanel::SidePanel(const i18n::UiTexts& texts, PanelEvents events, QWidget* parent)
    : QTabWidget(parent) {
  setObjectName("SidePanel");
  expected_text_ = Q(texts.Text("LANG_IMAGE_EXPECTED$"));
  expected_none_text_ = Q(texts.Text("LANG_IMAGE_EXPECTED_NONE$"));
  out_of_range_text_ = Q(texts.Text("LANG_OUTOFRANGE$"));
  odd_flag_text_ = Q(texts.Text("LANG_FLAG_OTHER$"));
  BuildColourPage(texts, events);
  BuildImagePage(texts, events);
  BuildElementsPage(texts, events);
  BuildInformationPage(texts, events);
  Relayout(kSidePanelWidth);
}

void SidePanel::AddButton(Captioned& tab, QWidget* page, int gadget, QPoint at, const QString& name,
                          std::function<void()> clicked) {
  auto* button = new PanelButton(page);
  button->setGeometry(at.x(), at.y(), kButtonWidth, kRowHeight);
  // Disabled gadgets show their tooltip too: the full name is never lost to elision.
  button->setToolTip(name);
  names_[gadget] = name;
  connect(button, &QPushButton::clicked, this, std::move(clicked));
  gadgets_[gadget] = button;
  tab.Add(button, name);
}

void SidePanel::AddHeadings(std::vector<QLabel*>& headings, QWidget* page,
                            const std::vector<int>& screens, const i18n::UiTexts& texts) {
  for (std::size_t i = 0; i < screens.size(); ++i) {
    if (i > 0 && screens[i] == screens[i - 1]) continue;
    // The screen's number, as on its button above the preview, and its name.
    auto* heading = new QLabel(QStringLiteral("%1 \u00b7 %2")
                                   .arg(screens[i] + 1)
                                   .arg(Q(texts.Text(i18n::ScreenNameKey(screens[i])))),
                               page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    heading->setProperty("screen", screens[i]);
    heading->setToolTip(heading->text());
    heading->hide();
    headings.push_back(heading);
  }
}

void SidePanel::BuildColourPage(const i18n::UiTexts& texts, const PanelEvents& events) {
  QWidget* page = AddPage(Q(texts.Text("LANG_PANEL_COLORS$")), 240);
  std::vector<int> screens;
  for (const ColourButton& b : ColourButtons()) {
    AddButton(colour_tab_, page, b.gadget, {b.x, b.y}, Q(texts.Text(b.text_key)),
              [events, colour = b.colour] { events.colour_clicked(colour); });
    screens.push_back(b.screen);
  }
  AddHeadings(colour_tab_.headings, page, screens, texts);
}

void SidePanel::BuildImagePage(const i18n::UiTexts& texts, const PanelEvents& events) {
  QWidget* page = AddPage(Q(texts.Text("LANG_PANEL_IMAGES$")), 420);
  std::vector<int> screens;
  for (const ImageButton& b : ImageButtons()) {
    const std::string key = "LANG_IMAGE_" + std::string(skin::Info(b.slot).BaseName()) + "$";
    AddButton(image_tab_, page, b.gadget, {b.x, b.y}, Q(texts.Text(key)),
              [events, slot = b.slot] { events.slot_clicked(slot); });
    screens.push_back(b.screen);
  }
  AddHeadings(image_tab_.headings, page, screens, texts);
}

void SidePanel::BuildElementsPage(const i18n::UiTexts& texts, const PanelEvents& events) {
  // The x, y and w columns are named above the rows, where they stay while the rows scroll.
  auto* header = new QWidget;
  header->setFixedHeight(kHeaderHeight);
  elements_header_ = header;
  const std::pair<int, std::string_view> columns[] = {
      {kSpinX, "LANG_ELEMENTS_X$"}, {kSpinY, "LANG_ELEMENTS_Y$"}, {kSpinW, "LANG_ELEMENTS_W$"}};
  for (const auto& [x, key] : columns) {
    auto* label = new QLabel(Q(texts.Text(key)), header);
    label->setGeometry(x, 0, 48, kHeaderHeight);
    label->setAlignment(Qt::AlignCenter);
  }
  QWidget* page = AddPage(Q(texts.Text("LANG_PANEL_ELEMETS$")), 490, header);
  int row_index = 0;
  std::vector<int> screens;
  for (const ElementRow& element : ElementRows()) {
    const QString label =
        element.text_key.empty() ? QStringLiteral("LogoOffset") : Q(texts.Text(element.text_key));
    AddElementRow(element, label, page, kRowHeight * row_index++ + 5, events);
    screens.push_back(element.screen);
  }
  AddHeadings(row_headings_, page, screens, texts);
}

void SidePanel::AddElementRow(const ElementRow& element, const QString& label, QWidget* page, int y,
                              const PanelEvents& events) {
  names_[element.label_gadget] = label;
  if (element.kind == LabelKind::kCheckBox) {
    auto* box = new QCheckBox(page);
    box->setGeometry(5, y, 186, kRowHeight);
    box->setToolTip(label);
    const int g = element.label_gadget;
    connect(box, &QCheckBox::stateChanged, this,
            [this, box, events, g, field = *element.flag](int state) {
              // A click on a box that shows an odd stored flag makes it a plain 0 or 1 again.
              if (state == Qt::PartiallyChecked) return;
              box->setTristate(false);
              Unmark(g);
              events.field_edited(field, state == Qt::Checked ? 1 : 0);
            });
    gadgets_[element.label_gadget] = box;
    box_tab_.Add(box, label);
  } else {
    auto* plain = new QLabel(page);
    plain->setGeometry(20, y, 186, kRowHeight);
    plain->setToolTip(label);
    row_labels_.push_back(plain);
    gadgets_[element.label_gadget] = plain;
  }
  const std::pair<const std::optional<ElementSpin>*, std::pair<int, int>> spins[] = {
      {&element.x, {kSpinX, kMaxX}}, {&element.y, {kSpinY, kMaxY}}, {&element.w, {kSpinW, kMaxW}}};
  for (const auto& [spin, place] : spins) {
    if (!*spin) continue;
    auto* field = new SpinField(page);
    field->setGeometry(place.first, y, 48, kRowHeight);
    field->setRange(0, place.second);
    field->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    const int g = (*spin)->gadget;
    connect(field, &QSpinBox::valueChanged, this,
            [this, events, g, edited = (*spin)->field](int value) {
              Unmark(g);
              events.field_edited(edited, value);
            });
    gadgets_[g] = field;
  }
}

void SidePanel::BuildInformationPage(const i18n::UiTexts& texts, const PanelEvents& events) {
  QWidget* page = AddPage(Q(texts.Text("LANG_PANEL_INFORMATIONS$")), 210);
  // The skin file cannot hold "=" or a line end in a text: such a character would cut the text
  // on the next load, so the fields do not take them.
  auto* validator = new QRegularExpressionValidator(QRegularExpression("[^=\\r\\n]*"), this);
  for (const skin::InfoField& info_field : skin::kInfoFields) {
    const int i = static_cast<int>(skin::Index(info_field.id));
    auto* label = new QLabel(Q(texts.Text(info_field.text_key)), page);
    // In the 20 pixels between two fields: a label placed lower ran into its field's frame.
    label->setGeometry(5, 5 + 40 * i, 374, kRowHeight);
    auto* field = new QLineEdit(page);
    field->setGeometry(5, 25 + 40 * i, 374, kRowHeight);
    field->setValidator(validator);
    if (!info_field.editable) {
      // Set by saving: shown as a label shows text, out of the way of the keyboard.
      ShowAsReadOnly(field);
    }
    // Each edit of a text reaches the skin at once, so that it can be undone and outlives a
    // change of language.
    connect(field, &QLineEdit::textEdited, this,
            [events, id = info_field.id](const QString& typed) {
              events.info_edited(id, typed.toStdString());
            });
    info_fields_[skin::Index(info_field.id)] = field;
    const int g = GadgetOf(info_field.id);
    gadgets_[g] = field;
    gadgets_[g - 1] = label;  // a caption's number is its field's less one
    if (!info_field.editable) field->setToolTip(Q(texts.Text("LANG_INFO_UPDATE_TIP$")));
  }
}

void SidePanel::Captioned::Add(QAbstractButton* button, const QString& name) {
  buttons.push_back(button);
  names.push_back(name);
}

void SidePanel::Captioned::Caption(int room) const {
  const std::vector<QString> shown = FittedCaptions(names, buttons.front()->fontMetrics(), room);
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->setText(shown[i]);
}

int SidePanel::Captioned::Widest() const {
  int widest = 0;
  for (const QString& name : names)
    widest = std::max(widest, buttons.front()->fontMetrics().horizontalAdvance(name));
  return widest;
}

int SidePanel::PageWidth(int width) {
  // The narrowest panel, 392 wide, holds pages 384 wide: the rest is the tab frame.
  return width - (kSidePanelWidth - 384);
}

int SidePanel::LabelsWidth() const {
  int labels = box_tab_.Widest() + 30;  // the check box's indicator and margins
  for (const QLabel* label : row_labels_) {
    labels = std::max(labels, label->fontMetrics().horizontalAdvance(label->toolTip()) + 8);
  }
  return labels;
}

PanelFont SidePanel::Font() const {
  const QFontMetrics metrics = fontMetrics();
  QFont bold = font();
  bold.setBold(true);
  // A caption of about sixteen letters beside its icon.
  return {metrics.height(), QFontMetrics(bold).height() + 4, metrics.averageCharWidth() * 16};
}

int SidePanel::PageHeight() const {
  // The tab bar above the pages, and the pane's frame.
  return height() - tabBar()->sizeHint().height() - 6;
}

int SidePanel::PreferredWidth() const {
  // A caption needs its name, the icon beside it and the button's margins (CaptionRoom), with a
  // few pixels to spare.
  const auto columns = [](const Captioned& tab, ButtonTab kind) {
    const int icon = LayOutButtons(kind, 384, 0, {}).icon_width;
    return 3 * (tab.Widest() + 3 * kButtonPad + icon + 4);
  };
  const int elements = LabelsWidth() + (384 - 186);
  const int page = std::max({columns(colour_tab_, ButtonTab::kColours),
                             columns(image_tab_, ButtonTab::kImages), elements, 384});
  return page + (kSidePanelWidth - 384);
}

void SidePanel::resizeEvent(QResizeEvent* event) {
  QTabWidget::resizeEvent(event);
  Relayout(width());
}

void SidePanel::PlaceButtons(Captioned& tab, ButtonTab kind, int page_width, int page_height) {
  PanelFont font = Font();
  font.widest = tab.Widest();
  ButtonLayout layout = LayOutButtons(kind, page_width, page_height, font);
  if (layout.height > page_height) {
    // The page scrolls: its scroll bar takes a part of its width.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    layout = LayOutButtons(kind, page_width - bar, page_height, font);
  }
  for (std::size_t i = 0; i < tab.buttons.size(); ++i) {
    const PanelRect& at = layout.buttons[i];
    auto* button = static_cast<PanelButton*>(tab.buttons[i]);
    button->setGeometry(at.x, at.y, at.width, at.height);
    button->SetIconBox({layout.icon_width, layout.icon_height}, layout.lines);
  }
  for (std::size_t i = 0; i < tab.headings.size(); ++i) {
    QLabel* heading = tab.headings[i];
    heading->setVisible(layout.roomy);
    if (!layout.roomy) continue;
    const PanelRect& at = layout.headings[i].place;
    heading->setGeometry(at.x, at.y, at.width, at.height);
    heading->setText(
        heading->fontMetrics().elidedText(heading->toolTip(), Qt::ElideRight, at.width));
  }
  tab.buttons.front()->parentWidget()->setFixedSize(page_width, layout.height);
  tab.Caption(CaptionRoom(tab.buttons.front()));
}

void SidePanel::Relayout(int width) {
  const int page_width = std::max(384, PageWidth(width));
  const int page_height = PageHeight();
  if (QSize(page_width, page_height) == laid_out_) return;
  laid_out_ = QSize(page_width, page_height);
  for (QWidget* page : pages_) page->setFixedWidth(page_width);
  PlaceButtons(colour_tab_, ButtonTab::kColours, page_width, page_height);
  PlaceButtons(image_tab_, ButtonTab::kImages, page_width, page_height);

  // The Elements rows' labels grow up to what their longest name needs; the spins follow them.
  const int grown = std::clamp(page_width - 384, 0, std::max(0, LabelsWidth() - 186));
  const int label_width = 186 + grown;
  const RowLayout rows = LayOutElementRows(page_height - kHeaderHeight, Font());
  // The spins keep their height of 20 in taller rows, up to a little more.
  const int spin_height = std::min(rows.row_height - 2, 24);
  int row_index = 0;
  for (const ElementRow& element : ElementRows()) {
    QWidget* label = gadgets_.at(element.label_gadget);
    const int y = rows.tops[row_index++];
    const bool box = element.kind == LabelKind::kCheckBox;
    label->setGeometry(box ? 5 : 20, y, label_width, rows.row_height);
    if (!box) {
      auto* plain = static_cast<QLabel*>(label);
      plain->setText(
          plain->fontMetrics().elidedText(plain->toolTip(), Qt::ElideRight, label_width - 6));
    }
    const std::pair<const std::optional<ElementSpin>*, int> spins[] = {
        {&element.x, kSpinX}, {&element.y, kSpinY}, {&element.w, kSpinW}};
    for (const auto& [spin, x] : spins) {
      const int top = y + (rows.row_height - std::max(spin_height, kRowHeight)) / 2;
      if (*spin) {
        gadgets_.at((*spin)->gadget)
            ->setGeometry(x + grown, top, 48, std::max(spin_height, kRowHeight));
      }
    }
  }
  for (std::size_t i = 0; i < row_headings_.size(); ++i) {
    QLabel* heading = row_headings_[i];
    const bool shown = i < rows.headings.size();
    heading->setVisible(shown);
    if (!shown) continue;
    const PanelRect& at = rows.headings[i].place;
    heading->setGeometry(at.x, at.y, page_width - 2 * at.x, at.height);
    heading->setText(
        heading->fontMetrics().elidedText(heading->toolTip(), Qt::ElideRight, heading->width()));
  }
  pages_[2]->setFixedHeight(rows.height);
  const auto header_labels = elements_header_->findChildren<QLabel*>();
  const int columns[] = {kSpinX, kSpinY, kSpinW};
  for (int i = 0; i < header_labels.size() && i < 3; ++i)
    header_labels[i]->move(columns[i] + grown, 0);
  // Check boxes leave their caption the box's width less the indicator.
  box_tab_.Caption(label_width - 26);

  // The information texts: a caption above each field, further apart and taller with room.
  const bool roomy = page_height >= kRoomyPageHeight;
  const int pitch = roomy ? 56 : 40;
  const int field_height = roomy ? 24 : kRowHeight;
  for (std::size_t i = 0; i < info_fields_.size(); ++i) {
    const int field_width = page_width - 10;
    const int top = 5 + pitch * static_cast<int>(i);
    info_fields_[i]->setGeometry(5, top + 20, field_width, field_height);
    gadgets_.at(GadgetOf(skin::kInfoFields[i].id) - 1)
        ->setGeometry(5, top, field_width, kRowHeight);
  }
  pages_[3]->setFixedHeight(10 + pitch * static_cast<int>(info_fields_.size()));
  if (highlighted_ != 0 && highlight_frame_ != nullptr) {
    highlight_frame_->setGeometry(Gadget(highlighted_)->geometry());
  }
}

QWidget* SidePanel::AddPage(const QString& title, int content_height, QWidget* header) {
  // Each page scrolls, so that a large desktop font never hides a gadget.
  auto* scroll = new QScrollArea;
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* page = new QWidget;
  page->setFixedSize(384, content_height);
  pages_.push_back(page);
  scroll->setWidget(page);
  if (header == nullptr) {
    addTab(scroll, title);
    return page;
  }
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(header);
  layout->addWidget(scroll);
  addTab(tab, title);
  return page;
}

void SidePanel::SetScreenEnabled(int screen, bool enabled) {
  for (const ColourButton& b : ColourButtons()) {
    if (b.screen == screen) gadgets_.at(b.gadget)->setEnabled(enabled);
  }
  for (const ImageButton& b : ImageButtons()) {
    if (b.screen == screen) gadgets_.at(b.gadget)->setEnabled(enabled);
  }
  // The screen shown has its headings in the colour of a selection.
  for (const auto* headings : {&colour_tab_.headings, &image_tab_.headings, &row_headings_}) {
    for (QLabel* heading : *headings) {
      if (heading->property("screen").toInt() != screen) continue;
      QPalette palette;  // none of its own unless it is the screen's shown
      if (enabled)
        palette.setColor(QPalette::WindowText, this->palette().color(QPalette::Highlight));
      heading->setPalette(palette);
    }
  }
  for (const ElementRow& row : ElementRows()) {
    if (row.screen != screen) continue;
    gadgets_.at(row.label_gadget)->setEnabled(enabled);
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (spin) gadgets_.at(spin->gadget)->setEnabled(enabled);
    }
  }
}

void SidePanel::Refresh(const skin::SkinDocument& doc) {
  RefreshFields(doc);
  RefreshInfo(doc);
  RefreshButtons(doc);
}

void SidePanel::RefreshFields(const skin::SkinDocument& doc,
                              const std::bitset<skin::kFieldCount>& which) {
  for (const ElementRow& row : ElementRows()) {
    if (row.kind == LabelKind::kCheckBox && which[skin::Index(*row.flag)]) {
      auto* box = static_cast<QCheckBox*>(gadgets_.at(row.label_gadget));
      const QSignalBlocker block(box);
      const int flag = doc.Field(*row.flag);
      const bool odd = flag != 0 && flag != 1;
      box->setTristate(odd);
      box->setCheckState(odd ? Qt::PartiallyChecked : flag == 1 ? Qt::Checked : Qt::Unchecked);
      SetMarked(box, odd);
      box->setToolTip(names_.at(row.label_gadget) +
                      (odd ? "\n" + odd_flag_text_.arg(flag) : QString()));
    }
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (!spin || !which[skin::Index(spin->field)]) continue;
      auto* field = static_cast<QSpinBox*>(gadgets_.at(spin->gadget));
      const QSignalBlocker block(field);
      const int value = doc.Field(spin->field);
      const bool outside = value < field->minimum() || value > field->maximum();
      field->setValue(value);
      SetMarked(field, outside);
      field->setToolTip(outside ? out_of_range_text_.arg(QString::number(value),
                                                         QString::number(field->minimum()),
                                                         QString::number(field->maximum()))
                                : QString());
    }
  }
}

void SidePanel::RefreshInfo(const skin::SkinDocument& doc) {
  for (const skin::InfoField& field : skin::kInfoFields) {
    QLineEdit* edit = info_fields_[skin::Index(field.id)];
    // Setting the same text would move the cursor of the field being typed in.
    const QString text = Q(doc.info.*field.text);
    if (edit->text() != text) edit->setText(text);
  }
}

void SidePanel::RefreshButtons(const skin::SkinDocument& doc) {
  for (const ColourButton& b : ColourButtons()) {
    const imaging::Rgb colour = doc.Colour(b.colour);
    const auto shown = shown_colours_.find(b.gadget);
    if (shown != shown_colours_.end() && shown->second == colour) continue;
    shown_colours_[b.gadget] = colour;
    // The colour's code as the skin file writes it.
    const QString code = Q(skin::FormatSkinColour(colour));
    auto* button = static_cast<PanelButton*>(gadgets_.at(b.gadget));
    button->SetColour(ToQColor(colour), code);
    button->setToolTip(names_.at(b.gadget) + "\n" + code);
  }
  for (const ImageButton& b : ImageButtons()) {
    // Pictures that were not replaced are the very ones shown: the comparison stops there.
    const imaging::SharedImage& slot = doc.slots[skin::Index(b.slot)];
    const auto shown = shown_pictures_.find(b.gadget);
    if (shown != shown_pictures_.end() && shown->second == slot) continue;
    shown_pictures_[b.gadget] = slot;
    auto* button = static_cast<PanelButton*>(gadgets_.at(b.gadget));
    const imaging::Image& picture = slot;
    const skin::SlotInfo& info = skin::Info(b.slot);
    const bool empty = picture.Empty();
    // A picture of another size than the layout is made for is marked, as odd values are.
    SetMarked(button, !empty && (picture.width != info.expected_width ||
                                 picture.height != info.expected_height));
    const QString name = QString::fromUtf8(info.BaseName().data(), info.BaseName().size());
    const QString expected_w = QString::number(info.expected_width);
    const QString expected_h = QString::number(info.expected_height);
    button->SetPicture(slot, QStringLiteral("%1 \u00d7 %2").arg(expected_w, expected_h));
    button->setToolTip(
        names_.at(b.gadget) + "\n" +
        (empty ? expected_none_text_.arg(name, expected_w, expected_h)
               : expected_text_.arg(name, expected_w, expected_h, QString::number(picture.width),
                                    QString::number(picture.height))));
  }
}

void SidePanel::Unmark(int gadget) {
  QWidget* field = gadgets_.at(gadget);
  if (!field->property("marked").toBool()) return;
  SetMarked(field, false);
  field->setToolTip(qobject_cast<QCheckBox*>(field) != nullptr ? names_.at(gadget) : QString());
}

bool SidePanel::IsMarked(skin::FieldId field) const {
  const QWidget* widget = Widget(field);
  return widget != nullptr && widget->property("marked").toBool();
}

QWidget* SidePanel::Widget(skin::FieldId field) const { return Gadget(GadgetOf(field)); }
QWidget* SidePanel::Widget(skin::ColourId colour) const { return Gadget(GadgetOf(colour)); }
QWidget* SidePanel::Widget(skin::SlotId slot) const { return Gadget(GadgetOf(slot)); }
QWidget* SidePanel::Widget(skin::InfoId info) const { return Gadget(GadgetOf(info)); }

QWidget* SidePanel::Gadget(int gadget) const {
  const auto found = gadgets_.find(gadget);
  return found == gadgets_.end() ? nullptr : found->second;
}

int SidePanel::TabOf(const QWidget* widget) const {
  for (int i = 0; i < count(); ++i) {
    if (this->widget(i)->isAncestorOf(widget)) return i;
  }
  return -1;
}

void SidePanel::Highlight(int gadget) {
  if (gadget == highlighted_) return;
  highlighted_ = gadget;
  for (int i = 0; i < count(); ++i) tabBar()->setTabTextColor(i, QColor());
  QWidget* target = Gadget(gadget);
  if (target == nullptr) {
    if (highlight_frame_ != nullptr) highlight_frame_->hide();
    return;
  }
  // A frame around the gadget rather than a change of the gadget's own look, which styles draw
  // differently; it lets the pointer through.
  if (highlight_frame_ == nullptr) {
    highlight_frame_ = new QFrame;
    highlight_frame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    highlight_frame_->setStyleSheet("border: 2px solid palette(highlight); background: none;");
  }
  highlight_frame_->setParent(target->parentWidget());
  highlight_frame_->setGeometry(target->geometry());
  highlight_frame_->raise();
  highlight_frame_->show();
  tabBar()->setTabTextColor(TabOf(target), palette().color(QPalette::Highlight));
}

void SidePanel::Reveal(int gadget) {
  QWidget* target = Gadget(gadget);
  const int tab = TabOf(target);
  if (tab < 0) return;
  setCurrentIndex(tab);
  // The page's scroll area: the tab itself, or below a header on the Elements tab.
  for (QWidget* w = target->parentWidget(); w != nullptr && w != this; w = w->parentWidget()) {
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
      scroll->ensureWidgetVisible(target);
      break;
    }
  }
  target->setFocus(Qt::OtherFocusReason);
}

}  // namespace app

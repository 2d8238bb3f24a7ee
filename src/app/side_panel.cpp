// Side panel construction.
#include "app/side_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>

#include "app/fixed_numbers.h"
#include "app/panel_tables.h"
#include "app/spin_field.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kButtonWidth = 128;
constexpr int kRowHeight = 20;

}  // namespace

void SetFittedCaption(QAbstractButton* button, const QString& text) {
  const int room = button->width() - 8;
  const QString shown = button->fontMetrics().elidedText(text, Qt::ElideRight, room);
  button->setText(shown);
  button->setToolTip(shown == text ? QString() : text);
}

SidePanel::SidePanel(const i18n::UiTexts& texts, std::function<void(int)> on_gadget,
                     QWidget* parent)
    : QTabWidget(parent) {
  setObjectName("SidePanel");
  auto text = [&](std::string_view key) { return Q(texts.Text(key)); };

  QWidget* colours = AddPage(text("LANG_PANEL_COLORS$"), 240);
  for (const ColourButton& b : ColourButtons()) {
    auto* button = new QPushButton(colours);
    button->setGeometry(b.x, b.y, kButtonWidth, kRowHeight);
    SetFittedCaption(button, text(b.text_key));
    connect(button, &QPushButton::clicked, this, [on_gadget, g = b.gadget] { on_gadget(g); });
    gadgets_[b.gadget] = button;
  }

  QWidget* images = AddPage(text("LANG_PANEL_IMAGES$"), 420);
  for (const ImageButton& b : ImageButtons()) {
    auto* button = new QPushButton(images);
    button->setGeometry(b.x, b.y, kButtonWidth, kRowHeight);
    SetFittedCaption(button,
                     text("LANG_IMAGE_" + std::string(skin::Info(b.slot).BaseName()) + "$"));
    connect(button, &QPushButton::clicked, this, [on_gadget, g = b.gadget] { on_gadget(g); });
    gadgets_[b.gadget] = button;
  }

  QWidget* elements = AddPage(text("LANG_PANEL_ELEMETS$"), 490);
  int row_index = 0;
  for (const ElementRow& row : ElementRows()) {
    const int y = kRowHeight * row_index++ + 5;
    const QString label = row.text_key.empty() ? QStringLiteral("LogoOffset") : text(row.text_key);
    if (row.kind == LabelKind::kCheckBox) {
      auto* box = new QCheckBox(elements);
      box->setGeometry(5, y, 186, kRowHeight);
      SetFittedCaption(box, label);
      connect(box, &QCheckBox::toggled, this, [on_gadget, g = row.label_gadget] { on_gadget(g); });
      gadgets_[row.label_gadget] = box;
    } else {
      auto* plain = new QLabel(elements);
      plain->setGeometry(20, y, 186, kRowHeight);
      plain->setText(plain->fontMetrics().elidedText(label, Qt::ElideRight, 180));
      if (plain->text() != label) plain->setToolTip(label);
      gadgets_[row.label_gadget] = plain;
    }
    const std::pair<const std::optional<ElementSpin>*, std::pair<int, int>> spins[] = {
        {&row.x, {kSpinX, kMaxX}}, {&row.y, {kSpinY, kMaxY}}, {&row.w, {kSpinW, kMaxW}}};
    for (const auto& [spin, place] : spins) {
      if (!*spin) continue;
      auto* field = new SpinField(elements);
      field->setGeometry(place.first, y, 48, kRowHeight);
      field->setRange(0, place.second);
      field->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
      connect(field, &QSpinBox::valueChanged, this,
              [on_gadget, g = (*spin)->gadget] { on_gadget(g); });
      gadgets_[(*spin)->gadget] = field;
    }
  }

  QWidget* info = AddPage(text("LANG_PANEL_INFORMATIONS$"), 210);
  const char* keys[] = {"LANG_INFO_TITLE$", "LANG_INFO_AUTHOR$", "LANG_INFO_EMAIL$",
                        "LANG_INFO_URL$", "LANG_INFO_UPDATE$"};
  // The skin file cannot hold "=" or a line end in a text: such a character would cut the text
  // on the next load, so the fields do not take them.
  auto* validator = new QRegularExpressionValidator(QRegularExpression("[^=\\r\\n]*"), this);
  for (int i = 0; i < 5; ++i) {
    auto* label = new QLabel(text(keys[i]), info);
    label->setGeometry(5, 10 + 40 * i, 374, kRowHeight);
    auto* field = new QLineEdit(info);
    field->setGeometry(5, 25 + 40 * i, 374, kRowHeight);
    field->setValidator(validator);
    field->setReadOnly(i == 4);
    info_fields_[i] = field;
    gadgets_[292 + 2 * i] = field;
    gadgets_[291 + 2 * i] = label;
  }
}

QWidget* SidePanel::AddPage(const QString& title, int content_height) {
  // Each page scrolls, so that a large desktop font never hides a gadget.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* page = new QWidget;
  page->setFixedSize(384, content_height);
  scroll->setWidget(page);
  addTab(scroll, title);
  return page;
}

void SidePanel::SetScreenEnabled(int screen, bool enabled) {
  for (const ColourButton& b : ColourButtons()) {
    if (b.screen == screen) gadgets_.at(b.gadget)->setEnabled(enabled);
  }
  for (const ImageButton& b : ImageButtons()) {
    if (b.screen == screen) gadgets_.at(b.gadget)->setEnabled(enabled);
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
  for (const ElementRow& row : ElementRows()) {
    if (row.kind == LabelKind::kCheckBox) {
      auto* box = static_cast<QCheckBox*>(gadgets_.at(row.label_gadget));
      const QSignalBlocker block(box);
      box->setChecked(doc.Field(*row.flag) == 1);
    }
    for (const std::optional<ElementSpin>& spin : {row.x, row.y, row.w}) {
      if (!spin) continue;
      auto* field = static_cast<QSpinBox*>(gadgets_.at(spin->gadget));
      const QSignalBlocker block(field);
      field->setValue(doc.Field(spin->field));
    }
  }
  const std::string* texts[] = {&doc.info.Title, &doc.info.Author, &doc.info.eMail, &doc.info.Url,
                                &doc.info.LastUpdate};
  for (int i = 0; i < 5; ++i) info_fields_[i]->setText(Q(*texts[i]));
}

int SidePanel::GadgetValue(int gadget) const {
  QWidget* widget = Gadget(gadget);
  if (auto* box = qobject_cast<QCheckBox*>(widget)) return box->isChecked() ? 1 : 0;
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) return spin->value();
  return 0;
}

skin::EditedInfo SidePanel::EditedInfo() const {
  return {info_fields_[0]->text().toStdString(), info_fields_[1]->text().toStdString(),
          info_fields_[2]->text().toStdString(), info_fields_[3]->text().toStdString()};
}

QWidget* SidePanel::Gadget(int gadget) const {
  const auto found = gadgets_.find(gadget);
  return found == gadgets_.end() ? nullptr : found->second;
}

}  // namespace app

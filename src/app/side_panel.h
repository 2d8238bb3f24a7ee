// The side panel: the Colours, Images, Elements and Information tabs, built by walking the panel
// tables. Every gadget reports its fixed number; the panel itself changes nothing in the skin.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <bitset>
#include <functional>
#include <map>
#include <vector>

#include "app/panel_tables.h"
#include "i18n/ui_texts.h"
#include "skin/skin_document.h"

class QAbstractButton;
class QFontMetrics;
class QLabel;
class QLineEdit;

namespace app {

// What the user does with the panel's gadgets, named by what they edit.
struct PanelEvents {
  // A spin took a value or a check box was ticked (1) or cleared (0).
  std::function<void(skin::FieldId, int)> field_edited;
  std::function<void(skin::ColourId)> colour_clicked;
  std::function<void(skin::SlotId)> slot_clicked;
  std::function<void(skin::InfoId, std::string)> info_edited;
};

// A colour or image button of the panel: its swatch or thumbnail in a box at its left edge, its
// caption beside it, and in a tile tall enough a second line (the colour's code, the slot's size).
// A button of another screen than the one shown stays readable: its text and picture are dimmed,
// not greyed.
class PanelButton : public QPushButton {
 public:
  explicit PanelButton(QWidget* parent) : QPushButton(parent) {}

  // The icon's box, and the caption's lines (the second only where there is a detail to show).
  void SetIconBox(QSize box, int lines);
  void SetColour(QColor colour, QString detail);
  void SetPicture(imaging::SharedImage picture, QString detail);
  QSize icon_box() const { return box_; }
  int lines() const { return lines_; }
  const QColor& colour() const { return colour_; }
  const imaging::SharedImage& picture() const { return picture_; }
  const QString& detail() const { return detail_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize box_{20, 14};
  int lines_ = 1;
  QColor colour_;  // a colour button's colour; invalid on an image button
  imaging::SharedImage picture_;
  QString detail_;
  QPixmap thumbnail_;  // made from the picture for the box, when first painted
};

class SidePanel : public QTabWidget {
 public:
  SidePanel(const i18n::UiTexts& texts, PanelEvents events, QWidget* parent);

  // Lays the pages out for a panel `width` pixels wide (kSidePanelWidth or more) and as high as it
  // stands: the buttons stand as LayOutButtons places them and show as much of their names as
  // their width allows, the Elements rows' labels take what their names need of it and the
  // information fields the rest; with room to spare each screen's gadgets stand below a heading.
  void Relayout(int width);
  // The width at which every name shows whole.
  int PreferredWidth() const;

  // Enables or disables the colour, image and element gadgets of one preview screen.
  void SetScreenEnabled(int screen, bool enabled);

  // Shows the document's element values and information texts, and its colours and pictures on
  // their buttons; writes nothing back. A value that its field cannot show (outside the spin's
  // range, or a flag neither 0 nor 1) is marked and named in the field's tooltip; the document
  // keeps it until the user changes that field.
  void Refresh(const skin::SkinDocument& doc);
  // Only the gadgets of the fields in `which` (all when none is given).
  void RefreshFields(const skin::SkinDocument& doc, const std::bitset<skin::kFieldCount>& which =
                                                        std::bitset<skin::kFieldCount>().set());
  void RefreshInfo(const skin::SkinDocument& doc);

  // Shows the document's colours and pictures on their buttons: a swatch on each colour button and
  // its code in the tooltip, a thumbnail on each image button, and in its tooltip the size the slot
  // expects and the picture's; a picture of another size is marked.
  void RefreshButtons(const skin::SkinDocument& doc);

  // Whether a field's gadget shows a value it cannot hold (marked by Refresh).
  bool IsMarked(skin::FieldId field) const;

  // The widget of a fixed gadget number, or nullptr.
  QWidget* Gadget(int gadget) const;
  // The gadget that edits a field, a colour, a slot or an information text.
  QWidget* Widget(skin::FieldId field) const;
  QWidget* Widget(skin::ColourId colour) const;
  QWidget* Widget(skin::SlotId slot) const;
  QWidget* Widget(skin::InfoId info) const;

  // Frames gadget `gadget` and marks its tab's title; 0 takes the marks away.
  void Highlight(int gadget);
  int highlighted() const { return highlighted_; }
  // Shows gadget `gadget`'s tab, scrolls the gadget into view and gives it the keyboard focus.
  void Reveal(int gadget);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* AddPage(const QString& title, int content_height, QWidget* header = nullptr);
  // The width the Elements rows' labels need for their whole names.
  int LabelsWidth() const;
  // The page width that a panel `width` pixels wide leaves, and the height the panel leaves.
  static int PageWidth(int width);
  int PageHeight() const;
  PanelFont Font() const;
  void Unmark(int gadget);

  // The index of the tab that holds `widget`, or -1.
  int TabOf(const QWidget* widget) const;
  QWidget* highlight_frame_ = nullptr;
  int highlighted_ = 0;
  std::array<QLineEdit*, skin::kInfoFields.size()> info_fields_{};
  std::map<int, QWidget*> gadgets_;
  // The buttons of one tab and their full names, captioned together so that no two of them read
  // the same.
  struct Captioned {
    std::vector<QAbstractButton*> buttons;
    std::vector<QString> names;
    std::vector<QLabel*> headings;  // one above each screen's buttons, shown with room to spare
    void Add(QAbstractButton* button, const QString& name);
    // Each caption fitted into `room` pixels.
    void Caption(int room) const;
    int Widest() const;  // the width of the widest name
  };
  Captioned colour_tab_, image_tab_, box_tab_;

  // The four pages, each built by walking its panel table.
  void BuildColourPage(const i18n::UiTexts& texts, const PanelEvents& events);
  void BuildImagePage(const i18n::UiTexts& texts, const PanelEvents& events);
  void BuildElementsPage(const i18n::UiTexts& texts, const PanelEvents& events);
  void BuildInformationPage(const i18n::UiTexts& texts, const PanelEvents& events);
  // Places the buttons of `tab` and their headings as LayOutButtons lays out `kind`.
  void PlaceButtons(Captioned& tab, ButtonTab kind, int page_width, int page_height);
  // A heading above each run of `screens` (the screens of the rows or buttons of a tab), hidden.
  void AddHeadings(std::vector<QLabel*>& headings, QWidget* page, const std::vector<int>& screens,
                   const i18n::UiTexts& texts);
  // A button of `tab` at `at` on `page`, captioned with `name`.
  void AddButton(Captioned& tab, QWidget* page, int gadget, QPoint at, const QString& name,
                 std::function<void()> clicked);
  // One row of the Elements page at height `y`: its label or check box and its spins.
  void AddElementRow(const ElementRow& element, const QString& label, QWidget* page, int y,
                     const PanelEvents& events);
  std::vector<QWidget*> pages_;
  QSize laid_out_;  // the page's size the pages were last laid out for
  QWidget* elements_header_ = nullptr;
  std::vector<QLabel*> row_labels_;  // the plain labels of the Elements rows
  std::vector<QLabel*> row_headings_;
  std::map<int, QString> names_;  // the full caption of each captioned gadget
  // What each colour and image button shows, so that a refresh redraws only the buttons whose
  // colour or picture changed.
  std::map<int, imaging::Rgb> shown_colours_;
  std::map<int, imaging::SharedImage> shown_pictures_;
  QString expected_text_, expected_none_text_, out_of_range_text_, odd_flag_text_;
};

// `picture` as a thumbnail that fits in `box` (device pixels), drawn with sharp pixels: enlarged
// by a whole factor, or made smaller by taking the nearest pixels; the key colour shows as a
// chequerboard. Never larger than `box`, whatever the picture's size; none for an empty picture.
QImage PanelThumbnail(const imaging::Image& picture, QSize box);

// The captions of a row of gadgets `room` pixels wide: each text as it is when it fits, else
// elided at its end, or in its middle where ends elided would read the same as another's.
std::vector<QString> FittedCaptions(const std::vector<QString>& texts, const QFontMetrics& metrics,
                                    int room);

}  // namespace app

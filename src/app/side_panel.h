// The side panel: the Colours, Images, Elements and Information tabs, built by walking the panel
// tables. Every gadget reports its fixed number; the panel itself changes nothing in the skin.
#pragma once

#include <QTabWidget>
#include <functional>
#include <map>

#include "i18n/ui_texts.h"
#include "skin/skin_document.h"
#include "skin/skin_saver.h"

class QAbstractButton;
class QLineEdit;

namespace app {

class SidePanel : public QTabWidget {
 public:
  // `on_gadget` receives the number of every colour button, image button and element gadget the
  // user works.
  SidePanel(const i18n::UiTexts& texts, std::function<void(int)> on_gadget, QWidget* parent);

  // Enables or disables the colour, image and element gadgets of one preview screen.
  void SetScreenEnabled(int screen, bool enabled);

  // Shows the document's element values and information texts; writes nothing back.
  void Refresh(const skin::SkinDocument& doc);

  // The current state of an element gadget: a spin's value, or 1/0 for a check box.
  int GadgetValue(int gadget) const;

  // The four editable information texts as typed.
  skin::EditedInfo EditedInfo() const;
  // The text of an information field (gadgets 292 to 298).
  std::string InfoText(int gadget) const;

  // The widget of a fixed gadget number, or nullptr.
  QWidget* Gadget(int gadget) const;

  // Frames gadget `gadget` and marks its tab's title; 0 takes the marks away.
  void Highlight(int gadget);
  int highlighted() const { return highlighted_; }
  // Shows gadget `gadget`'s tab, scrolls the gadget into view and gives it the keyboard focus.
  void Reveal(int gadget);

 private:
  QWidget* AddPage(const QString& title, int content_height);
  // The index of the tab that holds `widget`, or -1.
  int TabOf(const QWidget* widget) const;
  QWidget* highlight_frame_ = nullptr;
  int highlighted_ = 0;
  QLineEdit* info_fields_[5] = {};
  std::map<int, QWidget*> gadgets_;
};

// Sets a button's caption, elided to the button's width with the full text as tooltip when it
// does not fit.
void SetFittedCaption(QAbstractButton* button, const QString& text);

}  // namespace app

// The colour editor: a small modal window that changes one colour through three 5-bit channel
// fields, a typed or pasted colour code, the system colour chooser, or a pixel picked from the
// screen with the right mouse button.
#pragma once

#include <QDialog>
#include <functional>

#include "i18n/ui_texts.h"
#include "imaging/image.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace app {

// "0x" and four upper-case hexadecimal digits of R5 * 1024 + G5 * 32 + B5: red in the high bits,
// as the console's bitmaps hold it.
QString ColourCode(imaging::Rgb colour);

// The colour editor's width for the window title `title`: the fixed layout's 200 pixels, or what
// the title needs to show whole, within the width of the screen of `parent`.
int ColourEditorWidth(const QString& title, const QWidget* parent);

class ColourEditor : public QDialog {
 public:
  // Edits `given`, the colour called `name` (shown in the title and above the fields; none when
  // empty). `live` is called with each new colour as it is shown.
  ColourEditor(const i18n::UiTexts& texts, imaging::Rgb given, QWidget* parent,
               const QString& name = {}, std::function<void(imaging::Rgb)> live = {});

  // The result: the new colour after OK, the given one otherwise.
  imaging::Rgb Result() const { return result() == QDialog::Accepted ? current_ : given_; }
  imaging::Rgb current() const { return current_; }

  // Sets the new colour (as the chooser or a screen pick does) and shows it everywhere.
  void SetNewColour(imaging::Rgb colour);

  QSpinBox* channel(int i) const { return channels_[i]; }
  QLineEdit* new_code() const { return new_code_; }
  QLineEdit* given_code() const { return given_code_; }
  // The field that takes a typed or pasted code (skin::ParseColourCode) and shows the new colour
  // in the skin file's notation.
  QLineEdit* typed_code() const { return typed_code_; }
  // Whether the typed code is marked as no colour (OK then waits for a colour).
  bool code_invalid() const;
  QPushButton* ok_button() const { return ok_; }
  QLabel* name_label() const { return name_label_; }
  QLabel* instructions() const { return instructions_; }
  QLabel* swatch() const { return swatch_; }
  QPushButton* chooser() const { return chooser_; }
  // Whether a held right button picks from the screen now (not while the system chooser is open).
  bool picking() const;

  // Opens the editor and returns its result.
  static imaging::Rgb EditColour(const i18n::UiTexts& texts, imaging::Rgb given,
                                 const QString& name, std::function<void(imaging::Rgb)> live,
                                 QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChannelChanged();
  void CodeTyped(const QString& text);
  void MarkCode(bool invalid);
  // Shows `colour` as the new colour everywhere but in the code field while it is typed in.
  void ShowNewColour(imaging::Rgb colour, bool typed);
  void PickUnderPointer();
  void ShowSwatch();
  void ChooseWithSystemChooser();

  static constexpr int kPickIntervalMs = 15;

  imaging::Rgb given_;
  QTimer* pick_timer_ = nullptr;
  imaging::Rgb current_;
  QLabel* instructions_ = nullptr;
  QLabel* swatch_ = nullptr;
  QPushButton* chooser_ = nullptr;
  QLineEdit* given_code_ = nullptr;
  QLineEdit* new_code_ = nullptr;
  QLineEdit* typed_code_ = nullptr;
  QLabel* name_label_ = nullptr;
  QPushButton* ok_ = nullptr;
  QAction* invalid_mark_ = nullptr;
  QString code_tip_, invalid_tip_;
  std::function<void(imaging::Rgb)> live_;
  QSpinBox* channels_[3] = {};
};

}  // namespace app

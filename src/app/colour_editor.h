// The colour editor: a small modal window that changes one colour through three 5-bit channel
// fields, the system colour chooser, or a pixel picked from the screen with the right mouse button.
#pragma once

#include <QDialog>

#include "i18n/ui_texts.h"
#include "imaging/image.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace app {

// "0x" and four upper-case hexadecimal digits of R5 * 1024 + G5 * 32 + B5: red in the high bits,
// as the console's bitmaps hold it.
QString ColourCode(imaging::Rgb colour);

class ColourEditor : public QDialog {
 public:
  ColourEditor(const i18n::UiTexts& texts, imaging::Rgb given, QWidget* parent);

  // The result: the new colour after OK, the given one otherwise.
  imaging::Rgb Result() const { return result() == QDialog::Accepted ? current_ : given_; }
  imaging::Rgb current() const { return current_; }

  // Sets the new colour (as the chooser or a screen pick does) and shows it everywhere.
  void SetNewColour(imaging::Rgb colour);

  QSpinBox* channel(int i) const { return channels_[i]; }
  QLineEdit* new_code() const { return new_code_; }
  QLineEdit* given_code() const { return given_code_; }
  QLabel* instructions() const { return instructions_; }
  QLabel* swatch() const { return swatch_; }
  QPushButton* chooser() const { return chooser_; }
  // Whether a held right button picks from the screen now (not while the system chooser is open).
  bool picking() const;

  // Opens the editor and returns its result.
  static imaging::Rgb EditColour(const i18n::UiTexts& texts, imaging::Rgb given, QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChannelChanged(int index);
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
  QSpinBox* channels_[3] = {};
};

}  // namespace app

// The import studio: fits a picture of another size into a slot. It shows the source picture with
// the frame the slot will show of it, and the choices of how the picture fits, scales, is reduced
// to 15-bit colour and which of its colours becomes transparent. Every change is fitted at once
// and shown in the dialog and, through `live`, in the main preview.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "app/user_dialogs.h"
#include "i18n/ui_texts.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLayout;
class QVBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QStackedWidget;

namespace app {

// The source picture with its frame: a drag or the arrow keys move a cover frame, the wheel or
// + and - zoom it, and while picking a click names the colour under it and where it is (fractions
// of the picture's width and height, the middle of its pixel).
class SourceView : public QWidget {
 public:
  struct Events {
    std::function<void(double focus_x, double focus_y, double zoom)> framed;
    std::function<void(imaging::Rgb colour, double x, double y)> picked;
  };
  SourceView(const imaging::FitSource& source, Events events, QWidget* parent);

  // Shows `settings`' frame; the picture again after its key changed (`picture_changed`).
  void Show(const imaging::FitSettings& settings, bool picture_changed);
  void SetPicking(bool picking);
  // Whether the slot is drawn without transparency: transparent pixels then show in key green.
  void SetKeyless(bool keyless) { keyless_ = keyless; }
  // Where the source picture is drawn, and the frame on it, in the view's pixels.
  QRectF PictureRect() const;
  QRectF FrameRect() const;
  QSize sizeHint() const override { return {320, 240}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The middle of the cover frame, in source pixels.
  QPointF FrameCentre() const;
  // Reports the frame centred on `centre` (source pixels) at `zoom`.
  void Reframe(QPointF centre, double zoom);
  // The source pixel under a point of the view.
  QPointF SourcePoint(QPointF at) const;
  void UseLevelFor(QSize shown);

  const imaging::FitSource& source_;
  Events events_;
  imaging::FitSettings settings_;
  QImage shown_;  // the halving drawn, over its pixels
  int shown_level_ = -1;
  bool picking_ = false;
  bool keyless_ = false;
  bool dragging_ = false;
  QPointF drag_from_;        // where the drag started, in source pixels
  QPointF centre_at_press_;  // the frame's centre then
};

// Its parts are named for what they choose: "Source", "TargetWidth", "TargetHeight", "FitCover",
// "FitContain", "FitStretch", "FitKeep", "Resampling", "Dither", "PickKey", "ClearKey",
// "KeyTolerance", "KeyToleranceValue", "KeyConnected", "Result"; and for what they say: "KeyShown"
// (the key's swatch or that there is none), "Hint", "KeylessNote", "MissingSource".
class ImportStudio : public QDialog {
 public:
  ImportStudio(const i18n::UiTexts& texts, const StudioRequest& request,
               std::function<void(const imaging::Image&)> live, QWidget* parent);

  const imaging::FitSettings& settings() const { return settings_; }
  // Takes `settings` as if the user had chosen them, and fits anew.
  void SetSettings(const imaging::FitSettings& settings);
  // The picture the current settings make.
  const imaging::Image& result() const { return result_; }

  // Moves the studio beside the main preview of `window`, where the screen has room for it, so
  // that the picture shows in its place while it is framed.
  void KeepPreviewInSight(QWidget* window);

  // Sizes the studio to its contents within the screen, the result under the source where the
  // screen is short, beside the main preview of `window` where there is room (KeepPreviewInSight).
  void PlaceOnScreen(QWidget* window);
  // Opens the studio and returns its answer.
  static std::optional<imaging::FitSettings> Run(const i18n::UiTexts& texts,
                                                 const StudioRequest& request,
                                                 std::function<void(const imaging::Image&)> live,
                                                 QWidget* parent);

 private:
  QString Text(std::string_view key) const;
  // The rows of the settings' column, each with the controls of one choice.
  void AddSizeRows(QFormLayout& form);       // the target's size and the sizes it may take
  QLayout* FitChoices();                     // how the picture fits, and the whole picture again
  void AddReductionRows(QFormLayout& form);  // resampling, dithering and its strength
  QLayout* KeyRow();                         // the colour that becomes transparent
  void AddKeyRows(QFormLayout& form);        // the key's tolerance and its region
  QLayout* FillRow();                        // what fills the room a contained picture leaves
  // Shows the settings in every control, without reporting them back.
  void ShowSettings();
  // Fits the picture with the settings and shows the result.
  void Refit(bool picture_changed = false);
  void Change(const std::function<void(imaging::FitSettings&)>& edit);
  void PickKey(std::optional<imaging::ColourKey> key);
  // The key's tolerance and region as the controls set them, for the key and for the next pick.
  void RefineKey(const std::function<void(imaging::ColourKey&)>& edit);

  const i18n::UiTexts& texts_;
  StudioRequest request_;
  std::function<void(const imaging::Image&)> live_;
  imaging::FitSettings settings_;
  imaging::Image result_;
  SourceView* view_ = nullptr;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  std::array<QAbstractButton*, 4> fits_{};
  QComboBox* resampling_ = nullptr;
  QComboBox* dither_ = nullptr;
  QSlider* strength_ = nullptr;
  QSpinBox* strength_value_ = nullptr;
  QVBoxLayout* left_ = nullptr;  // the source's column
  QFormLayout* form_ = nullptr;  // the settings' column
  bool result_beside_source_ = false;
  // The tolerance and region a pick keys with, also while there is no key.
  imaging::ColourKey next_key_;
  QStackedWidget* key_shown_ = nullptr;  // the key's swatch, or the words for none
  QLabel* key_swatch_ = nullptr;
  QPushButton* pick_ = nullptr;
  QPushButton* clear_key_ = nullptr;
  QSlider* tolerance_ = nullptr;
  QDoubleSpinBox* tolerance_value_ = nullptr;
  QCheckBox* connected_ = nullptr;
  QLabel* fill_swatch_ = nullptr;
  QPushButton* fill_key_ = nullptr;
  QPushButton* fill_choose_ = nullptr;
  QPushButton* whole_ = nullptr;
  QLabel* result_view_ = nullptr;
  QStackedWidget* hint_ = nullptr;  // how to frame the picture, or how to pick its key
};

}  // namespace app

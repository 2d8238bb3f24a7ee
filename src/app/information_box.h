// The information box: banner, a few words about the program, a link and an OK button.
#pragma once

#include <QDialog>

#include "i18n/ui_texts.h"

namespace app {

class InformationBox : public QDialog {
 public:
  InformationBox(const i18n::UiTexts& texts, const QString& title_and_version, QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* banner_ = nullptr;
};

}  // namespace app

// The information box: banner, a few words about the program, a link to the user guide and an OK
// button.
#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

#include "i18n/ui_texts.h"

class QLabel;

namespace app {

class InformationBox : public QDialog {
 public:
  // How the guide is opened: in the editor's guide window, by a recorder in tests.
  using UrlOpener = std::function<void(const QUrl&)>;

  // The link and the banner open `user_guide`, the installed HTML guide, through `open_url`;
  // without one ("") the link text is shown without a link and the banner opens nothing.
  InformationBox(const i18n::UiTexts& texts, const QString& title_and_version,
                 const QString& user_guide, QWidget* parent, UrlOpener open_url = {});

  QLabel* banner() const { return banner_; }
  QLabel* link() const { return link_; }
  QLabel* about() const { return about_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QUrl guide_;
  UrlOpener open_url_;
  QLabel* banner_ = nullptr;
  QLabel* link_ = nullptr;
  QLabel* about_ = nullptr;
};

}  // namespace app

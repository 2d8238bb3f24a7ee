// The information box. Its passages come from the text table, where they are held scrambled.
#include "app/information_box.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/fitted_text.h"
#include "app/qt_image.h"
#include "skin/skin_document.h"

namespace app {

InformationBox::InformationBox(const i18n::UiTexts& texts, const QString& title_and_version,
                               const QString& user_guide, QWidget* parent, UrlOpener open_url)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      guide_(user_guide.isEmpty() ? QUrl() : QUrl::fromLocalFile(user_guide)),
      open_url_(std::move(open_url)) {
  auto text = [&](std::string_view key) { return QString::fromStdString(texts.Text(key)); };
  setWindowTitle(text("LANG_ABOUT_ABOUT$"));
  setFixedSize(468, 250);
  setModal(true);

  banner_ = new QLabel(this);
  banner_->setGeometry(0, 0, 468, 60);
  banner_->setPixmap(QPixmap::fromImage(ImageView(skin::BuiltInPicture("banner")).copy()));
  if (!guide_.isEmpty()) {
    banner_->setCursor(Qt::PointingHandCursor);
    banner_->setToolTip(text("LANG_ABOUT_LINK$"));
  }
  banner_->installEventFilter(this);

  about_ = new QLabel(text("LANG_ABOUT_TEXT1$") + "\n\n\n" + title_and_version + " " +
                          text("LANG_ABOUT_TEXT2$") + "\n" + text("LANG_ABOUT_TEXT3$") + "\n\n" +
                          text("LANG_ABOUT_TEXT4$"),
                      this);
  about_->setGeometry(5, 65, 458, 130);
  about_->setWordWrap(true);
  about_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  ShrinkToFit(about_);

  link_ = new QLabel(this);
  link_->setGeometry(20, 200, 428, 20);
  const QString link_text = text("LANG_ABOUT_LINK$").toHtmlEscaped();
  if (guide_.isEmpty()) {
    link_->setTextFormat(Qt::PlainText);
    link_->setText(text("LANG_ABOUT_LINK$"));
  } else {
    link_->setText(QStringLiteral("<a href=\"%1\" style=\"color:#4040ff\">%2</a>")
                       .arg(guide_.toString(QUrl::FullyEncoded).toHtmlEscaped(), link_text));
    link_->setToolTip(user_guide);
    connect(link_, &QLabel::linkActivated, this, [this] {
      if (open_url_) open_url_(guide_);
    });
  }

  auto* ok = new QPushButton(text("LANG_OK$"), this);
  ok->setGeometry(184, 220, 100, 20);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool InformationBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == banner_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (!guide_.isEmpty() && open_url_) open_url_(guide_);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace app

// The information box. Its passages and addresses are held scrambled like the program's name.
#include "app/information_box.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "assets/scrambled.h"
#include "skin/skin_document.h"

namespace app {
namespace {

QString Unscramble(const auto& text) { return QString::fromStdString(text.Unscramble()); }

constexpr auto kPassage1 =
    SKINSMITH_SCRAMBLED("A skin editor for the menu of Nintendo DS flash cartridges.");
constexpr auto kPassage2 = SKINSMITH_SCRAMBLED(" - made for skin authors.");
constexpr auto kPassage3 = SKINSMITH_SCRAMBLED(
    "Open a skin, change its colours, pictures and elements, and see every menu screen at once.");
constexpr auto kPassage4 = SKINSMITH_SCRAMBLED("Free software. Share your skins!");
constexpr auto kLinkText = SKINSMITH_SCRAMBLED("Skinsmith on the web");
constexpr auto kLinkAddress = SKINSMITH_SCRAMBLED("https://skinsmith.example.org/");
constexpr auto kBannerAddress = SKINSMITH_SCRAMBLED("https://skinsmith.example.org/skins/");

}  // namespace

InformationBox::InformationBox(const i18n::UiTexts& texts, const QString& title_and_version,
                               QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QString::fromStdString(texts.Text("LANG_ABOUT_ABOUT$")));
  setFixedSize(468, 250);
  setModal(true);

  const imaging::Image banner = skin::BuiltInPicture("banner");
  QImage image(reinterpret_cast<const uchar*>(banner.pixels.data()), banner.width, banner.height,
               banner.width * 4, QImage::Format_RGBX8888);
  auto* banner_view = new QLabel(this);
  banner_view->setGeometry(0, 0, 468, 60);
  banner_view->setPixmap(QPixmap::fromImage(image.copy()));
  banner_view->setCursor(Qt::PointingHandCursor);
  banner_view->installEventFilter(this);
  banner_ = banner_view;

  auto* text =
      new QLabel(Unscramble(kPassage1) + "\n\n\n" + title_and_version + Unscramble(kPassage2) +
                     "\n" + Unscramble(kPassage3) + "\n\n" + Unscramble(kPassage4),
                 this);
  text->setGeometry(5, 65, 458, 130);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto* link = new QLabel(this);
  link->setGeometry(20, 200, 250, 20);
  link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#4040ff\">%2</a>")
                    .arg(Unscramble(kLinkAddress), Unscramble(kLinkText).toHtmlEscaped()));
  link->setOpenExternalLinks(true);

  auto* ok = new QPushButton(QString::fromStdString(texts.Text("LANG_OK$")), this);
  ok->setGeometry(184, 220, 100, 20);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool InformationBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == banner_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    QDesktopServices::openUrl(QUrl(Unscramble(kBannerAddress)));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace app

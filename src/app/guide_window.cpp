// The user guide's window.
#include "app/guide_window.h"

#include <QDialogButtonBox>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/window_fit.h"

namespace app {

GuideWindow::GuideWindow(const QString& file, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Window) {
  setWindowTitle(title);
  browser_ = new QTextBrowser(this);
  // Links to the web open in the desktop's browser; the guide's own links stay in this window.
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(file));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(buttons);
  // A page of text: as tall as the screen allows, as wide as makes lines easy to read.
  resize(FittedToScreen(QSize(800, 10000), this));
}

}  // namespace app

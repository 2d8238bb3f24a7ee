// The user guide in a window of the editor's own: the installed HTML guide with its pictures, its
// links within the guide followed in place and links to the web handed to the desktop.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace app {

class GuideWindow : public QDialog {
 public:
  // Shows the guide at `file` (a local HTML file) under the title `title`, sized to the screen of
  // `parent`.
  GuideWindow(const QString& file, const QString& title, QWidget* parent);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace app

// skinsmith: the skin editor. Its only command-line use is one skin folder or archive to open, as
// a file manager passes it.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <string>

#include "app/qt_dialogs.h"
#include "app/shell.h"
#include "i18n/data_folders.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName("Skinsmith");
  // The desktop entry and the icon of an installed editor carry this name.
  QGuiApplication::setDesktopFileName("org.example.skinsmith");
  QApplication::setWindowIcon(QIcon::fromTheme("org.example.skinsmith"));
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fputs(
        "usage: skinsmith [SKIN]\n"
        "  SKIN  a skin folder or a .zip archive holding one, opened at start\n",
        stderr);
    return 2;
  }
  app::QtDialogs dialogs;
  app::Shell shell(dialogs,
                   i18n::ResolveDataFolders(QCoreApplication::applicationDirPath().toStdString()));
  dialogs.SetShell(&shell);
  shell.Start();
  shell.window()->show();
  if (argc == 2) shell.OpenSkinArgument(argv[1]);
  // The shell's quit flag ends the program once the event that set it has been handled.
  while (!shell.state().quit_requested) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  shell.Finish();
  return 0;
}

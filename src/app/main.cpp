// skinsmith: the skin editor.
#include <QApplication>
#include <QDir>

#include "app/qt_dialogs.h"
#include "app/shell.h"
#include "i18n/data_folders.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Skinsmith");
  app::QtDialogs dialogs;
  app::Shell shell(dialogs,
                   i18n::ResolveDataFolders(QCoreApplication::applicationDirPath().toStdString()));
  dialogs.SetShell(&shell);
  shell.Start();
  shell.window()->show();
  // The shell's quit flag ends the program once the event that set it has been handled.
  while (!shell.state().quit_requested) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  shell.Finish();
  return 0;
}

// skinsmith: the skin editor. Its only command-line use is one skin folder or archive to open, as
// a file manager passes it.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <string>

#include "app/qt_dialogs.h"
#include "app/shell.h"
#include "base/system.h"
#include "i18n/data_folders.h"
#include "i18n/ui_texts.h"
#include "session/skin_session.h"

namespace {

// The desktop entry and the icon of an installed editor carry this name.
constexpr char kAppId[] = "org.example.skinsmith";

// The icon from the desktop's icon theme, or, where no theme is installed (a bare window manager),
// straight from the hicolor files installed beside the program.
QIcon ProgramIcon() {
  QIcon icon = QIcon::fromTheme(kAppId);
  if (!icon.isNull()) return icon;
  const QString folder =
      QCoreApplication::applicationDirPath() + "/" + SKINSMITH_ICONS_FROM_PROGRAM + "/";
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString file = folder + QString("%1x%1/apps/%2.png").arg(size).arg(kAppId);
    if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  base::PrepareStandardStreams();
  QApplication application(argc, argv);  // takes Qt's own options out of argv
  QApplication::setApplicationName(QString::fromStdString(i18n::ProgramName()));
  QGuiApplication::setDesktopFileName(kAppId);
  QApplication::setWindowIcon(ProgramIcon());
  // Qt's arguments, read on Windows from the wide command line, so that any name comes through.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith('-'))) {
    std::fputs(
        "usage: skinsmith [SKIN]\n"
        "  SKIN  a skin folder or a .zip archive holding one, opened at start\n",
        stderr);
    return 2;
  }
  const i18n::DataFolders folders =
      i18n::ResolveDataFolders(QCoreApplication::applicationDirPath().toStdString());
  i18n::UiTexts texts;
  session::SkinSession session;
  app::QtDialogs dialogs(texts, i18n::ProgramName() + " " + app::ShellState().version_text,
                         folders.user_guide);
  app::Shell shell(dialogs, session, texts, folders);
  shell.Start();
  shell.window()->show();
  if (arguments.size() == 2) shell.files().OpenArgument(arguments[1].toStdString());
  // The shell's quit flag ends the program once the event that set it has been handled.
  while (!shell.state().quit_requested) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  shell.Finish();
  return 0;
}

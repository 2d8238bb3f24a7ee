// The editor's dialogs: Qt's file and folder choosers, message boxes, the colour editor, the
// information box and the clipboard.
#pragma once

#include <QTranslator>

#include "app/shell.h"

namespace app {

class QtDialogs : public UserDialogs {
 public:
  void SetShell(Shell* shell) { shell_ = shell; }

  std::string ChooseFolder(const std::string& title, const std::string& start) override;
  std::string ChooseSaveFolder(const std::string& title, const std::string& start) override;
  std::string ChooseOpenFile(const std::string& title, const std::string& proposed,
                             const std::string& filter) override;
  SaveChoice ChooseSaveFile(const std::string& title, const std::string& proposed,
                            const std::vector<std::string>& filters) override;
  void ShowError(const std::string& caption, const std::string& text) override;
  bool ShowOperationError(const std::string& caption, const std::string& text,
                          const std::string& quiet_text) override;
  imaging::Rgb EditColour(imaging::Rgb given) override;
  void ShowInformationBox() override;
  void CopyToClipboard(const imaging::Image& image) override;
  QuitAnswer AskSaveBeforeQuit() override;
  // Qt's own translations (qtbase_*.qm) for the language's locale: the buttons and texts of file
  // choosers, the colour chooser, message boxes and the fields' context menus.
  void UseLanguage(int language) override;

 private:
  QWidget* Parent() const;
  // A warning box with one OK button, and the check box `quiet_text` unless it is empty; whether
  // that was ticked.
  bool ShowMessage(const std::string& caption, const std::string& text,
                   const std::string& quiet_text);
  Shell* shell_ = nullptr;
  QTranslator qt_translations_;
};

}  // namespace app

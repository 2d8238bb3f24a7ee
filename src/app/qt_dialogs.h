// The editor's dialogs: Qt's file and folder choosers, message boxes, the colour editor, the
// information box and the clipboard.
#pragma once

#include <QPointer>
#include <QTranslator>
#include <string>

#include "app/user_dialogs.h"
#include "i18n/ui_texts.h"

namespace app {

class QtDialogs : public UserDialogs {
 public:
  // `texts` is the editor's text table, read at each dialog; `program_title` names the program in
  // the boxes' titles; `user_guide` is the file the information box links to ("" for none).
  QtDialogs(const i18n::UiTexts& texts, std::string program_title, std::string user_guide)
      : texts_(texts),
        program_title_(std::move(program_title)),
        user_guide_(std::move(user_guide)) {}

  void UseWindow(QWidget* window) override { window_ = window; }
  std::string ChooseFolder(const std::string& title, const std::string& start) override;
  std::string ChooseSaveFolder(const std::string& title, const std::string& start) override;
  std::string ChooseOpenFile(const std::string& title, const std::string& proposed,
                             const std::string& filter) override;
  SaveChoice ChooseSaveFile(const std::string& title, const std::string& proposed,
                            const std::vector<std::string>& filters) override;
  void ShowError(const std::string& caption, const std::string& text) override;
  bool ShowOperationError(const std::string& caption, const std::string& text,
                          const std::string& quiet_text) override;
  imaging::Rgb EditColour(imaging::Rgb given, const std::string& name,
                          std::function<void(imaging::Rgb)> live) override;
  void ShowInformationBox() override;
  void ShowUserGuide(const std::string& file) override;
  void CopyToClipboard(const imaging::Image& image) override;
  bool OpenWithSystem(const std::string& path) override;
  SaveAnswer AskSaveChanges(std::string_view question_key) override;
  std::optional<imaging::FitSettings> RunImportStudio(
      const StudioRequest& request, std::function<void(const imaging::Image&)> live) override;
  // Qt's own translations (qtbase_*.qm) for the language's locale: the buttons and texts of file
  // choosers, the colour chooser, message boxes and the fields' context menus.
  void UseLanguage(int language) override;

 private:
  QWidget* Parent() const;
  // A warning box with one OK button, and the check box `quiet_text` unless it is empty; whether
  // that was ticked.
  bool ShowMessage(const std::string& caption, const std::string& text,
                   const std::string& quiet_text);
  const i18n::UiTexts& texts_;
  std::string program_title_;
  std::string user_guide_;
  QPointer<QWidget> window_;
  QPointer<QWidget> guide_;  // the guide's window while it is open
  QTranslator qt_translations_;
};

}  // namespace app

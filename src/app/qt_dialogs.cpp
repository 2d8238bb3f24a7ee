// Qt implementations of the shell's dialogs.
#include "app/qt_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/colour_editor.h"
#include "app/desktop.h"
#include "app/guide_window.h"
#include "app/import_studio.h"
#include "app/information_box.h"
#include "app/qt_image.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "skin/messages.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The system's choosers or Qt's own, as the desktop's rules say.
void ConfigureChooser(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, !UseSystemFileChoosers());
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
}

// Opens the chooser at the folder of `proposed` with its file name, if it has one, filled in.
void Propose(QFileDialog& dialog, const std::string& proposed) {
  if (proposed.empty()) return;
  const std::string_view folder = base::FolderOf(proposed);
  if (!folder.empty()) dialog.setDirectory(Q(std::string(folder)));
  if (folder.size() < proposed.size()) dialog.selectFile(Q(proposed.substr(folder.size())));
}

// A folder chooser that accepts the name of a folder that does not exist yet by creating it.
class NewFolderChooser : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList chosen = selectedFiles();
    // A folder that cannot be made is left to the chooser, which says it does not exist.
    if (chosen.size() == 1 && !QFileInfo::exists(chosen[0])) QDir().mkdir(chosen[0]);
    QFileDialog::accept();
  }
};

std::string ChosenFolder(QFileDialog& dialog, const std::string& start) {
  ConfigureChooser(dialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (!start.empty()) dialog.setDirectory(Q(start));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  // A skin folder path ends with a separator.
  return base::FolderWithSeparator(dialog.selectedFiles().first().toStdString());
}

}  // namespace

QWidget* QtDialogs::Parent() const { return window_; }

std::string QtDialogs::ChooseFolder(const std::string& title, const std::string& start) {
  QFileDialog dialog(Parent(), Q(title));
  return ChosenFolder(dialog, start);
}

std::string QtDialogs::ChooseSaveFolder(const std::string& title, const std::string& start) {
  NewFolderChooser dialog(Parent(), Q(title));
  return ChosenFolder(dialog, start);
}

std::string QtDialogs::ChooseOpenFile(const std::string& title, const std::string& proposed,
                                      const std::string& filter) {
  QFileDialog dialog(Parent(), Q(title));
  ConfigureChooser(dialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(Q(filter).split(";;"));
  Propose(dialog, proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

UserDialogs::SaveChoice QtDialogs::ChooseSaveFile(const std::string& title,
                                                  const std::string& proposed,
                                                  const std::vector<std::string>& filter_texts) {
  QStringList filters;
  for (const std::string& filter : filter_texts) filters << Q(filter);
  QFileDialog dialog(Parent(), Q(title));
  ConfigureChooser(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(filters);
  Propose(dialog, proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first().toStdString(),
          static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

bool QtDialogs::ShowMessage(const std::string& caption, const std::string& text,
                            const std::string& quiet_text) {
  QMessageBox box(QMessageBox::Warning, Q(caption), Q(text), QMessageBox::Ok, Parent());
  // Messages carry file and archive entry names, which are never markup.
  box.setTextFormat(Qt::PlainText);
  if (!quiet_text.empty()) box.setCheckBox(new QCheckBox(Q(quiet_text)));
  box.exec();
  return box.checkBox() != nullptr && box.checkBox()->isChecked();
}

void QtDialogs::ShowError(const std::string& caption, const std::string& text) {
  ShowMessage(caption, text, {});
}

bool QtDialogs::ShowOperationError(const std::string& caption, const std::string& text,
                                   const std::string& quiet_text) {
  return ShowMessage(caption, text, quiet_text);
}

imaging::Rgb QtDialogs::EditColour(imaging::Rgb given, const std::string& name,
                                   std::function<void(imaging::Rgb)> live) {
  return ColourEditor::EditColour(texts_, given, Q(name), std::move(live), Parent());
}

std::optional<imaging::FitSettings> QtDialogs::RunImportStudio(
    const StudioRequest& request, std::function<void(const imaging::Image&)> live) {
  return ImportStudio::Run(texts_, request, std::move(live), Parent());
}

void QtDialogs::ShowUserGuide(const std::string& file) {
  // The guide may have gone since the editor found it.
  if (!base::IsRegularFile(file)) {
    ShowError(texts_.Text("LANG_ERROR$"),
              skin::ComposeFileMessage(file, skin::FileProblem::kNotFound,
                                       skin::MakeMessageTexts([this](std::string_view key) {
                                         return texts_.Text(key);
                                       })));
    return;
  }
  // One window, brought to the front again when it is open already.
  if (guide_ == nullptr || guide_->property("file").toString() != Q(file)) {
    delete guide_;
    guide_ = new GuideWindow(Q(file), Q(texts_.Text("LANG_ABOUT_LINK$")), Parent());
    guide_->setAttribute(Qt::WA_DeleteOnClose);
    guide_->setProperty("file", Q(file));
  }
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void QtDialogs::ShowInformationBox() {
  // The box is modal: the guide opens once it is closed, so that the guide can be used.
  bool guide_asked = false;
  InformationBox box(texts_, Q(program_title_), Q(user_guide_), Parent(),
                     [&box, &guide_asked](const QUrl&) {
                       guide_asked = true;
                       box.accept();
                     });
  box.exec();
  if (guide_asked) ShowUserGuide(user_guide_);
}

UserDialogs::SaveAnswer QtDialogs::AskSaveChanges(std::string_view question_key) {
  const i18n::UiTexts& texts = texts_;
  QMessageBox box(QMessageBox::Question, Q(i18n::ProgramName()), Q(texts.Text(question_key)),
                  QMessageBox::NoButton, Parent());
  box.setTextFormat(Qt::PlainText);
  QPushButton* save = box.addButton(Q(texts.Text("LANG_QUIT_SAVE$")), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(Q(texts.Text("LANG_QUIT_DISCARD$")), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(Q(texts.Text("LANG_CANCEL$")), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return SaveAnswer::kSave;
  if (box.clickedButton() == discard) return SaveAnswer::kDiscard;
  return SaveAnswer::kCancel;
}

void QtDialogs::UseLanguage(int language) {
  QCoreApplication::removeTranslator(&qt_translations_);
  const QString locale = QString::fromUtf8(i18n::LanguageLocale(language));
  if (locale.isEmpty()) return;
  // Without Qt's translations installed (qt6-translations-l10n) the dialogs stay in English.
  if (qt_translations_.load("qtbase_" + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qt_translations_);
}

void QtDialogs::CopyToClipboard(const imaging::Image& image) {
  QApplication::clipboard()->setImage(ImageView(image).copy());
}

bool QtDialogs::OpenWithSystem(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace app

// Qt implementations of the shell's dialogs.
#include "app/qt_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>

#include "app/colour_editor.h"
#include "app/information_box.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QWidget* QtDialogs::Parent() const { return shell_ != nullptr ? shell_->window() : nullptr; }

std::string QtDialogs::ChooseFolder(const std::string& title, const std::string& start) {
  const QString folder = QFileDialog::getExistingDirectory(Parent(), Q(title), Q(start));
  if (folder.isEmpty()) return {};
  // A skin folder path ends with a separator.
  return folder.endsWith('/') ? folder.toStdString() : (folder + '/').toStdString();
}

std::string QtDialogs::ChooseOpenFile(const std::string& title, const std::string& proposed,
                                      const std::string& filter) {
  return QFileDialog::getOpenFileName(Parent(), Q(title), Q(proposed), Q(filter)).toStdString();
}

UserDialogs::SaveChoice QtDialogs::ChooseSaveFile(const std::string& title,
                                                  const std::string& proposed,
                                                  const std::vector<std::string>& filter_texts) {
  QStringList filters;
  for (const std::string& filter : filter_texts) filters << Q(filter);
  QString selected = filters.value(0);
  const QString path =
      QFileDialog::getSaveFileName(Parent(), Q(title), Q(proposed), filters.join(";;"), &selected,
                                   QFileDialog::DontConfirmOverwrite);
  return {path.toStdString(), static_cast<int>(std::max<qsizetype>(0, filters.indexOf(selected)))};
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

imaging::Rgb QtDialogs::EditColour(imaging::Rgb given) {
  return ColourEditor::EditColour(shell_->texts(), given, Parent());
}

void QtDialogs::ShowInformationBox() {
  InformationBox box(shell_->texts(), Q(shell_->state().title_text + shell_->state().version_text),
                     Q(shell_->folders().user_guide), Parent());
  box.exec();
}

void QtDialogs::CopyToClipboard(const imaging::Image& image) {
  const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                       image.height, image.width * 4, QImage::Format_RGBX8888);
  QApplication::clipboard()->setImage(picture.copy());
}

}  // namespace app

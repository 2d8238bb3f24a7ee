// Start-up, the commands, and the edits of the session as the widgets make them.
#include "app/shell.h"

#include <QAction>
#include <QApplication>
#include <QProgressBar>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <utility>

#include "app/commands.h"
#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"
#include "app/window_feedback.h"
#include "app/window_fit.h"
#include "base/code_page.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "imaging/screenshot_writer.h"
#include "preview/contact_sheet.h"
#include "preview/preview.h"
#include "session/skin_check.h"
#include "skin/skin_export.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace app {
namespace {

// The folder part of a file name, up to and including its last separator.
std::string FolderOf(const std::string& path) { return std::string(base::FolderOf(path)); }

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

std::string WithExtension(const std::string& chosen, std::string_view extension) {
  const std::string dotted = "." + std::string(extension);
  return base::HasExtension(chosen, dotted) ? chosen : chosen + dotted;
}

std::string WindowTitle(const ShellState& state, const std::string& skin_name) {
  std::string title = state.title_text + state.version_text;
  if (!skin_name.empty()) title += " \u2013 " + skin_name;
  return title;
}

std::string ArchiveFolder(const std::string& skin_folder, const std::string& last_path) {
  if (skin_folder.empty()) return base::FolderWithSeparator(last_path);
  const std::string up = FolderOf(base::WithoutTrailingSeparator(skin_folder));
  return up.empty() ? skin_folder : up;
}

std::string ScreenshotFileName(const std::string& chosen, int filter) {
  static constexpr const char* kExtensions[] = {"png", "bmp", "jpg"};
  if (chosen.empty() || filter < 0 || filter > 2) return {};
  return WithExtension(chosen, kExtensions[filter]);
}

Shell::Shell(UserDialogs& dialogs, session::SkinSession& session, i18n::UiTexts& texts,
             i18n::DataFolders folders)
    : dialogs_(dialogs),
      session_(session),
      texts_(texts),
      folders_(std::move(folders)),
      code_page_(base::SystemAnsiCodePage()),
      workspace_(*this, dialogs_, texts_, state_),
      live_link_(*this, session_, texts_, code_page_),
      imports_(*this, dialogs_, session_, texts_, state_),
      check_(*this, session_, texts_, state_, imports_),
      gestures_(
          *this, session_, texts_, state_,
          {[this](skin::SlotId slot, const std::string& path) { imports_.ImportFile(slot, path); },
           [this](skin::SlotId slot) { imports_.Choose(slot); },
           [this](skin::SlotId slot) { imports_.Adjust(slot); }}) {
  state_.title_text = i18n::ProgramName() + " ";
}

Shell::~Shell() = default;

void Shell::Start() {
  const i18n::ProgramSettings settings = i18n::LoadProgramSettings(folders_.settings_file);
  state_.last_path = settings.last_path;
  state_.language_index = settings.language;
  state_.bg_color = settings.bg_color;
  state_.swap_view = settings.swap_view;
  state_.preview_x = state_.swap_view ? 398 : 3;
  state_.panel_x = state_.swap_view ? 3 : 272;
  workspace_.LoadPreferences(folders_.settings_file);
  i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
  dialogs_.UseLanguage(state_.language_index);
  OpenMainWindow();
  window_->BuildPanels(texts_, state_.preview_x, state_.panel_x, PanelEdits(), check_.Choices());
  workspace_.RestoreWindowPlace();
  live_link_.SetFollowing(preferences().follow_changes);
  imports_.SetFollowing(preferences().follow_changes);
  FillWindow(0);
}

void Shell::FillWindow(int screen) {
  state_.selected_screen = -1;
  SelectScreen(screen);
  window_->panel()->Refresh(document());
  live_link_.ShowDiskChanges();
  RefreshCommands();
  RedrawPreview();
  check_.Run();
}

void Shell::Finish() {
  workspace_.RememberWindowPlace();
  i18n::SaveProgramSettings(folders_.settings_file, {state_.last_path, state_.language_index,
                                                     state_.bg_color, state_.swap_view});
}

void Shell::OpenMainWindow() {
  // "[*]" is where the window shows its modified mark.
  window_ =
      std::make_unique<MainWindow>(texts_, Q(WindowTitle(state_, session_.name()) + "[*]"), *this);
  dialogs_.UseWindow(window_.get());
  workspace_.ShowRecentSkins();
  RefreshCommands();
}

void Shell::RebuildMainWindow() {
  // The new window takes the old one's place and size, maximised or not.
  const QByteArray geometry = window_->saveGeometry();
  const bool visible = window_->isVisible();
  // The old window may be the sender of the event being handled: delete it once that is done.
  window_.release()->deleteLater();
  OpenMainWindow();
  window_->restoreGeometry(geometry);
  if (visible) window_->show();
}

PanelEvents Shell::PanelEdits() {
  return {[this](skin::FieldId field, int value) { EditField(field, value); },
          [this](skin::ColourId colour) { EditColour(colour); },
          [this](skin::SlotId slot) { imports_.Choose(slot); },
          [this](skin::InfoId info, std::string text) { EditInfo(info, std::move(text)); }};
}

void Shell::RefreshCommands() {
  if (window_ == nullptr) return;
  const CommandTargets targets = Targets();
  for (const Command& command : Commands()) {
    QAction* action = window_->MenuItem(command.id);
    if (action == nullptr) continue;
    if (command.enabled) action->setEnabled(command.enabled(targets));
    if (command.checked) window_->SetChecked(command.id, command.checked(targets));
  }
  ShowDocumentState();
}

void Shell::ShowDocumentState() {
  // The items' texts name their step, so their mnemonics are chosen anew each time.
  QSet<QChar> used;
  const auto item = [&](int number, const session::StepLabel* label, std::string_view step_key,
                        std::string_view key) {
    const std::string text = label != nullptr ? StepText(step_key, *label) : Text(key);
    window_->SetItem(number, WithMnemonic(Q(text), Q(i18n::BuiltInText(key)), used),
                     label != nullptr);
  };
  item(kMenuUndo, session_.history().UndoLabel(), "LANG_EDIT_UNDO_STEP$", "LANG_EDIT_UNDO$");
  item(kMenuRedo, session_.history().RedoLabel(), "LANG_EDIT_REDO_STEP$", "LANG_EDIT_REDO$");
  UpdateWindowTitle();
}

std::string Shell::StepText(std::string_view item_key, const session::StepLabel& label) const {
  const std::string subject =
      StepSubject(label.subject, [this](std::string_view key) { return Text(key); });
  const std::string step = i18n::FormatText(Text(session::StepTextKey(label.kind)), {subject});
  return i18n::FormatText(Text(item_key), {step});
}

void Shell::SelectScreen(int screen) {
  if (state_.selected_screen >= 0) {
    window_->panel()->SetScreenEnabled(state_.selected_screen, false);
  } else {
    for (int n = 0; n < preview::kScreenCount; ++n) window_->panel()->SetScreenEnabled(n, false);
  }
  state_.selected_screen = screen;
  window_->panel()->SetScreenEnabled(screen, true);
  window_->preview()->SetMark(std::nullopt);  // a finding's place belongs to the screen it was on
  RefreshCommands();
}

void Shell::Apply(const session::Changes& changes) {
  SidePanel* panel = window_->panel();
  if (changes.fields.any()) panel->RefreshFields(document(), changes.fields);
  if (changes.info.any()) panel->RefreshInfo(document());
  if (changes.colours.any() || changes.slots.any()) panel->RefreshButtons(document());
  // An import, or an undo or redo past one, changes which files the pictures come from.
  imports_.Apply(changes);
  live_link_.Apply(changes);
  ShowDocumentState();
  if (changes.Document() || changes.origin) window_->preview()->SetMark(std::nullopt);
  if (changes.Document()) {
    RedrawPreview();
  }
  check_.Apply(changes);
}

void Shell::ShowScreen(int screen) {
  SelectScreen(screen);
  RedrawPreview();
}

void Shell::RedrawPreview() { ShowPreviewOf(document(), state_.bg_color); }

void Shell::ShowPreviewOf(const skin::SkinDocument& doc, imaging::Rgb background) {
  ++redraw_count_;
  gestures_.Redrawn();
  try {
    // The view scales the canvas while it paints, and only the part that is visible.
    window_->ShowCanvas(preview::RenderPreview(doc, state_.selected_screen, background, 1.0f),
                        state_.preview_zoom, background);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
  }
}

skin::MessageTexts Shell::Messages() const {
  return skin::MakeMessageTexts([this](std::string_view key) { return Text(key); });
}

void Shell::UpdateWindowTitle() {
  // "[*]" is where the window shows its modified mark.
  window_->setWindowTitle(Q(WindowTitle(state_, session_.name()) + "[*]"));
  window_->setWindowModified(session_.Modified());
}

void Shell::Report(std::string_view key, std::initializer_list<std::string_view> args, int messages,
                   int not_shown) {
  std::string text = i18n::FormatText(Text(key), args);
  if (messages > 0) {
    text += " (" + (messages == 1 ? Text("LANG_STATUS_ONE_MESSAGE$")
                                  : i18n::FormatText(Text("LANG_STATUS_MESSAGES$"),
                                                     {std::to_string(messages)}));
    if (not_shown > 0) {
      text += ", " + i18n::FormatText(Text("LANG_STATUS_NOT_SHOWN$"), {std::to_string(not_shown)});
    }
    text += ")";
  }
  window_->ShowStatus(Q(text));
}

void Shell::ReportOutOfMemory() {
  dialogs_.ShowError(Text("LANG_ERROR$"), Messages().Of(skin::FileProblem::kOutOfMemory));
}

void Shell::OnMenu(int item) {
  const BusyScope busy(busy_);
  if (const Command* command = FindCommand(item)) {
    command->run(Targets());
    if (window_ != nullptr) RefreshCommands();
  }
}

void Shell::OnGadget(int gadget) {
  const BusyScope busy(busy_);
  if (gadget >= kGadgetFirstScreenButton && gadget <= kGadgetLastScreenButton) {
    SelectScreen(gadget - kGadgetFirstScreenButton);
    RedrawPreview();
  }
}

void Shell::EditField(skin::FieldId field, int value) {
  const BusyScope busy(busy_);
  // The steps of one field in a row, such as the arrow clicks of a spin, undo as one.
  Apply(session_.SetField(field, value));
}

void Shell::EditColour(skin::ColourId colour) {
  const BusyScope busy(busy_);
  // The preview shows each new colour while the editor is open, drawn from a copy of the skin:
  // only OK makes it an edit.
  const imaging::Rgb chosen =
      dialogs_.EditColour(document().Colour(colour), std::string(skin::Info(colour).key),
                          [this, colour](imaging::Rgb shown) {
                            skin::SkinDocument trial = document();
                            trial.Colour(colour) = shown;
                            ShowPreviewOf(trial, state_.bg_color);
                          });
  const session::Changes changes = session_.SetColour(colour, chosen);
  Apply(changes);
  if (!changes.Document()) RedrawPreview();  // what the editor showed goes
}

void Shell::EditInfo(skin::InfoId info, std::string text) {
  const BusyScope busy(busy_);
  Apply(session_.SetInfo(info, std::move(text)));
}

void Shell::OnPreviewPointer(const PreviewView::Pointer& pointer) { gestures_.Pointer(pointer); }

bool Shell::OnFileDrop(int gadget, QPoint canvas, const std::string& path) {
  return gestures_.FileDrop(gadget, canvas, path);
}

void Shell::OnContextMenu(int gadget, QPoint canvas, QPoint global) {
  gestures_.ContextMenu(gadget, canvas, global);
}

void Shell::OnWheel(int delta, QPointF at) {
  if (workspace_.Wheel(delta, at)) RefreshCommands();
}

void Shell::OpenRecent(std::size_t index) {
  const std::optional<std::string> path = workspace_.RecentSkin(index);
  if (path && MayLeaveSkin("LANG_REPLACE_QUESTION$")) {
    OpenChosenSkin(*path, skin::OpensAsArchive(*path));
  }
}

void Shell::OnResize() {
  // The view places the canvas it holds in its new size.
  window_->Layout(state_.swap_view, true);
  workspace_.FollowSize();
}

void Shell::OnClose() {
  const BusyScope busy(busy_);
  Quit();
}

void Shell::Quit() {
  if (MayLeaveSkin("LANG_QUIT_QUESTION$")) state_.quit_requested = true;
}

bool Shell::MayLeaveSkin(std::string_view question_key) {
  if (!session_.Modified()) return true;
  switch (dialogs_.AskSaveChanges(question_key)) {
    case UserDialogs::SaveAnswer::kSave:
      // A save that was cancelled or left a file unwritten keeps the skin.
      return Save();
    case UserDialogs::SaveAnswer::kDiscard:
      return true;
    case UserDialogs::SaveAnswer::kCancel:
      break;
  }
  return false;
}

void Shell::Undo() { Apply(session_.Undo()); }

void Shell::Redo() { Apply(session_.Redo()); }

void Shell::NewSkin() {
  if (!MayLeaveSkin("LANG_REPLACE_QUESTION$")) return;
  const session::Changes changes = session_.NewSkin();
  SelectScreen(0);
  Apply(changes);
  RedrawPreview();
  Report("LANG_STATUS_NEW$", {});
}

void Shell::OpenFolder() {
  if (!MayLeaveSkin("LANG_REPLACE_QUESTION$")) return;
  const std::string chosen = dialogs_.ChooseFolder(Text("LANG_REQPATH_LOAD$"), state_.last_path);
  if (!chosen.empty()) OpenChosenSkin(chosen, false);
}

void Shell::OpenArchive() {
  if (!MayLeaveSkin("LANG_REPLACE_QUESTION$")) return;
  const std::string chosen =
      dialogs_.ChooseOpenFile(Text("LANG_REQFILE_LOAD$"),
                              base::FolderWithSeparator(state_.last_path) + "*.zip", "* (*.zip)");
  if (!chosen.empty()) OpenChosenSkin(chosen, true);
}

void Shell::SetLastPath(std::string path) {
  // settings.ini holds one value a line: a path it cannot hold is not remembered.
  if (!i18n::SettingsCanHold(path)) return;
  state_.last_path = std::move(path);
}

void Shell::OpenChosenSkin(const std::string& path, bool zip) {
  SetLastPath(zip ? FolderOf(path) : path);
  LoadSkin(path, zip);
}

void Shell::OpenSkinArgument(const std::string& path) {
  const BusyScope busy(busy_);
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(base::FsPath(path), error);
  if (error) full = base::FsPath(path);
  const std::string name = base::Utf8Path(full.lexically_normal());
  const bool zip = skin::OpensAsArchive(name);
  SetLastPath(zip ? FolderOf(name) : base::FolderWithSeparator(name));
  LoadSkin(name, zip);
}

bool Shell::OnSkinDrop(const std::string& path) {
  const BusyScope busy(busy_);
  const bool zip = skin::OpensAsArchive(path);
  if (!MayLeaveSkin("LANG_REPLACE_QUESTION$")) return false;
  OpenChosenSkin(zip ? path : base::FolderWithSeparator(path), zip);
  return true;
}

void Shell::LoadSkin(const std::string& path, bool zip) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  const skin::LoadOptions options{code_page_, Messages()};
  // The whole load is one step: its undo gives back the skin that was open before.
  const session::SkinSession::Opened opened = session_.Open(path, zip, options, feedback);
  if (opened.opened) workspace_.RememberSkin(path, zip);
  SelectScreen(0);
  Apply(opened.changes);
  RedrawPreview();
  Report(opened.opened ? "LANG_STATUS_OPENED$" : "LANG_STATUS_NOT_OPENED$", {path},
         feedback.messages(), feedback.not_shown());
}

skin::SaveOptions Shell::SaveOptionsNow() const {
  skin::SaveOptions options;
  options.code_page = code_page_;
  options.last_update = skin::CurrentLastUpdate();
  options.texts = Messages();
  return options;
}

bool Shell::Save() {
  if (session_.folder().empty()) return SaveFolder();
  if (!session_.MaySaveInPlace()) {
    // The path now leads to another folder, maybe another skin: the user says where to save.
    dialogs_.ShowError(Text("LANG_ERROR$"),
                       i18n::FormatText(Text("LANG_FOLDER_REPLACED$"), {session_.folder()}));
    return SaveFolder();
  }
  return SaveInto(session_.folder());
}

bool Shell::SaveFolder() {
  const std::string folder = dialogs_.ChooseSaveFolder(Text("LANG_REQPATH_SAVE$"),
                                                       skin::NewSkinFolderStart(state_.last_path));
  if (folder.empty()) return false;
  SetLastPath(folder);
  return SaveInto(folder);
}

bool Shell::SaveInto(const std::string& folder) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  const session::SkinSession::Saved saved = session_.Save(folder, SaveOptionsNow(), feedback);
  if (saved.complete) workspace_.RememberSkin(folder, false);
  // What the save wrote is no change from outside, also when it wrote only part of the skin. A
  // partial save elsewhere leaves the followed folder alone, with what changed there unseen.
  if (session_.folder() == base::FolderWithSeparator(folder)) live_link_.FollowOrigin();
  Apply(saved.changes);  // the save stamped LastUpdate
  Report("LANG_STATUS_SAVED$", {std::to_string(saved.written), folder}, feedback.messages(),
         feedback.not_shown());
  return saved.complete;
}

void Shell::ExportArchive() {
  // Beside the skin's folder rather than inside it, where the archive would become part of the
  // skin.
  const std::string proposed = ArchiveFolder(session_.folder(), state_.last_path) +
                               skin::SkinFolderName(document().info.Title) + ".zip";
  const UserDialogs::SaveChoice choice =
      dialogs_.ChooseSaveFile(Text("LANG_REQFILE_SAVE_ZIP$"), proposed, {"* (*.zip)"});
  if (choice.path.empty()) return;
  SetLastPath(FolderOf(choice.path));
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  // The contact sheet on black, as skinsmith-cli export draws it, whatever the preview's
  // background: the archive is the same from either program.
  const std::string zip_path = WithExtension(choice.path, "zip");
  session::SkinSession::Exported exported;
  try {
    exported = session_.Export(zip_path, preview::RenderContactSheet(document(), 0),
                               SaveOptionsNow(), feedback);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
    return;
  }
  if (exported.saved) workspace_.RememberSkin(zip_path, true);
  Apply(exported.changes);
  Report(exported.saved ? "LANG_STATUS_EXPORTED$" : "LANG_STATUS_NOT_SAVED$", {zip_path},
         feedback.messages(), feedback.not_shown());
}

void Shell::Screenshot(bool to_clipboard, int screen) {
  try {
    SaveScreenshot(to_clipboard, screen);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
  }
}

void Shell::SaveScreenshot(bool to_clipboard, int screen) {
  const imaging::Image shot = preview::RenderScreenshot(document(), screen);
  // The status names the screen by its button's number and its name in the Screen menu.
  const std::string number = std::to_string(screen + 1);
  const std::string name = Text(i18n::ScreenNameKey(screen));
  if (to_clipboard) {
    dialogs_.CopyToClipboard(shot);
    Report("LANG_STATUS_SHOT_COPIED$", {number, name});
    return;
  }
  const UserDialogs::SaveChoice choice = dialogs_.ChooseSaveFile(
      Text("LANG_REQFILE_SAVE$"), state_.last_path,
      {"Portable Network Graphic (*.png)", "Bitmap (*.bmp)", "JPEG (*.jpg)"});
  if (choice.path.empty()) return;
  SetLastPath(FolderOf(choice.path));
  const std::string path = ScreenshotFileName(choice.path, choice.filter);
  static constexpr imaging::ScreenshotFormat kFormats[] = {imaging::ScreenshotFormat::kPng,
                                                           imaging::ScreenshotFormat::kBmp,
                                                           imaging::ScreenshotFormat::kJpeg};
  if (path.empty()) return;
  if (!imaging::WriteScreenshot(shot, path, kFormats[choice.filter])) {
    dialogs_.ShowError(Text("LANG_ERROR$"),
                       skin::ComposeFileMessage(path, skin::FileProblem::kNotSaved, Messages()));
    Report("LANG_STATUS_NOT_SAVED$", {path});
    return;
  }
  Report("LANG_STATUS_SHOT_SAVED$", {path, number, name});
}

void Shell::UseLanguage(int number) {
  state_.language_index = number;
  i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
  dialogs_.UseLanguage(state_.language_index);
  // The window is built anew in the new language; what the user was looking at stays.
  const int screen = state_.selected_screen;
  const int tab = window_->panel()->currentIndex();
  const int panel_width = window_->user_panel_width();
  RebuildMainWindow();
  state_.preview_x = state_.swap_view ? 398 : 3;
  state_.panel_x = state_.swap_view ? 3 : 272;
  window_->BuildPanels(texts_, state_.preview_x, state_.panel_x, PanelEdits(), check_.Choices());
  window_->SetPanelWidth(panel_width);  // lays the window out, with the handle where it was
  workspace_.ShowInNewPreview();
  FillWindow(screen);
  window_->panel()->setCurrentIndex(tab);
}

void Shell::ChooseBackground() {
  state_.bg_color =
      dialogs_.EditColour(state_.bg_color, Text("LANG_COLOR_BACKGROUND$"),
                          [this](imaging::Rgb shown) { ShowPreviewOf(document(), shown); });
  RedrawPreview();
}

void Shell::SwapView() {
  state_.swap_view = state_.swap_view ? 0 : 1;
  window_->Layout(state_.swap_view, false);
}

void Shell::ShowUserGuide() { dialogs_.ShowUserGuide(folders_.user_guide); }

void Shell::ShowInformation() { dialogs_.ShowInformationBox(); }

void Shell::SetFollowChanges(bool follow) {
  workspace_.SetFollowChanges(follow);
  live_link_.SetFollowing(follow);
  imports_.SetFollowing(follow);
}

bool Shell::ReadyForReload() const {
  return busy_ == 0 && window_ != nullptr && QApplication::activeModalWidget() == nullptr;
}

void Shell::OnDiskAnswer(bool reload) { live_link_.Answer(reload); }

}  // namespace app

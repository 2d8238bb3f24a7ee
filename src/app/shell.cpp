// Start-up, the window and its commands, and the edits of the session as the widgets make them.
#include "app/shell.h"

#include <QAction>
#include <QApplication>
#include <QSet>
#include <new>
#include <utility>

#include "app/commands.h"
#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"
#include "app/step_texts.h"
#include "base/code_page.h"
#include "base/paths.h"
#include "preview/preview.h"
#include "skin/skin_loader.h"

namespace app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Where the window's first layout puts the preview and the panel, on the side the user chose.
void PlaceSides(ShellState& state) {
  state.preview_x = state.swap_view ? kFirstSwappedPreviewX : kPanelsMargin;
  state.panel_x = state.swap_view ? kPanelsMargin : kFirstPanelX;
}

}  // namespace

std::string WindowTitle(const ShellState& state, const std::string& skin_name) {
  std::string title = state.title_text + state.version_text;
  if (!skin_name.empty()) title += " \u2013 " + skin_name;
  return title;
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
      files_(*this, dialogs_, session_, texts_, state_, code_page_, workspace_, live_link_),
      check_(*this, session_, texts_, state_, imports_),
      pictures_(*this, dialogs_, session_, texts_, state_),
      gestures_(
          *this, session_, texts_, state_,
          {[this](skin::SlotId slot, const std::string& path) { imports_.ImportFile(slot, path); },
           [this](skin::SlotId slot) { imports_.Choose(slot); },
           [this](skin::SlotId slot) { imports_.Adjust(slot); },
           [this](skin::SlotId slot) { pictures_.Export(slot); },
           [this](skin::SlotId slot) { pictures_.Revert(slot); },
           [this](skin::SlotId slot) { pictures_.EditElsewhere(slot); }}) {
  state_.title_text = i18n::ProgramName() + " ";
}

Shell::~Shell() = default;

void Shell::Start() {
  const i18n::ProgramSettings settings = i18n::LoadProgramSettings(folders_.settings_file);
  state_.last_path = settings.last_path;
  state_.language_index = settings.language;
  state_.bg_color = settings.bg_color;
  state_.swap_view = settings.swap_view;
  PlaceSides(state_);
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
    const std::string text = label != nullptr ? StepItemText(texts_, step_key, *label) : Text(key);
    window_->SetItem(number, WithMnemonic(Q(text), Q(i18n::BuiltInText(key)), used),
                     label != nullptr);
  };
  item(kMenuUndo, session_.history().UndoLabel(), "LANG_EDIT_UNDO_STEP$", "LANG_EDIT_UNDO$");
  item(kMenuRedo, session_.history().RedoLabel(), "LANG_EDIT_REDO_STEP$", "LANG_EDIT_REDO$");
  UpdateWindowTitle();
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
    window_->ShowCanvas(preview::RenderPreview(doc, state_.selected_screen, background, 1.0f,
                                               state_.screen_colours),
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

void Shell::OnScreenButton(int screen) {
  const BusyScope busy(busy_);
  ShowScreen(screen);
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

bool Shell::OnSlotDrop(skin::SlotId slot, const std::string& path) {
  return gestures_.SlotDrop(slot, path);
}

bool Shell::OnPreviewDrop(QPoint canvas, const std::string& path) {
  return gestures_.PreviewDrop(canvas, path);
}

void Shell::OnSlotMenu(skin::SlotId slot, QPoint global) { gestures_.SlotMenu(slot, global); }

void Shell::OnPreviewMenu(QPoint canvas, QPoint global) { gestures_.PreviewMenu(canvas, global); }

void Shell::OnWheel(int delta, QPointF at) {
  if (workspace_.Wheel(delta, at)) RefreshCommands();
}

void Shell::OnResize() {
  // The view places the canvas it holds in its new size.
  window_->Layout(state_.swap_view, true);
  workspace_.FollowSize();
}

void Shell::OnClose() {
  const BusyScope busy(busy_);
  files_.Quit();
}

bool Shell::OnSkinDrop(const std::string& path) { return files_.Drop(path); }

void Shell::Undo() { Apply(session_.Undo()); }

void Shell::Redo() { Apply(session_.Redo()); }

void Shell::UseLanguage(int number) {
  state_.language_index = number;
  i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
  dialogs_.UseLanguage(state_.language_index);
  // The window is built anew in the new language; what the user was looking at stays.
  const int screen = state_.selected_screen;
  const int tab = window_->panel()->currentIndex();
  const int panel_width = window_->user_panel_width();
  RebuildMainWindow();
  PlaceSides(state_);
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

// Start-up, dispatch and commands.
#include "app/shell.h"

#include <QAction>
#include <QApplication>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>
#include <new>
#include <utility>

#include "app/fixed_numbers.h"
#include "app/mnemonics.h"
#include "app/panel_tables.h"
#include "base/file_io.h"
#include "imaging/screenshot_writer.h"
#include "preview/contact_sheet.h"
#include "preview/preview.h"
#include "skin/code_page.h"
#include "skin/folder_path.h"
#include "skin/skin_export.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace app {
namespace {

constexpr float kZoomStep = 0.15f;
constexpr float kSmallestZoom = 1.0f;
constexpr float kLargestZoom = 5.0f;
constexpr int kWheelNotch = 120;

// Messages shown in boxes with the error caption, progress in the status bar. With a
// `quiet_text`, each box offers to silence the rest of the operation; the messages are counted
// either way.
class WindowFeedback : public skin::Feedback {
 public:
  WindowFeedback(UserDialogs& dialogs, std::string caption, QProgressBar* progress,
                 std::string quiet_text = {})
      : dialogs_(dialogs),
        caption_(std::move(caption)),
        progress_(progress),
        quiet_text_(std::move(quiet_text)) {}
  void ShowError(const std::string& text) override {
    ++messages_;
    if (quiet_) {
      ++not_shown_;
    } else if (quiet_text_.empty()) {
      dialogs_.ShowError(caption_, text);
    } else {
      quiet_ = dialogs_.ShowOperationError(caption_, text, quiet_text_);
    }
  }
  void SetProgress(int value) override {
    if (progress_ == nullptr) return;
    progress_->setValue(std::min(value, progress_->maximum()));
    // Loading and saving run on this thread: let the bar repaint as it moves.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

  int messages() const { return messages_; }
  int not_shown() const { return not_shown_; }

 private:
  UserDialogs& dialogs_;
  std::string caption_;
  QProgressBar* progress_;
  std::string quiet_text_;
  bool quiet_ = false;
  int messages_ = 0;
  int not_shown_ = 0;
};

// Counts a running command for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
  ~BusyScope() { --depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& depth_;
};

// Collects the messages of an operation that reports in the status bar rather than in boxes.
class CollectedFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string& text) override { messages.push_back(text); }
  void SetProgress(int) override {}
  std::vector<std::string> messages;
};

// The folder part of a file name, up to and including its last separator.
std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The last component of a folder or file path: the name a skin is known by.
std::string SkinName(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path.substr(path.find_last_of('/') + 1);
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The text of a recent skin's entry: "&1 /path", a long path shortened in its middle, "&" doubled
// so that it shows rather than marking a key.
QString RecentLabel(std::size_t index, const std::string& path) {
  constexpr qsizetype kLongest = 72;
  QString shown = QString::fromStdString(path);
  if (shown.size() > kLongest) shown = shown.left(24) + QChar(0x2026) + shown.right(kLongest - 25);
  shown.replace('&', "&&");
  return QStringLiteral("&%1 %2").arg(QString::number(index + 1), shown);
}

}  // namespace

std::string WithExtension(const std::string& chosen, std::string_view extension) {
  const std::string name = chosen.substr(chosen.find_last_of('/') + 1);
  const std::size_t dot = name.find_last_of('.');
  const std::string current = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (Lower(current) == extension) return chosen;
  return chosen + "." + std::string(extension);
}

std::string WindowTitle(const ShellState& state, const std::string& skin_name) {
  std::string title = state.title_text + state.version_text;
  if (!skin_name.empty()) title += " \u2013 " + skin_name;
  return title;
}

float FitZoom(QSize area) {
  float fit = kSmallestZoom;
  // The notches in the order the wheel reaches them; the canvas only grows along them.
  for (float zoom = kSmallestZoom; zoom < kLargestZoom;) {
    zoom += kZoomStep;
    const preview::CanvasSize size = preview::ZoomedCanvasSize(zoom);
    if (size.width > area.width() || size.height > area.height()) break;
    fit = zoom;
  }
  return fit;
}

std::string ScreenshotFileName(const std::string& chosen, int filter) {
  static constexpr const char* kExtensions[] = {"png", "bmp", "jpg"};
  if (chosen.empty() || filter < 0 || filter > 2) return {};
  return WithExtension(chosen, kExtensions[filter]);
}

Shell::Shell(UserDialogs& dialogs, i18n::DataFolders folders)
    : dialogs_(dialogs),
      folders_(std::move(folders)),
      code_page_(skin::AnsiCodePageFromEnvironment()),
      watcher_([this] { return ReadyForReload(); },
               [this](const std::vector<SkinFile>& files) { ReloadChangedFiles(files); }) {
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
  preferences_file_ = i18n::EditorPreferencesFile(folders_.settings_file);
  preferences_ = i18n::LoadEditorPreferences(preferences_file_);
  i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
  dialogs_.UseLanguage(state_.language_index);
  OpenMainWindow();
  window_->BuildPanels(texts_, state_.preview_x, state_.panel_x);
  state_.selected_screen = -1;
  SelectScreen(0);
  skin::ResetSkinDefaults(doc_);
  origin_ = {doc_, {}, {}};
  RefreshPanels();
  ShowDocumentState();
  RedrawPreview();
}

void Shell::Finish() {
  i18n::SaveProgramSettings(folders_.settings_file, {state_.last_path, state_.language_index,
                                                     state_.bg_color, state_.swap_view});
}

void Shell::OpenMainWindow() {
  // "[*]" is where the window shows its modified mark.
  window_ = std::make_unique<MainWindow>(texts_, Q(WindowTitle(state_, origin_.name) + "[*]"), *this);
  SetLanguageChecks(state_.language_index);
  window_->SetChecked(kMenuSwapView, state_.swap_view == 1);
  window_->SetChecked(kMenuFirstScreen, true);
  window_->SetChecked(kMenuFollowChanges, preferences_.follow_changes);
  ShowRecentSkins();
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

void Shell::SetLanguageChecks(int language) {
  for (const i18n::Language& l : i18n::kLanguages)
    window_->SetChecked(l.menu_item, l.number == language);
}

void Shell::SelectScreen(int screen) {
  if (state_.selected_screen >= 0) {
    window_->panel()->SetScreenEnabled(state_.selected_screen, false);
    window_->SetChecked(kMenuFirstScreen + state_.selected_screen, false);
  } else {
    for (int n = 0; n < preview::kScreenCount; ++n) window_->panel()->SetScreenEnabled(n, false);
  }
  state_.selected_screen = screen;
  window_->panel()->SetScreenEnabled(screen, true);
  window_->SetChecked(kMenuFirstScreen + screen, true);
}

void Shell::RefreshPanels() { window_->panel()->Refresh(doc_); }

template <typename Edit>
void Shell::Change(const std::string& label, const std::string& merge_key, Edit edit) {
  const skin::SkinDocument before = doc_;  // a cheap copy: the pictures are shared
  edit();
  if (doc_ == before) return;
  history_.Record(before, doc_, label, merge_key);
  ShowDocumentState();
}

template <typename Load>
bool Shell::Move(const std::string& label, Load load, const std::string& folder,
                 std::string name) {
  const skin::SkinDocument before = doc_;
  if (!load()) {
    if (!(doc_ == before)) history_.Record(before, doc_, label);
    ShowDocumentState();
    return false;
  }
  session::SkinOrigin now{doc_, folder.empty() ? std::string() : skin::FolderWithSeparator(folder),
                      std::move(name)};
  // The same skin as it was saved, opened again from where it came from, is no step.
  const bool same = doc_ == before && now.saved == origin_.saved && now.folder == origin_.folder &&
                    now.name == origin_.name;
  if (!same) history_.RecordMove(before, doc_, std::exchange(origin_, std::move(now)), label);
  FollowOrigin();
  ShowDocumentState();
  return true;
}

// A step's label holds the language keys of its wording, so that the Undo and Redo items speak
// the current language also for steps made before a change of language: the key of the text, a
// separator, and what it names, itself a language key or a name that is not translated.
std::string Shell::StepLabel(std::string_view key, std::string_view what) {
  return std::string(key) + '\x1f' + std::string(what);
}

std::string Shell::StepText(std::string_view item_key, const std::string& label) const {
  const std::size_t cut = label.find('\x1f');
  std::string what = label.substr(cut + 1);
  if (what.starts_with("LANG_") && what.ends_with("$")) what = Text(what);
  QString step = QString::fromStdString(Text(label.substr(0, cut)));
  if (!what.empty()) step = step.arg(QString::fromStdString(what));
  return QString::fromStdString(Text(item_key)).arg(step).toStdString();
}

void Shell::ShowDocumentState() {
  // The items' texts name their step, so their mnemonics are chosen anew each time.
  QSet<QChar> used;
  const auto item = [&](int number, bool can, std::string_view step_key, std::string_view key,
                        const std::string& label) {
    const std::string text = can ? StepText(step_key, label) : Text(key);
    window_->SetItem(number, WithMnemonic(Q(text), Q(i18n::BuiltInText(key)), used), can);
  };
  item(kMenuUndo, history_.CanUndo(), "LANG_EDIT_UNDO_STEP$", "LANG_EDIT_UNDO$",
       history_.UndoLabel());
  item(kMenuRedo, history_.CanRedo(), "LANG_EDIT_REDO_STEP$", "LANG_EDIT_REDO$",
       history_.RedoLabel());
  UpdateWindowTitle();
}

void Shell::UndoRedo(bool redo) {
  const std::string folder = origin_.folder;
  if (!(redo ? history_.Redo(doc_, origin_) : history_.Undo(doc_, origin_))) return;
  if (origin_.folder != folder) FollowOrigin();
  RefreshPanels();
  ShowDocumentState();
  RedrawPreview();
}

void Shell::RequestQuit() {
  if (Modified()) {
    switch (dialogs_.AskSaveBeforeQuit()) {
      case UserDialogs::QuitAnswer::kSave:
        // A save that was cancelled or left a file unwritten keeps the editor open.
        if (!SaveSkinCommand()) return;
        break;
      case UserDialogs::QuitAnswer::kDiscard:
        break;
      case UserDialogs::QuitAnswer::kCancel:
        return;
    }
  }
  state_.quit_requested = true;
}

void Shell::RedrawPreview() {
  ++redraw_count_;
  sources_.reset();
  try {
    // The view scales the canvas while it paints, and only the part that is visible.
    window_->ShowCanvas(preview::RenderPreview(doc_, state_.selected_screen, state_.bg_color, 1.0f),
                        state_.preview_zoom, state_.bg_color);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
  }
}

skin::MessageTexts Shell::Messages() const {
  return skin::MakeMessageTexts([this](std::string_view key) { return Text(key); });
}

void Shell::UpdateWindowTitle() {
  // "[*]" is where the window shows its modified mark.
  window_->setWindowTitle(Q(WindowTitle(state_, origin_.name) + "[*]"));
  window_->setWindowModified(Modified());
}

void Shell::Report(std::string_view key, const QStringList& args, int messages, int not_shown) {
  QString text = Q(Text(key));
  if (args.size() == 1) text = text.arg(args[0]);
  if (args.size() == 2) text = text.arg(args[0], args[1]);  // at once: a path may hold "%1"
  if (messages > 0) {
    text += " (" + (messages == 1 ? Q(Text("LANG_STATUS_ONE_MESSAGE$"))
                                  : Q(Text("LANG_STATUS_MESSAGES$")).arg(messages));
    if (not_shown > 0) text += ", " + Q(Text("LANG_STATUS_NOT_SHOWN$")).arg(not_shown);
    text += ")";
  }
  window_->ShowStatus(text);
}

void Shell::ReportOutOfMemory() {
  dialogs_.ShowError(Text("LANG_ERROR$"), Messages().Of(skin::FileProblem::kOutOfMemory));
}

void Shell::OnMenu(int item) {
  const BusyScope busy(busy_);
  switch (item) {
    case kMenuNewSkin:
      Move(
          StepLabel("LANG_FILE_NEW$"),
          [this] {
            skin::ResetSkinDefaults(doc_);
            return true;
          },
          "", "");
      SelectScreen(0);
      RefreshPanels();
      RedrawPreview();
      Report("LANG_STATUS_NEW$", {});
      return;
    case kMenuOpenFolder:
      OpenSkin(false);
      return;
    case kMenuOpenZip:
      OpenSkin(true);
      return;
    case kMenuSaveFolder:
      SaveSkinCommand();
      return;
    case kMenuSaveZip:
      ExportSkinCommand();
      return;
    case kMenuScreenshotFile:
      Screenshot(false);
      return;
    case kMenuScreenshotClipboard:
      Screenshot(true);
      return;
    case kMenuQuit:
      RequestQuit();
      return;
    case kMenuUndo:
    case kMenuRedo:
      UndoRedo(item == kMenuRedo);
      return;
    case kMenuBackgroundColour:
      state_.bg_color = dialogs_.EditColour(state_.bg_color);
      RedrawPreview();
      return;
    case kMenuSwapView:
      state_.swap_view = window_->IsChecked(kMenuSwapView) ? 0 : 1;
      window_->SetChecked(kMenuSwapView, state_.swap_view == 1);
      window_->Layout(state_.swap_view, false);
      return;
    case kMenuInformation:
      dialogs_.ShowInformationBox();
      return;
    case kMenuFitPreview:
      SetZoom(FitZoom(window_->preview()->maximumViewportSize()));
      return;
    case kMenuZoomOne:
      SetZoom(kSmallestZoom);
      return;
    case kMenuFollowChanges:
      SetFollowChanges(!window_->IsChecked(kMenuFollowChanges));
      return;
    case kMenuClearRecent:
      preferences_.recent.clear();
      SavePreferences();
      ShowRecentSkins();
      return;
    default:
      break;
  }
  if (item >= kMenuFirstLanguage && item <= kMenuLastLanguage) {
    for (const i18n::Language& l : i18n::kLanguages) {
      if (l.menu_item == item) state_.language_index = l.number;
    }
    i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
    dialogs_.UseLanguage(state_.language_index);
    // The window is built anew in the new language; what the user was looking at stays.
    const int screen = state_.selected_screen;
    const int tab = window_->panel()->currentIndex();
    RebuildMainWindow();
    state_.preview_x = state_.swap_view ? 398 : 3;
    state_.panel_x = state_.swap_view ? 3 : 272;
    window_->BuildPanels(texts_, state_.preview_x, state_.panel_x);
    window_->Layout(state_.swap_view, true);
    state_.selected_screen = -1;
    SelectScreen(screen);
    window_->panel()->setCurrentIndex(tab);
    RefreshPanels();
    ShowDocumentState();
    RedrawPreview();
  } else if (item >= kMenuFirstScreen && item <= kMenuLastScreen) {
    SelectScreen(item - kMenuFirstScreen);
    RedrawPreview();
  } else if (item >= kMenuFirstRecent && item <= kMenuLastRecent) {
    OpenRecentSkin(static_cast<std::size_t>(item - kMenuFirstRecent));
  }
}

void Shell::OnGadget(int gadget) {
  const BusyScope busy(busy_);
  if (gadget >= kGadgetFirstElement && gadget <= kGadgetLastElement) {
    if (const std::optional<ElementGadget> element = FindElementGadget(gadget)) {
      // The steps of one gadget in a row, such as the arrow clicks of a spin, undo as one.
      const skin::FieldInfo& field = skin::kFields[skin::Index(element->field)];
      const std::string name = SectionName(field.section) + " " + std::string(field.name);
      StoreElementGadgets({gadget}, StepLabel("LANG_STEP_CHANGE$", name),
                          "gadget " + std::to_string(gadget));
    }
  } else if (gadget >= kGadgetFirstColour && gadget <= kGadgetLastColour) {
    if (const ColourButton* button = FindColourButton(gadget)) {
      const imaging::Rgb colour = dialogs_.EditColour(doc_.Colour(button->colour));
      Change(StepLabel("LANG_STEP_CHANGE$", skin::Info(button->colour).key), "",
             [&] { doc_.Colour(button->colour) = colour; });
      window_->panel()->RefreshButtons(doc_);
      RedrawPreview();
    }
  } else if (gadget >= kGadgetInfoTitle && gadget <= kGadgetInfoUrl && gadget % 2 == 0) {
    std::string* texts[] = {&doc_.info.Title, &doc_.info.Author, &doc_.info.eMail, &doc_.info.Url};
    static constexpr const char* kLabels[] = {"LANG_INFO_TITLE$", "LANG_INFO_AUTHOR$",
                                              "LANG_INFO_EMAIL$", "LANG_INFO_URL$"};
    const int i = (gadget - kGadgetInfoTitle) / 2;
    Change(StepLabel("LANG_STEP_CHANGE$", kLabels[i]), "gadget " + std::to_string(gadget),
           [&] { *texts[i] = window_->panel()->InfoText(gadget); });
  } else if (gadget >= kGadgetFirstImage && gadget <= kGadgetLastImage) {
    if (const ImageButton* button = FindImageButton(gadget)) {
      ImportImage(button->slot);
      RedrawPreview();
    }
  } else if (gadget >= kGadgetFirstScreenButton && gadget <= kGadgetLastScreenButton) {
    SelectScreen(gadget - kGadgetFirstScreenButton);
    RedrawPreview();
  }
}

void Shell::StoreElementGadgets(const std::vector<int>& gadgets, const std::string& label,
                                const std::string& merge_key) {
  Change(label, merge_key, [&] {
    for (const int gadget : gadgets) {
      if (const std::optional<ElementGadget> element = FindElementGadget(gadget))
        doc_.Field(element->field) = window_->panel()->GadgetValue(gadget);
    }
  });
  RedrawPreview();
}

void Shell::OnWheel(int delta, QPointF at) {
  // One notch at a time; the zoom is kept as a single-precision sum, as it always was.
  if (delta == -kWheelNotch && state_.preview_zoom > kSmallestZoom) {
    state_.preview_zoom += -kZoomStep;
  } else if (delta == kWheelNotch && state_.preview_zoom < kLargestZoom) {
    state_.preview_zoom += kZoomStep;
  } else {
    return;
  }
  // The canvas drawn is the same at every zoom: the view only shows it at another size.
  window_->preview()->ZoomAround(state_.preview_zoom, at);
}

void Shell::SetZoom(float zoom) {
  state_.preview_zoom = zoom;
  window_->preview()->SetZoom(zoom);
}

void Shell::OnResize() {
  // The view places the canvas it holds in its new size.
  window_->Layout(window_->IsChecked(kMenuSwapView) ? 1 : 0, true);
}

void Shell::OnClose() {
  const BusyScope busy(busy_);
  RequestQuit();
}

void Shell::OpenSkin(bool zip) {
  std::string chosen;
  if (zip) {
    chosen =
        dialogs_.ChooseOpenFile(Text("LANG_REQFILE_LOAD$"),
                                skin::FolderWithSeparator(state_.last_path) + "*.zip", "* (*.zip)");
  } else {
    chosen = dialogs_.ChooseFolder(Text("LANG_REQPATH_LOAD$"), state_.last_path);
  }
  if (!chosen.empty()) OpenChosenSkin(chosen, zip);
}

void Shell::OpenChosenSkin(const std::string& path, bool zip) {
  state_.last_path = zip ? FolderOf(path) : path;
  LoadSkin(path, zip);
}

void Shell::OpenSkinArgument(const std::string& path) {
  const BusyScope busy(busy_);
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) full = path;
  const std::string name = full.lexically_normal().string();
  const bool folder = std::filesystem::is_directory(full, error);
  state_.last_path = folder ? skin::FolderWithSeparator(name) : FolderOf(name);
  LoadSkin(name, !folder);
}

void Shell::LoadSkin(const std::string& path, bool zip) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  const skin::LoadOptions options{code_page_, Messages()};
  // The whole load is one step: its undo gives back the skin that was open before.
  const bool opened = Move(
      StepLabel("LANG_STEP_OPEN$", SkinName(path)),
      [&] {
        return zip ? skin::OpenSkinZip(doc_, path, options, feedback)
                   : skin::OpenSkinFolder(doc_, path, options, feedback);
      },
      zip ? "" : path, SkinName(path));
  if (opened) RememberSkin(path, zip);
  RefreshPanels();
  SelectScreen(0);
  RedrawPreview();
  Report(opened ? "LANG_STATUS_OPENED$" : "LANG_STATUS_NOT_OPENED$", {Q(path)}, feedback.messages(),
         feedback.not_shown());
}

skin::SaveOptions Shell::SaveOptionsNow() const {
  skin::SaveOptions options;
  options.code_page = code_page_;
  options.last_update = skin::CurrentLastUpdate();
  options.texts = Messages();
  return options;
}

bool Shell::SaveSkinCommand() {
  const std::string folder =
      dialogs_.ChooseSaveFolder(Text("LANG_REQPATH_SAVE$"), state_.last_path);
  if (folder.empty()) return false;
  state_.last_path = folder;
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  const int written = skin::SaveSkin(doc_, folder, SaveOptionsNow(), feedback);
  const bool complete = written == 1 + static_cast<int>(skin::kSlotCount);
  const std::string saved_folder = skin::FolderWithSeparator(folder);
  if (complete) {
    origin_.saved = doc_;
    origin_.folder = saved_folder;
    history_.BreakMerge();
    RememberSkin(folder, false);
  }
  // What the save wrote is no change from outside, also when it wrote only part of the skin. A
  // partial save elsewhere leaves the followed folder alone, with what changed there unseen.
  if (origin_.folder == saved_folder) FollowOrigin();
  // The folder saved to is where the skin now lives.
  if (written > 0) origin_.name = SkinName(folder);
  UpdateWindowTitle();
  Report("LANG_STATUS_SAVED$", {QString::number(written), Q(folder)}, feedback.messages(),
         feedback.not_shown());
  window_->panel()->ShowLastUpdate(doc_.info.LastUpdate);  // the save stamped it
  return complete;
}

void Shell::ExportSkinCommand() {
  const std::string proposed =
      skin::FolderWithSeparator(state_.last_path) + skin::SkinFolderName(doc_.info.Title) + ".zip";
  const UserDialogs::SaveChoice choice =
      dialogs_.ChooseSaveFile(Text("LANG_REQFILE_SAVE_ZIP$"), proposed, {"* (*.zip)"});
  if (choice.path.empty()) return;
  state_.last_path = FolderOf(choice.path);
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  // The contact sheet on black, as skinsmith-cli export draws it, whatever the preview's
  // background: the archive is the same from either program.
  const std::string zip_path = WithExtension(choice.path, "zip");
  const bool saved = skin::ExportSkinZip(doc_, zip_path, preview::RenderContactSheet(doc_, 0),
                                         SaveOptionsNow(), feedback);
  // The archive holds the whole skin, so it counts as a save.
  if (saved) {
    origin_.saved = doc_;
    history_.BreakMerge();
    RememberSkin(zip_path, true);
  }
  UpdateWindowTitle();
  Report(saved ? "LANG_STATUS_EXPORTED$" : "LANG_STATUS_NOT_SAVED$", {Q(zip_path)},
         feedback.messages(), feedback.not_shown());
  window_->panel()->ShowLastUpdate(doc_.info.LastUpdate);  // the export stamped it
}

void Shell::ImportImage(skin::SlotId slot) {
  // The first filter, chosen at first, lists every picture a drop takes too.
  std::string pictures;
  for (const std::string_view extension : kPictureExtensions)
    pictures += (pictures.empty() ? "*." : " *.") + std::string(extension);
  const std::string chosen = dialogs_.ChooseOpenFile(
      Text("LANG_REQFILE_LOAD$"), skin::ProposedImportName(state_.last_path, slot),
      "Bitmap (" + pictures +
          ");;Portable Network Graphic (*.png);;JPEG - JFIF Compliant (*.jpg *.jpeg *.jpe)");
  if (chosen.empty()) return;
  ImportImageFile(slot, chosen);
}

void Shell::ImportImageFile(skin::SlotId slot, const std::string& path) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress());
  bool imported = false;
  Change(StepLabel("LANG_STEP_IMPORT$", skin::Info(slot).BaseName()), "",
         [&] { imported = skin::ImportSkinImage(doc_, slot, path, Messages(), feedback); });
  window_->panel()->RefreshButtons(doc_);
  if (imported) {
    Report("LANG_STATUS_IMPORTED$", {Q(path), Q(std::string(skin::Info(slot).file))});
  } else {
    Report("LANG_STATUS_NOT_IMPORTED$", {Q(path)});
  }
}

void Shell::Screenshot(bool to_clipboard) {
  try {
    SaveScreenshot(to_clipboard);
  } catch (const std::bad_alloc&) {
    ReportOutOfMemory();
  }
}

void Shell::SaveScreenshot(bool to_clipboard) {
  const imaging::Image shot = preview::RenderScreenshot(doc_);
  if (to_clipboard) {
    dialogs_.CopyToClipboard(shot);
    Report("LANG_STATUS_SHOT_COPIED$", {});
    return;
  }
  const UserDialogs::SaveChoice choice = dialogs_.ChooseSaveFile(
      Text("LANG_REQFILE_SAVE$"), state_.last_path,
      {"Portable Network Graphic (*.png)", "Bitmap (*.bmp)", "JPEG (*.jpg)"});
  if (choice.path.empty()) return;
  state_.last_path = FolderOf(choice.path);
  const std::string path = ScreenshotFileName(choice.path, choice.filter);
  static constexpr imaging::ScreenshotFormat kFormats[] = {imaging::ScreenshotFormat::kPng,
                                                           imaging::ScreenshotFormat::kBmp,
                                                           imaging::ScreenshotFormat::kJpeg};
  if (path.empty()) return;
  if (!imaging::WriteScreenshot(shot, path, kFormats[choice.filter])) {
    dialogs_.ShowError(Text("LANG_ERROR$"),
                       skin::ComposeFileMessage(path, skin::FileProblem::kNotSaved, Messages()));
    Report("LANG_STATUS_NOT_SAVED$", {Q(path)});
    return;
  }
  Report("LANG_STATUS_SHOT_SAVED$", {Q(path)});
}

void Shell::OpenRecentSkin(std::size_t index) {
  if (index >= preferences_.recent.size()) return;
  const std::string path = preferences_.recent[index];
  const bool zip = !path.ends_with('/');
  std::error_code error;
  if (zip ? std::filesystem::exists(path, error) : std::filesystem::is_directory(path, error)) {
    OpenChosenSkin(path, zip);
    return;
  }
  dialogs_.ShowError(Text("LANG_ERROR$"),
                     skin::ComposeFileMessage(path, skin::FileProblem::kNotFound, Messages()));
  i18n::ForgetRecentSkin(preferences_.recent, path);
  SavePreferences();
  ShowRecentSkins();
}

void Shell::RememberSkin(const std::string& path, bool zip) {
  i18n::RememberRecentSkin(preferences_.recent, zip ? path : skin::FolderWithSeparator(path));
  SavePreferences();
  ShowRecentSkins();
}

void Shell::ShowRecentSkins() {
  static_assert(kMenuLastRecent - kMenuFirstRecent + 1 == i18n::kMaxRecentSkins);
  const std::vector<std::string>& recent = preferences_.recent;
  for (std::size_t i = 0; i < i18n::kMaxRecentSkins; ++i) {
    QAction* entry = window_->MenuItem(kMenuFirstRecent + static_cast<int>(i));
    entry->setVisible(i < recent.size());
    if (i < recent.size()) entry->setText(RecentLabel(i, recent[i]));
  }
  window_->MenuItem(kMenuClearRecent)->setEnabled(!recent.empty());
}

void Shell::SavePreferences() { i18n::SaveEditorPreferences(preferences_file_, preferences_); }

void Shell::FollowOrigin() {
  if (preferences_.follow_changes && !origin_.folder.empty()) {
    watcher_.Watch(origin_.folder);
  } else {
    watcher_.Stop();
  }
}

void Shell::SetFollowChanges(bool follow) {
  preferences_.follow_changes = follow;
  window_->SetChecked(kMenuFollowChanges, follow);
  SavePreferences();
  FollowOrigin();
}

bool Shell::ReadyForReload() const {
  return busy_ == 0 && window_ != nullptr && QApplication::activeModalWidget() == nullptr;
}

void Shell::ReloadChangedFiles(const std::vector<SkinFile>& files) {
  const BusyScope busy(busy_);
  QStringList reloaded;
  QStringList status;
  for (const SkinFile& file : files) {
    std::string problem;
    try {
      problem = ReloadFile(file);
    } catch (const std::bad_alloc&) {
      problem = Messages().Of(skin::FileProblem::kOutOfMemory);
    }
    if (problem.empty()) {
      reloaded << QString::fromStdString(file.name);
    } else {
      status << QString::fromStdString(Text("LANG_STATUS_NOT_RELOADED$"))
                    .arg(QString::fromStdString(problem));
    }
  }
  if (!reloaded.isEmpty()) {
    status.prepend(QString::fromStdString(Text("LANG_STATUS_RELOADED$")).arg(reloaded.join(", ")));
  }
  window_->ShowStatus(status.join("  "));
  RefreshPanels();
  ShowDocumentState();
  RedrawPreview();
}

std::string Shell::ReloadFile(const SkinFile& file) {
  const std::string path = origin_.folder + file.name;
  const std::string label = StepLabel("LANG_STEP_RELOAD$", file.name);
  // The file on disk holds what is reloaded: the state last opened or saved takes it too, so that a
  // skin without unsaved changes has none after a reload.
  if (file.slot) {
    CollectedFeedback feedback;
    bool taken = false;
    Change(label, "",
           [&] { taken = skin::ImportSkinImage(doc_, *file.slot, path, Messages(), feedback); });
    if (!taken) return feedback.messages.empty() ? std::string() : feedback.messages.front();
    const std::size_t slot = skin::Index(*file.slot);
    origin_.saved.slots[slot] = doc_.slots[slot];
    return {};
  }
  // Held to what opening a skin folder reads of its settings file.
  const base::ReadResult settings = base::ReadWholeFile(path, skin::kMaxSettingsFileBytes);
  if (const std::optional<skin::FileProblem> problem = skin::ProblemOf(settings.status)) {
    skin::MessageTexts texts = Messages();
    texts.problems[static_cast<std::size_t>(skin::FileProblem::kTooLarge)] =
        Text("LANG_FILE_SETTINGSTOOLARGE$");
    return skin::ComposeFileMessage(path, *problem, texts);
  }
  Change(label, "", [&] { skin::ReadSkinSettings(settings.bytes, doc_, code_page_); });
  skin::ReadSkinSettings(settings.bytes, origin_.saved, code_page_);
  return {};
}

}  // namespace app

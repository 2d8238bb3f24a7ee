// Start-up, dispatch and commands.
#include "app/shell.h"

#include <QApplication>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>
#include <new>

#include "app/fixed_numbers.h"
#include "app/panel_tables.h"
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

}  // namespace

std::string WithExtension(const std::string& chosen, std::string_view extension) {
  const std::string name = chosen.substr(chosen.find_last_of('/') + 1);
  const std::size_t dot = name.find_last_of('.');
  const std::string current = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (Lower(current) == extension) return chosen;
  return chosen + "." + std::string(extension);
}

std::string WindowTitle(const ShellState& state) {
  std::string title = state.title_text + state.version_text;
  if (!state.skin_name.empty()) title += " \u2013 " + state.skin_name;
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
      code_page_(skin::AnsiCodePageFromEnvironment()) {
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
  i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
  dialogs_.UseLanguage(state_.language_index);
  OpenMainWindow();
  window_->BuildPanels(texts_, state_.preview_x, state_.panel_x);
  state_.selected_screen = -1;
  SelectScreen(0);
  skin::ResetSkinDefaults(doc_);
  RefreshPanels();
  RedrawPreview();
}

void Shell::Finish() {
  i18n::SaveProgramSettings(folders_.settings_file, {state_.last_path, state_.language_index,
                                                     state_.bg_color, state_.swap_view});
}

void Shell::OpenMainWindow() {
  window_ = std::make_unique<MainWindow>(texts_, Q(WindowTitle(state_)), *this);
  SetLanguageChecks(state_.language_index);
  window_->SetChecked(kMenuSwapView, state_.swap_view == 1);
  window_->SetChecked(kMenuFirstScreen, true);
}

void Shell::RebuildMainWindow() {
  const QPoint position = window_->pos();
  const bool visible = window_->isVisible();
  // The old window may be the sender of the event being handled: delete it once that is done.
  window_.release()->deleteLater();
  OpenMainWindow();
  window_->move(position);
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

void Shell::RedrawPreview() {
  ++redraw_count_;
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

void Shell::UpdateWindowTitle() { window_->setWindowTitle(Q(WindowTitle(state_))); }

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
  switch (item) {
    case kMenuNewSkin:
      skin::ResetSkinDefaults(doc_);
      SelectScreen(0);
      RefreshPanels();
      RedrawPreview();
      state_.skin_name.clear();
      UpdateWindowTitle();
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
      state_.quit_requested = true;
      return;
    case kMenuBackgroundColour:
      state_.bg_color = dialogs_.EditColour(state_.bg_color);
      RedrawPreview();
      return;
    case kMenuSwapView:
      state_.swap_view = window_->IsChecked(kMenuSwapView) ? 0 : 1;
      window_->SetChecked(kMenuSwapView, state_.swap_view == 1);
      window_->Layout(state_.swap_view, false);
      RedrawPreview();
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
    default:
      break;
  }
  if (item >= kMenuFirstLanguage && item <= kMenuLastLanguage) {
    for (const i18n::Language& l : i18n::kLanguages) {
      if (l.menu_item == item) state_.language_index = l.number;
    }
    i18n::ApplyLanguage(texts_, state_.language_index, folders_.language_folder);
    dialogs_.UseLanguage(state_.language_index);
    RebuildMainWindow();
    state_.preview_x = state_.swap_view ? 398 : 3;
    state_.panel_x = state_.swap_view ? 3 : 272;
    window_->BuildPanels(texts_, state_.preview_x, state_.panel_x);
    state_.selected_screen = -1;
    SelectScreen(0);
    RefreshPanels();
    RedrawPreview();
  } else if (item >= kMenuFirstScreen && item <= kMenuLastScreen) {
    SelectScreen(item - kMenuFirstScreen);
    RedrawPreview();
  }
}

void Shell::OnGadget(int gadget) {
  if (gadget >= kGadgetFirstElement && gadget <= kGadgetLastElement) {
    if (const std::optional<ElementGadget> element = FindElementGadget(gadget)) {
      doc_.Field(element->field) = window_->panel()->GadgetValue(gadget);
      RedrawPreview();
    }
  } else if (gadget >= kGadgetFirstColour && gadget <= kGadgetLastColour) {
    if (const ColourButton* button = FindColourButton(gadget)) {
      doc_.Colour(button->colour) = dialogs_.EditColour(doc_.Colour(button->colour));
      window_->panel()->RefreshButtons(doc_);
      RedrawPreview();
    }
  } else if (gadget >= kGadgetFirstImage && gadget <= kGadgetLastImage) {
    if (const ImageButton* button = FindImageButton(gadget)) {
      ImportImage(button->slot);
      window_->panel()->RefreshButtons(doc_);
      RedrawPreview();
    }
  } else if (gadget >= kGadgetFirstScreenButton && gadget <= kGadgetLastScreenButton) {
    SelectScreen(gadget - kGadgetFirstScreenButton);
    RedrawPreview();
  }
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
  window_->preview()->ZoomAround(state_.preview_zoom, at);
  RedrawPreview();
}

void Shell::SetZoom(float zoom) {
  state_.preview_zoom = zoom;
  PreviewView* view = window_->preview();
  view->ZoomAround(zoom, QRectF(view->viewport()->rect()).center());
  RedrawPreview();
}

void Shell::OnResize() {
  window_->Layout(window_->IsChecked(kMenuSwapView) ? 1 : 0, true);
  if (window_->panel() != nullptr && state_.selected_screen >= 0) RedrawPreview();
}

void Shell::OnClose() { state_.quit_requested = true; }

void Shell::OpenSkin(bool zip) {
  std::string chosen;
  if (zip) {
    chosen =
        dialogs_.ChooseOpenFile(Text("LANG_REQFILE_LOAD$"),
                                skin::FolderWithSeparator(state_.last_path) + "*.zip", "* (*.zip)");
    if (chosen.empty()) return;
    state_.last_path = FolderOf(chosen);
  } else {
    chosen = dialogs_.ChooseFolder(Text("LANG_REQPATH_LOAD$"), state_.last_path);
    if (chosen.empty()) return;
    state_.last_path = chosen;
  }
  LoadSkin(chosen, zip);
}

void Shell::OpenSkinArgument(const std::string& path) {
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
  const bool opened = zip ? skin::OpenSkinZip(doc_, path, options, feedback)
                          : skin::OpenSkinFolder(doc_, path, options, feedback);
  RefreshPanels();
  SelectScreen(0);
  RedrawPreview();
  if (opened) state_.skin_name = SkinName(path);
  UpdateWindowTitle();
  Report(opened ? "LANG_STATUS_OPENED$" : "LANG_STATUS_NOT_OPENED$", {Q(path)}, feedback.messages(),
         feedback.not_shown());
}

skin::SaveOptions Shell::SaveOptionsNow() const {
  skin::SaveOptions options;
  options.code_page = code_page_;
  options.last_update = skin::CurrentLastUpdate();
  options.edited_info = window_->panel()->EditedInfo();
  options.texts = Messages();
  return options;
}

void Shell::SaveSkinCommand() {
  const std::string folder =
      dialogs_.ChooseSaveFolder(Text("LANG_REQPATH_SAVE$"), state_.last_path);
  if (folder.empty()) return;
  state_.last_path = folder;
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress(), Text("LANG_QUIET$"));
  const int written = skin::SaveSkin(doc_, folder, SaveOptionsNow(), feedback);
  // The folder saved to is where the skin now lives.
  if (written > 0) state_.skin_name = SkinName(folder);
  UpdateWindowTitle();
  Report("LANG_STATUS_SAVED$", {QString::number(written), Q(folder)}, feedback.messages(),
         feedback.not_shown());
}

void Shell::ExportSkinCommand() {
  const std::string proposed = skin::FolderWithSeparator(state_.last_path) +
                               skin::SkinFolderName(window_->panel()->EditedInfo().Title) + ".zip";
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
  Report(saved ? "LANG_STATUS_EXPORTED$" : "LANG_STATUS_NOT_SAVED$", {Q(zip_path)},
         feedback.messages(), feedback.not_shown());
}

void Shell::ImportImage(skin::SlotId slot) {
  const std::string chosen = dialogs_.ChooseOpenFile(
      Text("LANG_REQFILE_LOAD$"), skin::ProposedImportName(state_.last_path, slot),
      "Bitmap (*.bmp *.png *.jpg *.jpeg *.jpe);;Portable Network Graphic (*.png);;JPEG - JFIF "
      "Compliant (*.jpg *.jpeg *.jpe)");
  if (chosen.empty()) return;
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), window_->progress());
  if (skin::ImportSkinImage(doc_, slot, chosen, Messages(), feedback)) {
    Report("LANG_STATUS_IMPORTED$", {Q(chosen), Q(std::string(skin::Info(slot).file))});
  } else {
    Report("LANG_STATUS_NOT_IMPORTED$", {Q(chosen)});
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

}  // namespace app

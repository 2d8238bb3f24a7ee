// The editor under test: a shell started on the offscreen platform with scripted dialogs, its
// window shown, and language files copied beside it.
#pragma once

#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/fixed_numbers.h"
#include "app/panel_tables.h"
#include "app/shell.h"
#include "skin/skin_saver.h"
#include "test_support.h"
#include "zip_writer.h"

namespace app {

// One wheel message at `at` (`widget` coordinates), as the mouse sends it, and what follows it.
// Marked as coming from the window system, so that a widget that leaves it passes it on to its
// parents as a real one.
inline void SendWheel(QWidget* widget, QPoint angle_delta, QPointF at,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), angle_delta, Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&event);
  QApplication::instance()->notify(widget, &event);  // sendEvent would clear the mark
  QCoreApplication::processEvents();
}

// A menu item's text as it reads, without the "&" that marks its mnemonic.
inline QString WithoutMnemonic(QString text) {
  return text.replace("&&", QChar(1)).remove('&').replace(QChar(1), '&');
}

class ScriptedDialogs : public UserDialogs {
 public:
  std::string ChooseFolder(const std::string& title, const std::string&) override {
    titles.push_back(title);
    return Next();
  }
  std::string ChooseOpenFile(const std::string& title, const std::string& proposed,
                             const std::string& filter) override {
    titles.push_back(title);
    proposals.push_back(proposed);
    open_filters.push_back(filter);
    return Next();
  }
  SaveChoice ChooseSaveFile(const std::string& title, const std::string& proposed,
                            const std::vector<std::string>& filters) override {
    titles.push_back(title);
    proposals.push_back(proposed);
    save_filters = filters;
    return {Next(), save_filter};
  }
  void ShowError(const std::string& caption, const std::string& text) override {
    errors.push_back(caption + "|" + text);
  }
  // Ticks "Don't show further messages" in the box of message number `quiet_at` (from 1).
  bool ShowOperationError(const std::string& caption, const std::string& text,
                          const std::string& quiet_text) override {
    ShowError(caption, text);
    quiet_texts.push_back(quiet_text);
    return static_cast<int>(quiet_texts.size()) == quiet_at;
  }
  imaging::Rgb EditColour(imaging::Rgb given, const std::string& name,
                          std::function<void(imaging::Rgb)> live) override {
    edited.push_back(given);
    colour_names.push_back(name);
    show_live = std::move(live);
    if (inside_colour_editor) inside_colour_editor();
    show_live = nullptr;
    return colour_answer;
  }
  void ShowInformationBox() override { ++information_boxes; }
  void ShowUserGuide(const std::string& file) override { guides.push_back(file); }
  void CopyToClipboard(const imaging::Image& image) override { clipboard = image; }
  bool OpenWithSystem(const std::string& path) override {
    opened_with_system.push_back(path);
    return open_with_system_works;
  }
  SaveAnswer AskSaveChanges(std::string_view question_key) override {
    ++quit_questions;
    questions.emplace_back(question_key);
    return quit_answer;
  }

  // The studio opens on its request and answers `studio_answer` (Cancel when none), showing the
  // picture that answer makes first, as the dialog shows each setting chosen.
  std::optional<imaging::FitSettings> RunImportStudio(
      const StudioRequest& request, std::function<void(const imaging::Image&)> live) override {
    studios.push_back(request);
    studio_scales.push_back(request.source->eighths());
    live(request.source->Fit(request.settings));
    if (studio_answer) live(request.source->Fit(*studio_answer));
    return studio_answer;
  }

  std::string Next() {
    if (answers.empty()) return {};
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }

  std::deque<std::string> answers;
  std::vector<std::string> opened_with_system;
  bool open_with_system_works = true;
  std::vector<StudioRequest> studios;
  std::vector<int> studio_scales;  // the scale, in eighths, each studio's source opened at
  // Keep original size: the picture is imported as it is, as before the studio existed.
  std::optional<imaging::FitSettings> studio_answer = [] {
    imaging::FitSettings keep;
    keep.mode = imaging::FitMode::kKeep;
    return keep;
  }();
  int save_filter = 0;
  int quiet_at = 0;
  std::vector<std::string> quiet_texts;
  imaging::Rgb colour_answer = 0;
  // Runs while the colour editor is "open", as its own event loop would run; it may show colours
  // as the editor would through `show_live`.
  std::function<void()> inside_colour_editor;
  std::function<void(imaging::Rgb)> show_live;
  std::vector<std::string> colour_names, guides;
  std::vector<std::string> titles, proposals, errors, save_filters, open_filters;
  std::vector<imaging::Rgb> edited;
  int information_boxes = 0;
  SaveAnswer quit_answer = SaveAnswer::kCancel;
  int quit_questions = 0;
  std::vector<std::string> questions;  // the language keys of the questions asked
  imaging::Image clipboard;
};

// A request for the studio on `source`, a picture `width` x `height`, fitted into `fit` (width
// and height) at first, for a slot that expects `fit` too.
inline StudioRequest StudioRequestFor(imaging::FitSource& source, int width, int height,
                                      std::pair<int, int> fit) {
  StudioRequest request;
  request.source = &source;
  request.source_width = width;
  request.source_height = height;
  request.settings.width = fit.first;
  request.settings.height = fit.second;
  request.expected = fit;
  return request;
}

// An editor as main makes it, with its own text table and editing session.
struct EditorUnderTest {
  EditorUnderTest(UserDialogs& dialogs, i18n::DataFolders folders)
      : shell(dialogs, session, texts, std::move(folders)) {}
  i18n::UiTexts texts;
  session::SkinSession session;
  Shell shell;
};

// A text table for dialogs made on their own.
inline const i18n::UiTexts& BuiltInTexts() {
  static const i18n::UiTexts texts;
  return texts;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    fs::create_directories(dir_.path() / "language");
    fs::copy(fs::path(SKINSMITH_TEST_DATA_DIR) / ".." / ".." / "language", dir_.path() / "language",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    StartEditor();
    QCoreApplication::processEvents();
    // Keyboard shortcuts reach only the active window.
    QApplication::setActiveWindow(shell_->window());
  }
  MainWindow& window() { return *shell_->window(); }
  const skin::SkinDocument& doc() { return shell_->document(); }
  // The gadgets that edit a field, a colour (on `screen`, else its first button), a slot or an
  // information text, and the screen buttons "1" to "14".
  QWidget* Field(skin::FieldId field) { return window().panel()->Widget(field); }
  QWidget* Colour(skin::ColourId colour, int screen = -1) {
    return window().Gadget(GadgetOf(colour, screen));
  }
  QWidget* Slot(skin::SlotId slot) { return window().panel()->Widget(slot); }
  QWidget* Info(skin::InfoId info) { return window().panel()->Widget(info); }
  QWidget* ScreenButton(int screen) { return window().Gadget(kGadgetFirstScreenButton + screen); }
  // One wheel message over the preview at `at` (viewport coordinates), as the mouse sends it.
  void Wheel(QPoint angle_delta, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendWheel(window().preview()->viewport(), angle_delta, at, modifiers);
  }
  void Wheel(int delta) {
    Wheel(QPoint(0, delta), window().preview()->viewport()->rect().center());
  }
  QWidget* gadget(int number) { return window().Gadget(number); }
  void Trigger(int item) { window().MenuItem(item)->trigger(); }
  bool Modified() { return window().isWindowModified(); }
  std::string UndoText() {
    return WithoutMnemonic(window().MenuItem(kMenuUndo)->text()).toStdString();
  }
  std::string EditorFile() { return (dir_.path() / "settings" / "editor.ini").string(); }
  // A skin folder: the default skin with a grey upper screen and [start button] x at `x`.
  std::string SaveSkinFolder(const std::string& name, int x = 0) {
    skin::SkinDocument source;
    skin::ResetSkinDefaults(source);
    source.SetSlot(skin::SlotId::upper_screen,
                   imaging::Image(256, 192, imaging::MakeRgb(96, 96, 96)));
    source.Field(skin::FieldId::start_button_x) = x;
    testing_support::RecordingFeedback quiet;
    std::filesystem::create_directories(dir_.path() / name);
    skin::SaveSkin(source, (dir_.path() / name).string(), skin::SaveOptions(), quiet);
    return base::FolderWithSeparator(dir_.folder() + name);
  }
  // An archive holding the skin folder `folder`.
  std::string Zip(const std::string& folder, const std::string& name) {
    std::vector<testing_support::ZipEntry> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file()) {
        entries.push_back({"s/" + std::filesystem::relative(entry.path(), folder).string(),
                           testing_support::ReadFileText(entry.path())});
      }
    }
    const std::string zip = dir_.folder() + name;
    EXPECT_TRUE(testing_support::WriteZip(zip, entries));
    return zip;
  }
  void Open(const std::string& folder) {
    dialogs_.answers.push_back(folder);
    Trigger(kMenuOpenFolder);
  }
  // The editor started afresh on the same settings folder.
  void Restart() {
    shell_.reset();
    session_ = session::SkinSession();
    StartEditor();
  }
  // An editor on the test's settings folder, started and shown.
  void StartEditor() {
    shell_ = std::make_unique<Shell>(
        dialogs_, session_, texts_,
        i18n::DataFolders{(dir_.path() / "language").string(),
                          (dir_.path() / "settings" / "settings.ini").string(), ""});
    shell_->Start();
    shell_->window()->show();
  }

  bool Enabled(int number) { return gadget(number)->isEnabled(); }
  bool Enabled(QWidget* gadget) { return gadget->isEnabled(); }

  testing_support::TempDir dir_;
  ScriptedDialogs dialogs_;
  i18n::UiTexts texts_;
  session::SkinSession session_;
  std::unique_ptr<Shell> shell_;
};

}  // namespace app

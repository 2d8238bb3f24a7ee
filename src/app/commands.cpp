// The command table.
#include "app/commands.h"

#include <algorithm>
#include <vector>

#include "app/fixed_numbers.h"
#include "app/preview_view.h"
#include "i18n/ui_texts.h"

namespace app {
namespace {

using Keys = QList<QKeySequence>;
using T = const CommandTargets&;

// The table's own copy of a key built at run time, which the text table keeps for the program's
// whole run.
std::string_view StoredKey(std::string_view key) {
  for (const i18n::TextKey& known : i18n::AllTextKeys()) {
    if (known.key == key) return known.key;
  }
  return {};
}

std::vector<Command> BuildCommands() {
  std::vector<Command> c;
  const auto add = [&](Command command) { c.push_back(std::move(command)); };
  using P = MenuPlace;
  // One command a row or two, as a table reads; the formatter would give each field a line.
  // clang-format off
  add({kMenuNewSkin, P::kFile, "LANG_FILE_NEW$", {}, {QKeySequence::New}, false, false,
       [](T s) { s.files.NewSkin(); }});
  add({kMenuOpenFolder, P::kFileOpen, "LANG_FILE_OPEN_FOLDER$", {}, {QKeySequence::Open}, false,
       false, [](T s) { s.files.OpenFolder(); }});
  add({kMenuOpenZip, P::kFileOpen, {}, QStringLiteral("*.zip"),
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, false, false,
       [](T s) { s.files.OpenArchive(); }});
  // The shell names and shows the entries of the recent skins.
  for (int item = kMenuFirstRecent; item <= kMenuLastRecent; ++item) {
    add({item, P::kFileRecent, {}, {}, {}, false, false,
         [n = item - kMenuFirstRecent](T s) { s.files.OpenRecent(static_cast<std::size_t>(n)); }});
  }
  add({kMenuClearRecent, P::kFileRecent, "LANG_FILE_RECENT_CLEAR$", {}, {}, false, true,
       [](T s) { s.workspace.ClearRecent(); },
       [](T s) { return !s.workspace.preferences().recent.empty(); }});
  add({kMenuSave, P::kFile, "LANG_FILE_SAVE_HERE$", {}, {QKeySequence::Save}, false, false,
       [](T s) { s.files.Save(); }});
  add({kMenuSaveFolder, P::kFileSave, "LANG_FILE_SAVE_FOLDER$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, false, false,
       [](T s) { s.files.SaveFolder(); }});
  add({kMenuSaveZip, P::kFileSave, "LANG_FILE_SAVE_ZIP$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_E)},
       false, false, [](T s) { s.files.ExportArchive(); }});
  // Screen 1 as always, and the screen shown.
  add({kMenuScreenshotFile, P::kFileScreenshot, "LANG_FILE_SCREENSHOT2D$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, false, true,
       [](T s) { s.files.Screenshot(false, 0); }});
  add({kMenuScreenshotClipboard, P::kFileScreenshot, "LANG_FILE_SCREENSHOT2C$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, false, false,
       [](T s) { s.files.Screenshot(true, 0); }});
  add({kMenuScreenshotCurrentFile, P::kFileScreenshot, "LANG_FILE_SCREENSHOT_NOW_FILE$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)}, false, true,
       [](T s) { s.files.Screenshot(false, s.state.selected_screen); }});
  add({kMenuScreenshotCurrentClipboard, P::kFileScreenshot, "LANG_FILE_SCREENSHOT_NOW_CLIP$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C)}, false, false,
       [](T s) { s.files.Screenshot(true, s.state.selected_screen); }});
  // The size of every screenshot: a pixel of the console as 1, 2 or 3 pixels square.
  for (int scale = 1; scale <= i18n::EditorPreferences::kMaxScreenshotScale; ++scale) {
    static constexpr std::string_view kTexts[] = {"LANG_FILE_SHOT_SCALE1$", "LANG_FILE_SHOT_SCALE2$",
                                                  "LANG_FILE_SHOT_SCALE3$"};
    add({kMenuScreenshotScale1 + scale - 1, P::kFileScreenshot, kTexts[scale - 1], {}, {}, true,
         scale == 1, [scale](T s) { s.workspace.SetScreenshotScale(scale); }, {},
         [scale](T s) { return s.workspace.preferences().screenshot_scale == scale; }});
  }
  // Ctrl+Q on every platform theme, also where the desktop defines no key for quitting.
  add({kMenuQuit, P::kFile, "LANG_FILE_CLOSE$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_Q)},
       false, true, [](T s) { s.files.Quit(); }});
  add({kMenuUndo, P::kEdit, {}, {}, {QKeySequence::Undo}, false, false,
       [](T s) { s.editor.Undo(); },
       [](T s) { return s.session.history().CanUndo(); }});
  add({kMenuRedo, P::kEdit, {}, {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
       false, false, [](T s) { s.editor.Redo(); },
       [](T s) { return s.session.history().CanRedo(); }});
  add({kMenuZoomIn, P::kView, "LANG_VIEW_ZOOM_IN$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, false,
       false, [](T s) { s.workspace.ZoomIn(); },
       [](T s) { return s.state.preview_zoom < kLargestWholeZoom; }});
  add({kMenuZoomOut, P::kView, "LANG_VIEW_ZOOM_OUT$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_Minus)},
       false, false, [](T s) { s.workspace.ZoomOut(); },
       [](T s) { return s.state.preview_zoom > 1.0f; }});
  add({kMenuZoomOne, P::kView, "LANG_VIEW_ACTUAL$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_0)},
       false, false, [](T s) { s.workspace.ZoomOne(); }});
  add({kMenuFitPreview, P::kView, "LANG_OPTIONS_FIT$", {}, {}, true, false,
       [](T s) { s.workspace.SetFitPreview(!s.state.fit_preview); }, {},
       [](T s) { return s.state.fit_preview; }});
  add({kMenuPixelGrid, P::kView, "LANG_VIEW_GRID$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_G)},
       true, true, [](T s) { s.workspace.SetPixelGrid(!s.state.pixel_grid); }, {},
       [](T s) { return s.state.pixel_grid; }});
  // Two views of the console's colours; choosing the one shown goes back to the stored colours.
  struct ColourView {
    int id;
    std::string_view key;
    i18n::PreviewColours colours;
  };
  for (const ColourView view :
       {ColourView{kMenuConsoleColours, "LANG_VIEW_CONSOLE$", i18n::PreviewColours::kConsole},
        ColourView{kMenuOriginalColours, "LANG_VIEW_ORIGINAL$", i18n::PreviewColours::kOriginal}}) {
    const i18n::PreviewColours colours = view.colours;
    add({view.id, P::kView, view.key, {}, {}, true, view.id == kMenuConsoleColours,
         [colours](T s) {
           const i18n::PreviewColours shown = s.workspace.preferences().preview_colours;
           s.workspace.SetPreviewColours(shown == colours ? i18n::PreviewColours::kStored
                                                          : colours);
         },
         {}, [colours](T s) { return s.workspace.preferences().preview_colours == colours; }});
  }
  for (std::size_t i = 0; i < i18n::kLanguages.size(); ++i) {
    const i18n::Language language = i18n::kLanguages[i];
    add({language.menu_item, P::kLanguage, {}, QString::fromStdString(i18n::LanguageLabel(i)), {},
         true, false, [n = language.number](T s) { s.editor.UseLanguage(n); }, {},
         [n = language.number](T s) { return s.state.language_index == n; }});
  }
  add({kMenuBackgroundColour, P::kOptions, "LANG_OPTIONS_BACKCOLOR$", {}, {}, false, false,
       [](T s) { s.editor.ChooseBackground(); }});
  add({kMenuSwapView, P::kOptions, "LANG_OPTIONS_SWAPVIEW$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::Key_R)}, true, false, [](T s) { s.editor.SwapView(); }, {},
       [](T s) { return s.state.swap_view == 1; }});
  add({kMenuFollowChanges, P::kOptions, "LANG_OPTIONS_FOLLOW$", {}, {}, true, false,
       [](T s) { s.editor.SetFollowChanges(!s.workspace.preferences().follow_changes); }, {},
       [](T s) { return s.workspace.preferences().follow_changes; }});
  for (int n = 0; n < preview::kScreenCount; ++n) {
    // Screens 1 to 9 on Ctrl and their digit, 10 to 14 on Alt and their last digit.
    const QKeySequence keys = n < 9 ? QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + n))
                                    : QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_0 + n - 9));
    add({kMenuFirstScreen + n, P::kScreen, StoredKey(i18n::ScreenNameKey(n)), {}, Keys{keys}, true, false,
         [n](T s) { s.editor.ShowScreen(n); },
         {}, [n](T s) { return s.state.selected_screen == n; }});
  }
  add({kMenuUserGuide, P::kAbout, "LANG_ABOUT_LINK$", {}, Keys{QKeySequence(Qt::Key_F1)}, false,
       false, [](T s) { s.editor.ShowUserGuide(); },
       [](T s) { return !s.folders.user_guide.empty(); }});
  add({kMenuInformation, P::kAbout, "LANG_ABOUT_ABOUT$", {}, {}, false, false,
       [](T s) { s.editor.ShowInformation(); }});
  // clang-format on
  return c;
}

}  // namespace

std::span<const Command> Commands() {
  static const std::vector<Command> commands = BuildCommands();
  return commands;
}

const Command* FindCommand(int id) {
  const std::span<const Command> all = Commands();
  const auto found =
      std::find_if(all.begin(), all.end(), [id](const Command& c) { return c.id == id; });
  return found == all.end() ? nullptr : &*found;
}

}  // namespace app

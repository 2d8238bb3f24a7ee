// The command table.
#include "app/commands.h"

#include <algorithm>
#include <vector>

#include "app/fixed_numbers.h"
#include "app/preview_view.h"
#include "app/shell.h"
#include "i18n/ui_texts.h"

namespace app {
namespace {

using Keys = QList<QKeySequence>;

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
  add({kMenuNewSkin, P::kFile, "LANG_FILE_NEW$", {}, {QKeySequence::New}, false, false,
       [](Shell& s) { s.NewSkin(); }});
  add({kMenuOpenFolder, P::kFileOpen, "LANG_FILE_OPEN_FOLDER$", {}, {QKeySequence::Open}, false,
       false, [](Shell& s) { s.OpenFolder(); }});
  add({kMenuOpenZip, P::kFileOpen, {}, QStringLiteral("*.zip"),
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}, false, false,
       [](Shell& s) { s.OpenArchive(); }});
  // The shell names and shows the entries of the recent skins.
  for (int item = kMenuFirstRecent; item <= kMenuLastRecent; ++item) {
    add({item, P::kFileRecent, {}, {}, {}, false, false,
         [n = item - kMenuFirstRecent](Shell& s) { s.OpenRecent(static_cast<std::size_t>(n)); }});
  }
  add({kMenuClearRecent, P::kFileRecent, "LANG_FILE_RECENT_CLEAR$", {}, {}, false, true,
       [](Shell& s) { s.workspace().ClearRecent(); },
       [](const Shell& s) { return !s.preferences().recent.empty(); }});
  add({kMenuSave, P::kFile, "LANG_FILE_SAVE_HERE$", {}, {QKeySequence::Save}, false, false,
       [](Shell& s) { s.Save(); }});
  add({kMenuSaveFolder, P::kFileSave, "LANG_FILE_SAVE_FOLDER$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, false, false,
       [](Shell& s) { s.SaveFolder(); }});
  add({kMenuSaveZip, P::kFileSave, "LANG_FILE_SAVE_ZIP$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_E)},
       false, false, [](Shell& s) { s.ExportArchive(); }});
  // Screen 1 as always, and the screen shown.
  add({kMenuScreenshotFile, P::kFileScreenshot, "LANG_FILE_SCREENSHOT2D$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, false, true,
       [](Shell& s) { s.Screenshot(false, 0); }});
  add({kMenuScreenshotClipboard, P::kFileScreenshot, "LANG_FILE_SCREENSHOT2C$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, false, false,
       [](Shell& s) { s.Screenshot(true, 0); }});
  add({kMenuScreenshotCurrentFile, P::kFileScreenshot, "LANG_FILE_SCREENSHOT_NOW_FILE$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)}, false, true,
       [](Shell& s) { s.Screenshot(false, s.state().selected_screen); }});
  add({kMenuScreenshotCurrentClipboard, P::kFileScreenshot, "LANG_FILE_SCREENSHOT_NOW_CLIP$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C)}, false, false,
       [](Shell& s) { s.Screenshot(true, s.state().selected_screen); }});
  // Ctrl+Q on every platform theme, also where the desktop defines no key for quitting.
  add({kMenuQuit, P::kFile, "LANG_FILE_CLOSE$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_Q)},
       false, true, [](Shell& s) { s.Quit(); }});
  add({kMenuUndo, P::kEdit, {}, {}, {QKeySequence::Undo}, false, false,
       [](Shell& s) { s.Undo(); },
       [](const Shell& s) { return s.session().history().CanUndo(); }});
  add({kMenuRedo, P::kEdit, {}, {},
       Keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
       false, false, [](Shell& s) { s.Redo(); },
       [](const Shell& s) { return s.session().history().CanRedo(); }});
  add({kMenuZoomIn, P::kView, "LANG_VIEW_ZOOM_IN$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, false,
       false, [](Shell& s) { s.workspace().ZoomIn(); },
       [](const Shell& s) { return s.state().preview_zoom < kLargestWholeZoom; }});
  add({kMenuZoomOut, P::kView, "LANG_VIEW_ZOOM_OUT$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_Minus)},
       false, false, [](Shell& s) { s.workspace().ZoomOut(); },
       [](const Shell& s) { return s.state().preview_zoom > 1.0f; }});
  add({kMenuZoomOne, P::kView, "LANG_VIEW_ACTUAL$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_0)},
       false, false, [](Shell& s) { s.workspace().ZoomOne(); }});
  add({kMenuFitPreview, P::kView, "LANG_OPTIONS_FIT$", {}, {}, true, false,
       [](Shell& s) { s.workspace().SetFitPreview(!s.state().fit_preview); }, {},
       [](const Shell& s) { return s.state().fit_preview; }});
  add({kMenuPixelGrid, P::kView, "LANG_VIEW_GRID$", {}, Keys{QKeySequence(Qt::CTRL | Qt::Key_G)},
       true, true, [](Shell& s) { s.workspace().SetPixelGrid(!s.state().pixel_grid); }, {},
       [](const Shell& s) { return s.state().pixel_grid; }});
  for (std::size_t i = 0; i < i18n::kLanguages.size(); ++i) {
    const i18n::Language language = i18n::kLanguages[i];
    add({language.menu_item, P::kLanguage, {}, QString::fromStdString(i18n::LanguageLabel(i)), {},
         true, false, [n = language.number](Shell& s) { s.UseLanguage(n); }, {},
         [n = language.number](const Shell& s) { return s.state().language_index == n; }});
  }
  add({kMenuBackgroundColour, P::kOptions, "LANG_OPTIONS_BACKCOLOR$", {}, {}, false, false,
       [](Shell& s) { s.ChooseBackground(); }});
  add({kMenuSwapView, P::kOptions, "LANG_OPTIONS_SWAPVIEW$", {},
       Keys{QKeySequence(Qt::CTRL | Qt::Key_R)}, true, false, [](Shell& s) { s.SwapView(); }, {},
       [](const Shell& s) { return s.state().swap_view == 1; }});
  add({kMenuFollowChanges, P::kOptions, "LANG_OPTIONS_FOLLOW$", {}, {}, true, false,
       [](Shell& s) { s.SetFollowChanges(!s.preferences().follow_changes); }, {},
       [](const Shell& s) { return s.preferences().follow_changes; }});
  for (int n = 0; n < preview::kScreenCount; ++n) {
    // Screens 1 to 9 on Ctrl and their digit, 10 to 14 on Alt and their last digit.
    const QKeySequence keys = n < 9 ? QKeyCombination(Qt::CTRL, Qt::Key(Qt::Key_1 + n))
                                    : QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_0 + n - 9));
    add({kMenuFirstScreen + n, P::kScreen, StoredKey(i18n::ScreenNameKey(n)), {}, Keys{keys}, true, false,
         [n](Shell& s) {
           s.SelectScreen(n);
           s.RedrawPreview();
         },
         {}, [n](const Shell& s) { return s.state().selected_screen == n; }});
  }
  add({kMenuUserGuide, P::kAbout, "LANG_ABOUT_LINK$", {}, Keys{QKeySequence(Qt::Key_F1)}, false,
       false, [](Shell& s) { s.ShowUserGuide(); },
       [](const Shell& s) { return !s.folders().user_guide.empty(); }});
  add({kMenuInformation, P::kAbout, "LANG_ABOUT_ABOUT$", {}, {}, false, false,
       [](Shell& s) { s.ShowInformation(); }});
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

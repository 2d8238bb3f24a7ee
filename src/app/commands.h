// The editor's commands as one table: what the user can invoke from the menus and keys, with its
// fixed number, text, keys, place in the menus, and what it runs.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include "app/editor_host.h"
#include "app/skin_files.h"
#include "app/workspace.h"
#include "i18n/data_folders.h"
#include "session/skin_session.h"

namespace app {

// The commands the shell runs itself: steps, language, layout and help.
class EditorCommands {
 public:
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void UseLanguage(int number) = 0;
  virtual void ChooseBackground() = 0;
  virtual void SwapView() = 0;
  virtual void SetFollowChanges(bool follow) = 0;
  virtual void ShowScreen(int screen) = 0;
  virtual void ShowUserGuide() = 0;
  virtual void ShowInformation() = 0;

 protected:
  ~EditorCommands() = default;
};

// What the commands act on, and what their enabled states and check marks read.
struct CommandTargets {
  EditorCommands& editor;
  SkinFiles& files;
  Workspace& workspace;
  const ShellState& state;
  const session::SkinSession& session;
  const i18n::DataFolders& folders;
};

// Where a command sits: a menu, a submenu, or no menu (a key of the window).
enum class MenuPlace {
  kFile,
  kFileOpen,
  kFileRecent,
  kFileSave,
  kFileScreenshot,
  kEdit,
  kView,
  kLanguage,
  kOptions,
  kScreen,
  kAbout,
  kWindowKey,
};

struct Command {
  int id;  // the fixed number its events carry
  MenuPlace place;
  // The item's text: a language key, or a text that is not translated ("*.zip", a language's own
  // name). Both empty where the shell names the item (Undo, Redo, the recent skins).
  std::string_view text_key;
  QString fixed_text;
  QList<QKeySequence> keys;
  bool checkable = false;
  bool separator_before = false;
  std::function<void(const CommandTargets&)> run = {};
  std::function<bool(const CommandTargets&)> enabled = {};  // empty: always
  std::function<bool(const CommandTargets&)> checked = {};  // for a checkable command
};

// Every command, in the order the menus list them.
std::span<const Command> Commands();
// The command with fixed number `id`, or nullptr.
const Command* FindCommand(int id);

}  // namespace app

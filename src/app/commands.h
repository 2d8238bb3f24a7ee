// The editor's commands as one table: what the user can invoke from the menus and keys, with its
// fixed number, text, keys, place in the menus, and what it runs.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <span>
#include <string_view>

namespace app {

class Shell;

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
  std::function<void(Shell&)> run = {};
  std::function<bool(const Shell&)> enabled = {};  // empty: always
  std::function<bool(const Shell&)> checked = {};  // for a checkable command
};

// Every command, in the order the menus list them.
std::span<const Command> Commands();
// The command with fixed number `id`, or nullptr.
const Command* FindCommand(int id);

}  // namespace app

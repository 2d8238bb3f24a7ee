// Keyboard mnemonics for the menus, chosen from whatever texts the language gives them: Alt and
// the underlined letter opens a menu or picks an item.
#pragma once

#include <QSet>
#include <QString>

#include "i18n/ui_texts.h"

class QWidget;

namespace app {

// `text` with its "&" doubled and one mnemonic marked: the first letter not in `used` that starts
// a word, else any such letter. A text without one (written in another script) gets "(&X)"
// before its closing "..." with the first free letter of `hint` (its English text), as Chinese
// and Japanese menus do. `used` gains the letter; the text stays without mnemonic when none is
// free.
QString WithMnemonic(const QString& text, const QString& hint, QSet<QChar>& used);

// Gives the entries of the menu bar `bar`, and the items of each of its menus and sub-menus,
// mnemonics of their own within their menu. The English hint of a text is the built-in text of
// the key whose current text it is.
void AddMnemonics(QWidget* bar, const i18n::UiTexts& texts);

}  // namespace app

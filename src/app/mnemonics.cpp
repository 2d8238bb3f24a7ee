// Menu mnemonics.
#include "app/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {
namespace {

bool IsAsciiLetter(QChar c) { return c.toLower() >= 'a' && c.toLower() <= 'z'; }

// The index of the first free ASCII letter of `text`, preferring the start of a word; -1 if none.
qsizetype FreeLetter(const QString& text, const QSet<QChar>& used) {
  for (bool word_start : {true, false}) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (!IsAsciiLetter(c) || used.contains(c.toLower())) continue;
      if (word_start && i > 0 && text[i - 1].isLetterOrNumber()) continue;
      return i;
    }
  }
  return -1;
}

// The English text behind `shown`: the built-in text of the first key that currently reads so.
QString EnglishOf(const QString& shown, const i18n::UiTexts& texts) {
  const std::string wanted = shown.toStdString();
  for (const i18n::TextKey& key : i18n::AllTextKeys()) {
    if (texts.Text(key.key) == wanted) return QString::fromStdString(i18n::BuiltInText(key.key));
  }
  return {};
}

void AddMnemonicsTo(const QList<QAction*>& actions, const i18n::UiTexts& texts) {
  QSet<QChar> used;
  for (QAction* action : actions) {
    if (action->isSeparator() || action->text().isEmpty()) continue;
    const QString text = action->text();
    action->setText(WithMnemonic(text, EnglishOf(text, texts), used));
    if (QMenu* menu = action->menu()) AddMnemonicsTo(menu->actions(), texts);
  }
}

}  // namespace

QString WithMnemonic(const QString& text, const QString& hint, QSet<QChar>& used) {
  QString escaped = text;
  escaped.replace('&', QStringLiteral("&&"));
  const qsizetype at = FreeLetter(text, used);
  if (at >= 0) {
    used.insert(text[at].toLower());
    // Each "&" before the letter has become two.
    const qsizetype shift = text.left(at).count('&');
    return escaped.insert(at + shift, '&');
  }
  const qsizetype from_hint = FreeLetter(hint, used);
  if (from_hint < 0) return escaped;
  const QChar letter = hint[from_hint].toUpper();
  used.insert(letter.toLower());
  qsizetype end = escaped.size();
  for (const QString& dots : {QStringLiteral("..."), QStringLiteral("\u2026")}) {
    if (escaped.endsWith(dots)) end = escaped.size() - dots.size();
  }
  return escaped.insert(end, QStringLiteral("(&") + letter + ')');
}

void AddMnemonics(QWidget* bar, const i18n::UiTexts& texts) {
  AddMnemonicsTo(bar->actions(), texts);
}

}  // namespace app

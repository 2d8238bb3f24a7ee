// The Check tab: what the skin check found, one row a finding, and the quick fix of the finding
// chosen. Choosing a row hands the finding to the shell, which shows where it is; a double click
// or Enter asks for the gadget that edits it too. The tab stays in front for the quick fix.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "i18n/ui_texts.h"
#include "session/skin_check.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace app {

// The message of a finding in the current language.
QString FindingText(const session::Finding& finding, const i18n::UiTexts& texts);

class CheckPanel : public QWidget {
 public:
  struct Events {
    // A row chosen; `reveal`: by a double click or Enter, which asks for its gadget as well.
    std::function<void(const session::Finding&, bool reveal)> chosen;
    std::function<void(const session::Finding&)> fix;  // the quick fix button
  };
  CheckPanel(const i18n::UiTexts& texts, Events events, QWidget* parent = nullptr);

  // Shows `findings` in place of the list shown; the row chosen stays chosen where its finding is
  // still there, and where it is gone (fixed) the finding after it is chosen.
  void ShowFindings(std::vector<session::Finding> findings);
  const std::vector<session::Finding>& findings() const { return findings_; }

  QListWidget* list() const { return list_; }
  QPushButton* fix_button() const { return fix_; }

 private:
  void UpdateFix();
  void Choose(int row, bool reveal);
  bool eventFilter(QObject* watched, QEvent* event) override;

  const i18n::UiTexts& texts_;
  Events events_;
  std::vector<session::Finding> findings_;
  QListWidget* list_ = nullptr;
  QLabel* empty_ = nullptr;
  QPushButton* fix_ = nullptr;
};

}  // namespace app

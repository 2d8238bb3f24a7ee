// The Check tab: what the skin check found, one row a finding, and the quick fix of the finding
// chosen. A row's click hands the finding to the shell, which shows where it is.
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

// Whether a finding has a quick fix, and the language key of its button's text ("" for none).
std::string_view FixTextKey(const session::Finding& finding);

class CheckPanel : public QWidget {
 public:
  struct Events {
    std::function<void(const session::Finding&)> chosen;  // a row clicked or activated
    std::function<void(const session::Finding&)> fix;     // the quick fix button
  };
  CheckPanel(const i18n::UiTexts& texts, Events events, QWidget* parent = nullptr);

  // Shows `findings` in place of the list shown; the row chosen stays chosen where its finding is
  // still there.
  void ShowFindings(std::vector<session::Finding> findings);
  const std::vector<session::Finding>& findings() const { return findings_; }

  QListWidget* list() const { return list_; }
  QPushButton* fix_button() const { return fix_; }

 private:
  void UpdateFix();

  const i18n::UiTexts& texts_;
  Events events_;
  std::vector<session::Finding> findings_;
  QListWidget* list_ = nullptr;
  QLabel* empty_ = nullptr;
  QPushButton* fix_ = nullptr;
};

}  // namespace app

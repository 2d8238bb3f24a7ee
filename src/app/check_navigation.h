// The check of the skin as the editor runs it: again once the edits pause, its findings on the
// Check tab with their count in the status bar, a finding chosen there shown on its screen and
// framed, and its quick fix as one step.
#pragma once

#include <QTimer>

#include "app/check_panel.h"
#include "app/editor_host.h"
#include "app/import_flow.h"
#include "i18n/ui_texts.h"
#include "session/skin_check.h"
#include "session/skin_session.h"

namespace app {

class CheckNavigation {
 public:
  // How long the edits must pause before the skin is checked again.
  static constexpr int kPauseMs = 250;

  // A quick fix that fits a picture anew runs the studio of `imports`.
  CheckNavigation(EditorHost& host, session::SkinSession& session, const i18n::UiTexts& texts,
                  const ShellState& state, ImportFlow& imports);

  // What the Check tab's choices reach.
  CheckPanel::Events Choices();
  // Checks the skin now and shows the findings (the Check tab, the status bar's count).
  void Run();
  // After an edit: a change of the skin has it checked again once the edits pause.
  void Apply(const session::Changes& changes);
  // A finding chosen on the Check tab: its screen is shown and its place framed on the preview;
  // with `reveal`, the gadget that edits it is framed and given the focus, on its own tab.
  void Show(const session::Finding& finding, bool reveal = true);
  // The quick fix of a finding, as one step.
  void Fix(const session::Finding& finding);

 private:
  std::string Text(std::string_view key) const { return texts_.Text(key); }

  EditorHost& host_;
  session::SkinSession& session_;
  const i18n::UiTexts& texts_;
  const ShellState& state_;
  ImportFlow& imports_;
  QTimer timer_;  // the check waits for a pause in the edits
};

}  // namespace app

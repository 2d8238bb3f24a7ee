// The check of the skin and its navigation.
#include "app/check_navigation.h"

#include <new>
#include <optional>

#include "app/main_window.h"
#include "app/panel_tables.h"

namespace app {

CheckNavigation::CheckNavigation(EditorHost& host, session::SkinSession& session,
                                 const i18n::UiTexts& texts, const ShellState& state,
                                 ImportFlow& imports)
    : host_(host), session_(session), texts_(texts), state_(state), imports_(imports) {
  timer_.setSingleShot(true);
  timer_.setInterval(kPauseMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Run(); });
}

void CheckNavigation::Apply(const session::Changes& changes) {
  if (changes.Document()) timer_.start();
}

CheckPanel::Events CheckNavigation::Choices() {
  return {[this](const session::Finding& finding, bool reveal) { Show(finding, reveal); },
          [this](const session::Finding& finding) { Fix(finding); }};
}

void CheckNavigation::Run() {
  timer_.stop();
  std::vector<session::Finding> findings;
  try {
    findings = session::CheckSkin(session_.document());
  } catch (const std::bad_alloc&) {
    return;  // the check is advice: without memory for it the editor goes on without it
  }
  int errors = 0;
  for (const session::Finding& finding : findings) {
    errors += finding.severity == session::Severity::kError;
  }
  const int warnings = static_cast<int>(findings.size()) - errors;
  const auto counted = [this](int n, std::string_view one, std::string_view many) {
    return n == 1 ? Text(one) : i18n::FormatText(Text(many), {std::to_string(n)});
  };
  const QString count =
      findings.empty()
          ? QString()
          : QString::fromStdString(i18n::FormatText(
                Text("LANG_CHECK_TOTALS$"),
                {counted(errors, "LANG_CHECK_ONE_ERROR$", "LANG_CHECK_ERRORS$"),
                 counted(warnings, "LANG_CHECK_ONE_WARNING$", "LANG_CHECK_WARNINGS$")}));
  host_.window()->ShowFindings(std::move(findings), count, errors);
}

void CheckNavigation::Show(const session::Finding& finding, bool reveal) {
  const BusyScope busy(host_.busy());
  // The gadget that edits what the finding concerns, on `screen`'s panel.
  const auto gadget_on = [&](int screen) {
    if (finding.field) return GadgetOf(*finding.field);
    if (finding.slot) return GadgetOf(*finding.slot);
    if (finding.colour) return GadgetOf(*finding.colour, screen);
    if (finding.section) {
      for (std::size_t f = 0; f < skin::kFieldCount; ++f) {
        const auto field = static_cast<skin::FieldId>(f);
        if (skin::kFields[f].section == *finding.section && GadgetOf(field) != 0) {
          return GadgetOf(field);
        }
      }
    }
    return 0;
  };
  // The first screen where it shows, or better one whose panel can edit it.
  int screen = -1;
  for (int n = 0; n < preview::kScreenCount; ++n) {
    if (!finding.screens[static_cast<std::size_t>(n)]) continue;
    if (screen < 0) screen = n;
    if (ScreenOfGadget(gadget_on(n)) == n) {
      screen = n;
      break;
    }
  }
  if (screen < 0) screen = state_.selected_screen;
  if (screen != state_.selected_screen) host_.ShowScreen(screen);
  const session::CanvasRect& r = finding.rect;
  host_.window()->preview()->SetMark(r.width > 0 && r.height > 0
                                         ? std::optional<QRect>(QRect(r.x, r.y, r.width, r.height))
                                         : std::nullopt);
  const int gadget = gadget_on(screen);
  if (gadget == 0 || !reveal) return;
  host_.window()->PointToGadget(gadget, true);
}

void CheckNavigation::Fix(const session::Finding& finding) {
  const BusyScope busy(host_.busy());
  if (const std::optional<session::QuickFix> fix =
          session::QuickFixOf(session_.document(), finding)) {
    // The studio, aimed at the size the slot's place is made for.
    if (fix->fit_picture) imports_.Adjust(*fix->fit_picture, true);
    host_.Apply(session_.ApplyFix(*fix));
  }
  Run();
}

}  // namespace app

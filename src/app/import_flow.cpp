// The import flow.
#include "app/import_flow.h"

#include <QApplication>
#include <algorithm>
#include <new>

#include "app/fixed_numbers.h"
#include "app/main_window.h"
#include "app/panel_tables.h"
#include "app/preview_view.h"
#include "app/window_feedback.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "session/import_plan.h"
#include "session/skin_check.h"
#include "skin/skin_loader.h"

namespace app {
namespace {

// The wait cursor while a large picture is decoded and prepared, which may take half a second.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

ImportFlow::ImportFlow(EditorHost& host, UserDialogs& dialogs, session::SkinSession& session,
                       const i18n::UiTexts& texts, const ShellState& state)
    : host_(host),
      dialogs_(dialogs),
      session_(session),
      texts_(texts),
      state_(state),
      sources_([&host] { return host.ReadyForReload(); },
               [this](const std::vector<FileWatcher::Change>& changes) {
                 ReimportChangedSources(changes);
               }) {}

void ImportFlow::SetFollowing(bool follow) {
  following_ = follow;
  FollowSources();
}

void ImportFlow::Apply(const session::Changes& changes) {
  if (changes.slots.any()) FollowSources();
}

void ImportFlow::Choose(skin::SlotId slot) {
  const BusyScope busy(host_.busy());
  // The first filter, chosen at first, lists every picture a drop takes too.
  std::string pictures;
  for (const std::string_view extension : kPictureExtensions)
    pictures += (pictures.empty() ? "*." : " *.") + std::string(extension);
  const std::string chosen = dialogs_.ChooseOpenFile(
      Text("LANG_REQFILE_LOAD$"), skin::ProposedImportName(state_.last_path, slot),
      "Bitmap (" + pictures +
          ");;Portable Network Graphic (*.png);;JPEG - JFIF Compliant (*.jpg *.jpeg *.jpe)");
  if (chosen.empty()) return;
  ImportFile(slot, chosen);
}

void ImportFlow::ImportFile(skin::SlotId slot, const std::string& path) {
  const BusyScope busy(host_.busy());
  const auto plan_for = [this, slot](int width, int height) {
    return session::PlanImport(session_.document(), slot, width, height, nullptr,
                               session::ImportIntent::kNewPicture);
  };
  std::optional<imaging::DecodedForFit> picture = ReadSource(
      slot, path, [&](int width, int height) { return plan_for(width, height).settings; });
  if (!picture) return;
  const session::ImportPlan plan = plan_for(picture->source_width, picture->source_height);
  if (plan.open_studio) {
    RunStudio(slot, path, std::move(*picture), plan.settings);
    return;
  }
  try {
    TakeImport(
        slot, path, plan.settings,
        imaging::FitSource(std::move(*picture->picture), plan.settings.key).Fit(plan.settings));
  } catch (const std::bad_alloc&) {
    host_.ReportOutOfMemory();
  }
}

std::optional<imaging::DecodedForFit> ImportFlow::ReadSource(skin::SlotId slot,
                                                             const std::string& path,
                                                             const imaging::FitPlanFor& plan) {
  WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), host_.window()->progress());
  std::optional<imaging::DecodedForFit> picture;
  {
    const WaitCursor wait;
    picture = skin::ReadPictureForFit(path, plan, true, host_.Messages(), feedback,
                                      skin::PictureBudgetFor(session_.document(), slot));
  }
  if (!picture) host_.Report("LANG_STATUS_NOT_IMPORTED$", {path});
  return picture;
}

void ImportFlow::TakeImport(skin::SlotId slot, const std::string& path,
                            const imaging::FitSettings& settings, imaging::Image fitted) {
  const session::Changes changes =
      path.empty() ? session_.SetPicture(slot, std::move(fitted))
                   : session_.ImportFitted(slot, {path, settings}, std::move(fitted));
  host_.Apply(changes);
  if (!changes.Document()) host_.RedrawPreview();
  host_.Report(
      "LANG_STATUS_IMPORTED$",
      {path.empty() ? std::string(skin::Info(slot).BaseName()) : path, skin::Info(slot).file});
}

void ImportFlow::RunStudio(skin::SlotId slot, const std::string& path,
                           imaging::DecodedForFit picture, imaging::FitSettings settings,
                           const std::string& missing_source) {
  const BusyScope busy(host_.busy());
  const std::string name(skin::Info(slot).BaseName());
  try {
    std::optional<WaitCursor> wait(std::in_place);
    const std::pair<int, int> file_size{picture.source_width, picture.source_height};
    imaging::FitSource source(std::move(picture), settings.key,
                              skin::PictureBudgetFor(session_.document(), slot));
    wait.reset();
    StudioRequest request;
    request.title = i18n::FormatText(Text("LANG_STUDIO_TITLE$"), {name});
    request.source_name = path.empty() ? name : std::string(base::FileNameOf(path));
    request.source_width = file_size.first;
    request.source_height = file_size.second;
    request.source = &source;
    request.settings = settings;
    request.expected = {skin::Info(slot).expected_width, skin::Info(slot).expected_height};
    const imaging::Image& current = session_.document().Slot(slot);
    request.current = {current.width, current.height};
    request.keyless = session::DrawnWithoutKey(slot);
    request.missing_source = base::DisplayPath(missing_source);
    request.colours = state_.screen_colours;
    ShowScreenOf(slot);
    // The preview shows each picture the studio makes in its place, under whatever covers it.
    const std::optional<imaging::FitSettings> chosen =
        dialogs_.RunImportStudio(request, [this, slot](const imaging::Image& fitted) {
          skin::SkinDocument trial = session_.document();
          trial.SetSlot(slot, fitted);
          host_.ShowPreviewOf(trial, state_.bg_color);
        });
    if (!chosen) {
      host_.RedrawPreview();
      return;
    }
    TakeImport(slot, path, *chosen, source.Fit(*chosen));
  } catch (const std::bad_alloc&) {
    host_.ReportOutOfMemory();
    host_.RedrawPreview();
  }
}

void ImportFlow::Adjust(skin::SlotId slot, bool to_expected) {
  const BusyScope busy(host_.busy());
  const session::ImportRecipe* recipe = session_.RecipeOf(slot);
  // A source that is gone is said so in the studio, which then fits the slot's own picture.
  std::string missing;
  if (recipe && base::KindOf(recipe->path) == base::FileKind::kMissing) {
    missing = recipe->path;
    recipe = nullptr;
  }
  const std::string path = recipe ? recipe->path : std::string();
  std::optional<imaging::DecodedForFit> picture;
  const auto intent =
      to_expected ? session::ImportIntent::kAdjustToExpected : session::ImportIntent::kAdjust;
  if (recipe) {
    picture = ReadSource(slot, path, [&](int width, int height) {
      return session::PlanImport(session_.document(), slot, width, height, recipe, intent).settings;
    });
    if (!picture) return;
  } else {
    // No file to go back to: the studio fits the picture the slot holds.
    const imaging::Image& own = session_.document().Slot(slot);
    if (own.Empty()) return;
    picture.emplace();
    picture->picture = imaging::Image(own);
    picture->source_width = own.width;
    picture->source_height = own.height;
  }
  const session::ImportPlan plan = session::PlanImport(
      session_.document(), slot, picture->source_width, picture->source_height, recipe, intent);
  RunStudio(slot, path, std::move(*picture), plan.settings, missing);
}

void ImportFlow::ShowScreenOf(skin::SlotId slot) {
  const int screen = ScreenOfGadget(GadgetOf(slot));
  if (screen < 0 || screen == state_.selected_screen) return;
  host_.ShowScreen(screen);
}

void ImportFlow::FollowSources() {
  std::vector<std::string> wanted;
  if (following_) {
    for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
      const session::ImportRecipe* recipe = session_.RecipeOf(static_cast<skin::SlotId>(s));
      if (recipe != nullptr &&
          std::find(wanted.begin(), wanted.end(), recipe->path) == wanted.end()) {
        wanted.push_back(recipe->path);
      }
    }
  }
  sources_.Watch(std::move(wanted));
}

void ImportFlow::ReimportChangedSources(const std::vector<FileWatcher::Change>& changes) {
  const BusyScope busy(host_.busy());
  // A file that has gone is imported again too, which says that it is missing.
  std::vector<std::string> changed;
  for (const FileWatcher::Change& change : changes) {
    changed.push_back(sources_.files()[change.index]);
  }
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    const auto slot = static_cast<skin::SlotId>(s);
    const session::ImportRecipe* recipe = session_.RecipeOf(slot);
    if (recipe == nullptr ||
        std::find(changed.begin(), changed.end(), recipe->path) == changed.end()) {
      continue;
    }
    const std::string path = recipe->path;
    WindowFeedback feedback(dialogs_, Text("LANG_ERROR$"), host_.window()->progress());
    const session::SkinSession::Imported imported =
        session_.Reimport(slot, host_.Messages(), feedback);
    host_.Apply(imported.changes);
    if (imported.imported) host_.Report("LANG_STATUS_REIMPORTED$", {path, skin::Info(slot).file});
  }
}

}  // namespace app

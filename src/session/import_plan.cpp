// The import plan.
#include "session/import_plan.h"

#include "session/skin_check.h"

namespace session {

imaging::FitSettings FirstImportSettings(const skin::SkinDocument& doc, skin::SlotId slot) {
  imaging::FitSettings settings;
  const imaging::Image& current = doc.Slot(slot);
  settings.width = current.Empty() ? skin::Info(slot).expected_width : current.width;
  settings.height = current.Empty() ? skin::Info(slot).expected_height : current.height;
  settings.fill = DrawnWithoutKey(slot) ? 0 : imaging::kKeyColour;
  return settings;
}

ImportPlan PlanImport(const skin::SkinDocument& doc, skin::SlotId slot, int source_width,
                      int source_height, const ImportRecipe* recipe, ImportIntent intent) {
  ImportPlan plan{true, FirstImportSettings(doc, slot)};
  imaging::FitSettings& settings = plan.settings;
  if (intent == ImportIntent::kNewPicture) {
    if (source_width == settings.width && source_height == settings.height)
      plan = {false, imaging::KeptAsItIs()};
    return plan;
  }
  if (recipe != nullptr) settings = recipe->settings;
  if (settings.width <= 0 || settings.height <= 0) {
    settings.width = source_width;
    settings.height = source_height;
  }
  if (intent == ImportIntent::kAdjustToExpected) {
    settings.width = skin::Info(slot).expected_width;
    settings.height = skin::Info(slot).expected_height;
    if (settings.mode == imaging::FitMode::kKeep) settings.mode = imaging::FitMode::kCover;
  }
  return plan;
}

}  // namespace session

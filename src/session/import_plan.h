// What an import does with a picture: take it as it is, or open the import studio, and with which
// settings. The editor's import and Adjust import and the command-line import share these rules.
#pragma once

#include "imaging/picture_fit.h"
#include "session/skin_session.h"
#include "skin/skin_document.h"
#include "skin/skin_tables.h"

namespace session {

// The settings a new picture for `slot` of `doc` starts from: cover, aimed at the size of the
// slot's picture (its expected size when it holds none), filling around a contained picture with
// the key colour where the slot is keyed and with black where key green would show.
imaging::FitSettings FirstImportSettings(const skin::SkinDocument& doc, skin::SlotId slot);

enum class ImportIntent {
  kNewPicture,        // a picture chosen or dropped for the slot
  kAdjust,            // Adjust import: the studio again, as the picture was made
  kAdjustToExpected,  // the same, aimed at the size the slot's place is made for
};

struct ImportPlan {
  bool open_studio = false;  // else the picture is taken with `settings` at once
  imaging::FitSettings settings;

  friend bool operator==(const ImportPlan&, const ImportPlan&) = default;
};

// The plan for a picture of `source_width` x `source_height` imported into `slot` of `doc` with
// `intent`. `recipe` is what the slot's picture was made with, if known. A new picture of the
// size it is aimed at is kept as it is; any other opens the studio on FirstImportSettings. Adjust
// import always opens the studio, on the recipe's settings (else the first ones); a picture that
// had no target is aimed at its own size, and kAdjustToExpected aims at the slot's expected size,
// covering where the picture was kept at its own.
ImportPlan PlanImport(const skin::SkinDocument& doc, skin::SlotId slot, int source_width,
                      int source_height, const ImportRecipe* recipe, ImportIntent intent);

}  // namespace session

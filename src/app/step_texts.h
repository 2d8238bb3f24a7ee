// The words that name an edit: what an Undo or Redo item reads as ("Undo Move [start button]"),
// and the names of the sections and subjects it speaks of.
#pragma once

#include <string>
#include <string_view>

#include "i18n/ui_texts.h"
#include "session/skin_history.h"
#include "skin/skin_tables.h"

namespace app {

// A section's name as the settings file heads it: "[start button]".
std::string SectionName(skin::SectionId section);

// What a step's subject reads as: a field as its section and key, a colour or slot by its key or
// file name, an information text by its caption in `texts`.
std::string StepSubject(const session::StepLabel::Subject& subject, const i18n::UiTexts& texts);

// The text of an Undo or Redo item (`item_key`, whose %1 is the step) for a step's label.
std::string StepItemText(const i18n::UiTexts& texts, std::string_view item_key,
                         const session::StepLabel& label);

}  // namespace app

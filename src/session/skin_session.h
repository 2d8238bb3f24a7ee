// SkinSession: the skin being edited, where it comes from and its history. Its typed edits are the
// only writers of the document; each returns what it changed, so that a front end refreshes just
// that.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "imaging/image.h"
#include "imaging/picture_fit.h"
#include "session/import_recipes.h"
#include "session/skin_check.h"
#include "session/skin_history.h"
#include "skin/feedback.h"
#include "skin/messages.h"
#include "skin/skin_document.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"

namespace session {

// What an edit changed.
struct Changes {
  std::bitset<skin::kFieldCount> fields;
  std::bitset<skin::kColourCount> colours;
  std::bitset<skin::kInfoFields.size()> info;
  std::bitset<skin::kSlotCount> slots;
  // The folder the skin comes from, the name it goes by, or the state it was last saved in: the
  // title, the modified mark and the followed folder may need showing anew.
  bool origin = false;

  bool Document() const { return fields.any() || colours.any() || info.any() || slots.any(); }
  bool Any() const { return Document() || origin; }
  Changes& operator|=(const Changes& other);
  // What differs between two states of a document.
  static Changes Between(const skin::SkinDocument& a, const skin::SkinDocument& b);
};

// One file of a skin folder: uisettings.ini (no slot) or the picture of a slot.
struct SkinFile {
  std::optional<skin::SlotId> slot;
  std::string name;  // relative to the folder: "uisettings.ini", "btn.bmp", "icon/nds.bmp"

  // The files of a skin folder in the order they are loaded: uisettings.ini, then the slots.
  static SkinFile At(std::size_t index);
  static constexpr std::size_t kCount = 1 + skin::kSlotCount;
};

class SkinSession {
 public:
  // Starts on the built-in default skin, which counts as opened: nothing is unsaved. The history
  // keeps pictures and texts of earlier states within `history_budget` bytes.
  explicit SkinSession(std::uint64_t history_budget = skin::kPictureMemoryBudget);

  const skin::SkinDocument& document() const { return doc_; }
  // The folder the skin was opened from or last saved to, with a trailing separator; "" for the
  // default skin and a skin from an archive.
  const std::string& folder() const { return origin_.folder; }
  // The name the skin goes by: its folder's or archive's name; "" for a new skin.
  const std::string& name() const { return origin_.name; }
  // Whether the document differs from what was last opened or saved, or the last save left the
  // skin's folder without some of its files.
  bool Modified() const { return origin_.incomplete || !(doc_ == origin_.saved); }
  const SkinHistory& history() const { return history_; }

  // The edits of one value. A run of edits of the same field or information text merges into
  // one step (the arrow clicks of a spin, the letters typed into a text); an edit that changes
  // nothing makes no step and reports no change.
  Changes SetField(skin::FieldId field, std::int32_t value);
  Changes SetColour(skin::ColourId colour, imaging::Rgb value);
  Changes SetInfo(skin::InfoId info, std::string text);
  // Several fields as one step named `label`; steps with the same `merge` in a row merge (the
  // moves of one drag on the preview).
  using FieldValue = session::FieldValue;
  Changes SetFields(std::span<const FieldValue> values, StepLabel label, MergeKey merge);
  // Makes a finding's quick fix (QuickFixOf) as one step of its own: its fields together, or its
  // colour. A picture to fit again is left to the front end's import; it changes nothing here.
  Changes ApplyFix(const QuickFix& fix);

  // Imports the picture file at `path` into `slot` as one step, fitted with `settings`
  // (skin::ReadFittedPicture; by default as a picture has always been imported), and remembers
  // the recipe. A file that cannot be taken is reported through `feedback` and the slot keeps its
  // picture.
  struct Imported {
    Changes changes;
    bool imported = false;
  };
  Imported Import(skin::SlotId slot, const std::string& path, const skin::MessageTexts& texts,
                  skin::Feedback& feedback,
                  const imaging::FitSettings& settings = imaging::KeptAsItIs());
  // Puts a picture made elsewhere into `slot` as one import step.
  Changes SetPicture(skin::SlotId slot, imaging::Image picture);
  // Puts `picture`, which `recipe` made of its file, into `slot` as one import step, and remembers
  // the recipe with it.
  Changes ImportFitted(skin::SlotId slot, ImportRecipe recipe, imaging::Image picture);
  // How the slot's picture was imported, while the slot holds the very picture that import made
  // (an undo back past it forgets the recipe until a redo brings the picture back); else null.
  const ImportRecipe* RecipeOf(skin::SlotId slot) const;
  // Makes the slot's picture again from its recipe's file, as it is on disk now, with the same
  // settings, as one import step. Nothing when the slot has no recipe; a file that cannot be
  // taken is reported through `feedback` and changes nothing.
  Imported Reimport(skin::SlotId slot, const skin::MessageTexts& texts, skin::Feedback& feedback);
  // Puts the slot's built-in picture back as one step; nothing when the slot holds it already.
  Changes RevertPicture(skin::SlotId slot);
  // The file an image editor may open to change the slot's picture: the slot's file in the skin's
  // folder, while that folder is still the skin's (MaySaveInPlace) and the file holds what the
  // slot shows (the slot has no unsaved change). What the editor saves there comes back through
  // the live link as any change on disk does.
  struct PictureFile {
    enum class Problem { kNone, kNoFolder, kUnsaved };
    std::string path;
    Problem problem = Problem::kNone;
  };
  PictureFile PictureFileOf(skin::SlotId slot) const;

  // The default skin as one step; the skin then has no folder and no name, and counts as saved.
  Changes NewSkin();
  // Opens the skin folder or archive at `path` as one step whose undo gives back the skin open
  // before it, with its folder and name. A skin that could not be opened (the no-skin message)
  // changes nothing. The import recipes of a folder's pictures (kRecipeFileName) are remembered
  // for the pictures they made; a recipe file that cannot be read, or not all of it, is reported
  // through `feedback`, and the skin opens all the same.
  struct Opened {
    Changes changes;
    bool opened = false;
  };
  Opened Open(const std::string& path, bool zip, const skin::LoadOptions& options,
              skin::Feedback& feedback);

  // Saves the skin into `folder` (skin::SaveSkin). Once its settings file is written there the
  // folder is the skin's, with its name, and what was written is the saved state; a save that
  // missed some files leaves the skin modified. Without the settings file the skin stays where it
  // was, and only the pictures written into its own folder count as saved. With the settings file
  // the import recipes of the pictures written go into the folder's recipe file, replacing what
  // it held; where no picture has a recipe and the folder has no such file, none is made. A
  // recipe file that cannot be written is reported; the save counts all the same.
  struct Saved {
    Changes changes;
    int written = 0;
    bool complete = false;
  };
  Saved Save(const std::string& folder, const skin::SaveOptions& options, skin::Feedback& feedback);
  // Whether the skin may be saved into folder() without asking: its path still names the very
  // folder the skin was opened from or last saved to. False without a folder, and when the folder
  // is gone or its path now leads elsewhere (it was moved, or replaced by another folder or by a
  // link to one), so that a save there would overwrite another skin.
  bool MaySaveInPlace() const;
  // Writes the skin as a ZIP archive (skin::ExportSkinZip) with `preview` as its contact sheet.
  // The document counts as saved only for a skin opened from that very archive: a skin's folder
  // still holds what it held.
  struct Exported {
    Changes changes;
    bool saved = false;
  };
  Exported Export(const std::string& zip_path, const imaging::Image& preview,
                  const skin::SaveOptions& options, skin::Feedback& feedback);

  // Whether the document holds unsaved changes to what `file` holds: for uisettings.ini any
  // setting, colour or information text, for a picture that slot.
  bool HasUnsavedChangesTo(const SkinFile& file) const;
  // Takes `file` of the skin's folder as it is on disk now. With `take_into_document` its content
  // replaces the document's as one step; without, the document keeps its own version. Either way
  // the saved state takes the file's content, because the disk now holds it: a skin without
  // other unsaved changes then has none, and one whose version differs from the disk's stays
  // modified. Returns "" when done, else the message why not (nothing changed); for
  // uisettings.ini, `texts` holds the settings file's own text for kTooLarge.
  struct Reloaded {
    Changes changes;
    std::string problem;
  };
  Reloaded Reload(const SkinFile& file, bool take_into_document, int code_page,
                  const skin::MessageTexts& texts);

  Changes Undo();
  Changes Redo();

 private:
  // Records the step from `before` to the document as it is now; nothing when they are equal.
  Changes Record(const skin::SkinDocument& before, StepLabel label, MergeKey merge = {});
  // Gives the document `next` as one step that also gives it a new origin.
  Changes Move(skin::SkinDocument next, SkinOrigin origin, StepLabel label);
  Changes StepThroughHistory(bool redo);

  skin::SkinDocument doc_;
  SkinOrigin origin_;
  SkinHistory history_;
  // Remembers that `recipe` made the picture `slot` holds now.
  void Remember(skin::SlotId slot, ImportRecipe recipe);
  // Reads the recipe file of the skin folder just opened.
  void ReadRecipes(const skin::MessageTexts& texts, skin::Feedback& feedback);
  // Writes the recipes of the pictures just written into `folder`.
  void WriteRecipes(const std::string& folder, const skin::SavedFiles& files,
                    const skin::MessageTexts& texts, skin::Feedback& feedback) const;

  // The imports of each slot with the pictures they made, as long as some state of the document
  // holds those pictures (an undo or redo may bring one back).
  struct MadePicture {
    ImportRecipe recipe;
    imaging::SharedImage::Witness picture;
  };
  std::array<std::vector<MadePicture>, skin::kSlotCount> recipes_;
};

}  // namespace session

// The typed edits of the skin being edited, its origin and its history.
#include "session/skin_session.h"

#include <new>
#include <utility>

#include "base/file_io.h"
#include "base/paths.h"
#include "skin/settings_reader.h"
#include "skin/skin_export.h"

namespace session {
namespace {

// The last component of a folder or file path: the name a skin is known by.
std::string SkinName(const std::string& path) { return std::string(base::FileNameOf(path)); }

// The part of a document that uisettings.ini holds.
bool SameSettings(const skin::SkinDocument& a, const skin::SkinDocument& b) {
  return a.info == b.info && a.colours == b.colours && a.fields == b.fields;
}

}  // namespace

Changes& Changes::operator|=(const Changes& other) {
  fields |= other.fields;
  colours |= other.colours;
  info |= other.info;
  slots |= other.slots;
  origin |= other.origin;
  return *this;
}

Changes Changes::Between(const skin::SkinDocument& a, const skin::SkinDocument& b) {
  Changes changes;
  for (std::size_t f = 0; f < skin::kFieldCount; ++f)
    changes.fields[f] = a.fields[f] != b.fields[f];
  for (std::size_t c = 0; c < skin::kColourCount; ++c) {
    changes.colours[c] = a.colours[c] != b.colours[c];
  }
  for (const skin::InfoField& field : skin::kInfoFields) {
    changes.info[skin::Index(field.id)] = a.info.*field.text != b.info.*field.text;
  }
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    changes.slots[s] = !(a.slots[s] == b.slots[s]);
  }
  return changes;
}

SkinFile SkinFile::At(std::size_t index) {
  if (index == 0) return {std::nullopt, "uisettings.ini"};
  const auto slot = static_cast<skin::SlotId>(index - 1);
  return {slot, std::string(skin::Info(slot).file)};
}

SkinSession::SkinSession(std::uint64_t history_budget) : history_(history_budget) {
  skin::ResetSkinDefaults(doc_);
  origin_ = SkinOrigin();
  origin_.saved = doc_;
}

Changes SkinSession::Record(const skin::SkinDocument& before, StepLabel label, MergeKey merge) {
  // Edits never touch the sample game's icon: what Between compares is the whole document.
  const Changes changes = Changes::Between(before, doc_);
  if (!changes.Document()) return {};
  history_.Record(before, doc_, std::move(label), std::move(merge));
  return changes;
}

Changes SkinSession::SetField(skin::FieldId field, std::int32_t value) {
  const skin::SkinDocument before = doc_;  // a cheap copy: the pictures are shared
  doc_.Field(field) = value;
  return Record(before, {StepKind::kChange, field}, field);
}

Changes SkinSession::SetFields(std::span<const FieldValue> values, StepLabel label,
                               MergeKey merge) {
  const skin::SkinDocument before = doc_;
  for (const FieldValue& v : values) doc_.Field(v.field) = v.value;
  return Record(before, std::move(label), std::move(merge));
}

Changes SkinSession::ApplyFix(const QuickFix& fix) {
  Changes changes;
  if (fix.colour) changes |= SetColour(fix.colour->first, fix.colour->second);
  if (!fix.fields.empty()) {
    const StepLabel label = fix.moves ? StepLabel{StepKind::kMove, *fix.moves}
                                      : StepLabel{StepKind::kChange, fix.fields.front().field};
    changes |= SetFields(fix.fields, label, {});
  }
  return changes;
}

Changes SkinSession::SetColour(skin::ColourId colour, imaging::Rgb value) {
  const skin::SkinDocument before = doc_;
  doc_.Colour(colour) = value;
  return Record(before, {StepKind::kChange, colour});
}

Changes SkinSession::SetInfo(skin::InfoId info, std::string text) {
  const skin::SkinDocument before = doc_;
  doc_.info.*skin::Info(info).text = std::move(text);
  return Record(before, {StepKind::kChange, info}, info);
}

SkinSession::Imported SkinSession::Import(skin::SlotId slot, const std::string& path,
                                          const skin::MessageTexts& texts, skin::Feedback& feedback,
                                          const imaging::FitSettings& settings) {
  std::optional<imaging::Image> picture = skin::ReadFittedPicture(
      path, settings, false, texts, feedback, skin::PictureBudgetFor(doc_, slot));
  if (!picture) return {};
  return {ImportFitted(slot, {path, settings}, std::move(*picture)), true};
}

Changes SkinSession::ImportFitted(skin::SlotId slot, ImportRecipe recipe, imaging::Image picture) {
  Changes changes = SetPicture(slot, std::move(picture));
  Remember(slot, std::move(recipe));
  return changes;
}

void SkinSession::Remember(skin::SlotId slot, ImportRecipe recipe) {
  std::vector<MadePicture>& made = recipes_[skin::Index(slot)];
  std::erase_if(made, [](const MadePicture& m) { return m.picture.expired(); });
  made.push_back({std::move(recipe), doc_.slots[skin::Index(slot)].witness()});
}

const ImportRecipe* SkinSession::RecipeOf(skin::SlotId slot) const {
  const imaging::SharedImage& picture = doc_.slots[skin::Index(slot)];
  for (const MadePicture& made : recipes_[skin::Index(slot)]) {
    if (picture.SameAs(made.picture)) return &made.recipe;
  }
  return nullptr;
}

SkinSession::Imported SkinSession::Reimport(skin::SlotId slot, const skin::MessageTexts& texts,
                                            skin::Feedback& feedback) {
  const ImportRecipe* recipe = RecipeOf(slot);
  if (recipe == nullptr) return {};
  const ImportRecipe copy = *recipe;  // the import replaces the recipe it reads
  return Import(slot, copy.path, texts, feedback, copy.settings);
}

Changes SkinSession::SetPicture(skin::SlotId slot, imaging::Image picture) {
  const skin::SkinDocument before = doc_;
  doc_.SetSlot(slot, std::move(picture));
  return Record(before, {StepKind::kImport, slot});
}

Changes SkinSession::Move(skin::SkinDocument next, SkinOrigin origin, StepLabel label) {
  // The same skin as it was saved, opened again from where it came from, is no step.
  if (next == doc_ && origin.saved == origin_.saved && origin.folder == origin_.folder &&
      origin.name == origin_.name) {
    return {};
  }
  Changes changes = Changes::Between(doc_, next);
  changes.origin = true;
  const skin::SkinDocument before = std::exchange(doc_, std::move(next));
  history_.RecordMove(before, doc_, std::exchange(origin_, std::move(origin)), std::move(label));
  return changes;
}

Changes SkinSession::NewSkin() {
  skin::SkinDocument next;
  skin::ResetSkinDefaults(next);
  SkinOrigin origin;
  origin.saved = next;
  return Move(std::move(next), std::move(origin), {StepKind::kNewSkin, {}});
}

SkinSession::Opened SkinSession::Open(const std::string& path, bool zip,
                                      const skin::LoadOptions& options, skin::Feedback& feedback) {
  skin::SkinDocument next = doc_;
  Opened result;
  // Taken before the files are read, so that it names the folder they came from.
  const base::FileStamp identity = zip ? base::FileStamp() : base::StampOf(path);
  result.opened = zip ? skin::OpenSkinZip(next, path, options, feedback)
                      : skin::OpenSkinFolder(next, path, options, feedback);
  if (!result.opened) {
    // A load that ended half way (out of memory) may still have changed the document.
    const skin::SkinDocument before = std::exchange(doc_, std::move(next));
    result.changes = Record(before, {StepKind::kOpen, SkinName(path)});
    return result;
  }
  SkinOrigin origin{next, zip ? std::string() : base::FolderWithSeparator(path), SkinName(path),
                    identity, zip ? path : std::string()};
  result.changes = Move(std::move(next), std::move(origin), {StepKind::kOpen, SkinName(path)});
  if (!zip) ReadRecipes(options.texts, feedback);
  return result;
}

void SkinSession::ReadRecipes(const skin::MessageTexts& texts, skin::Feedback& feedback) {
  const std::string path = origin_.folder + std::string(kRecipeFileName);
  if (base::KindOf(path) == base::FileKind::kMissing) return;
  const base::ReadResult file = base::ReadWholeFile(path, kMaxRecipeFileBytes);
  if (const std::optional<skin::FileProblem> problem = skin::ProblemOf(file.status)) {
    feedback.ShowError(skin::ComposeFileMessage(path, *problem, texts));
    return;
  }
  const ParsedRecipes read = ParseImportRecipes(file.bytes, origin_.folder);
  if (read.unread > 0) {
    feedback.ShowError(skin::ComposeFileMessage(path, skin::FileProblem::kRecipesUnread, texts));
  }
  // A recipe counts only for the very picture it made: one changed since by another program
  // has none.
  for (const SlotRecipe& r : read.recipes) {
    if (PictureDigest(doc_.Slot(r.slot)) == r.picture) Remember(r.slot, r.recipe);
  }
}

void SkinSession::WriteRecipes(const std::string& folder, const skin::SavedFiles& files,
                               const skin::MessageTexts& texts, skin::Feedback& feedback) const {
  std::vector<SlotRecipe> recipes;
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    const auto slot = static_cast<skin::SlotId>(s);
    const ImportRecipe* recipe = RecipeOf(slot);
    if (recipe != nullptr && files[1 + s])
      recipes.push_back({slot, *recipe, PictureDigest(doc_.Slot(slot))});
  }
  const std::string name(kRecipeFileName);
  const std::string shown = base::FolderWithSeparator(folder) + name;
  if (recipes.empty() && base::KindOf(shown) == base::FileKind::kMissing) return;
  const base::Folder into = base::Folder::Open(base::FolderWithSeparator(folder));
  const std::string names[] = {name};
  into.RemoveLeftoverTemporaries(names);
  const std::string text = FormatImportRecipes(recipes, base::FolderWithSeparator(folder));
  if (!into.WriteFileAtomically(
          name, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
    feedback.ShowError(skin::ComposeFileMessage(shown, skin::FileProblem::kNotSaved, texts));
  }
}

SkinSession::Saved SkinSession::Save(const std::string& folder, const skin::SaveOptions& options,
                                     skin::Feedback& feedback) {
  const skin::SkinDocument before = doc_;
  Saved result;
  skin::SavedFiles files;
  result.written = skin::SaveSkin(doc_, folder, options, feedback, &files);
  result.complete = files.all();
  try {
    if (files[0]) WriteRecipes(folder, files, options.texts, feedback);
  } catch (const std::bad_alloc&) {
    feedback.ShowError(options.texts.Of(skin::FileProblem::kOutOfMemory));
  }
  result.changes = Changes::Between(before, doc_);  // the save stamps LastUpdate
  const std::string target = base::FolderWithSeparator(folder);
  // What the disk now holds of the skin: the files written, and the last saved state elsewhere.
  skin::SkinDocument saved = files[0] ? doc_ : origin_.saved;
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    saved.slots[s] = files[1 + s] ? doc_.slots[s] : origin_.saved.slots[s];
  }
  if (files[0]) {
    // The settings file makes a folder a skin's: the title and File > Save follow it there.
    origin_ = {std::move(saved),      target, SkinName(folder),
               base::StampOf(folder), {},     !result.complete};
    history_.BreakMerge();
  } else if (target == origin_.folder) {
    origin_.saved = std::move(saved);
    origin_.incomplete = true;
  }
  result.changes.origin = true;
  return result;
}

SkinSession::Exported SkinSession::Export(const std::string& zip_path,
                                          const imaging::Image& preview,
                                          const skin::SaveOptions& options,
                                          skin::Feedback& feedback) {
  // Asked before the export, which replaces the file: the same path, or another way to it.
  const bool onto_origin =
      !origin_.archive.empty() &&
      (origin_.archive == zip_path ||
       base::SameFile(base::StampOf(origin_.archive), base::StampOf(zip_path)));
  const skin::SkinDocument before = doc_;
  Exported result;
  result.saved = skin::ExportSkinZip(doc_, zip_path, preview, options, feedback);
  result.changes = Changes::Between(before, doc_);
  if (result.saved && onto_origin) {
    origin_.saved = doc_;
    history_.BreakMerge();
    result.changes.origin = true;
  }
  return result;
}

bool SkinSession::MaySaveInPlace() const {
  if (origin_.folder.empty()) return false;
  const base::FileStamp now = base::StampOf(origin_.folder);
  return now.kind == base::FileKind::kFolder && base::SameFile(now, origin_.folder_identity);
}

Changes SkinSession::RevertPicture(skin::SlotId slot) {
  imaging::Image built_in = skin::BuiltInSlotPicture(slot);
  if (doc_.Slot(slot) == built_in) return {};
  const skin::SkinDocument before = doc_;
  doc_.SetSlot(slot, std::move(built_in));
  return Record(before, {StepKind::kRevert, slot});
}

SkinSession::PictureFile SkinSession::PictureFileOf(skin::SlotId slot) const {
  if (!MaySaveInPlace()) return {{}, PictureFile::Problem::kNoFolder};
  const std::string path = origin_.folder + std::string(skin::Info(slot).file);
  const bool unsaved = !(doc_.Slot(slot) == origin_.saved.Slot(slot)) || !base::IsRegularFile(path);
  return {path, unsaved ? PictureFile::Problem::kUnsaved : PictureFile::Problem::kNone};
}

bool SkinSession::HasUnsavedChangesTo(const SkinFile& file) const {
  if (file.slot) {
    const std::size_t slot = skin::Index(*file.slot);
    return !(doc_.slots[slot] == origin_.saved.slots[slot]);
  }
  return !SameSettings(doc_, origin_.saved);
}

SkinSession::Reloaded SkinSession::Reload(const SkinFile& file, bool take_into_document,
                                          int code_page, const skin::MessageTexts& texts) {
  Reloaded result;
  const std::string path = origin_.folder + file.name;
  const StepLabel label{StepKind::kReload, file.name};
  if (file.slot) {
    // Decoded as an import is: a file that cannot be taken leaves the slot as it was.
    struct Collected : skin::Feedback {
      void ShowError(const std::string& text) override {
        if (first.empty()) first = text;
      }
      void SetProgress(int) override {}
      std::string first;
    } feedback;
    skin::SkinDocument disk = origin_.saved;
    if (!skin::ImportSkinImage(disk, *file.slot, path, texts, feedback)) {
      result.problem = feedback.first;
      return result;
    }
    const std::size_t slot = skin::Index(*file.slot);
    origin_.saved.slots[slot] = disk.slots[slot];
    result.changes.origin = true;
    if (take_into_document) {
      const skin::SkinDocument before = doc_;
      doc_.slots[slot] = disk.slots[slot];
      result.changes |= Record(before, label);
    }
    return result;
  }
  // Held to what opening a skin folder reads of its settings file.
  const base::ReadResult settings = base::ReadWholeFile(path, skin::kMaxSettingsFileBytes);
  if (const std::optional<skin::FileProblem> problem = skin::ProblemOf(settings.status)) {
    result.problem = skin::ComposeFileMessage(path, *problem, texts);
    return result;
  }
  skin::ReadSkinSettings(settings.bytes, origin_.saved, code_page);
  result.changes.origin = true;
  if (take_into_document) {
    const skin::SkinDocument before = doc_;
    skin::ReadSkinSettings(settings.bytes, doc_, code_page);
    result.changes |= Record(before, label);
  }
  return result;
}

Changes SkinSession::StepThroughHistory(bool redo) {
  const skin::SkinDocument before = doc_;
  const std::string folder = origin_.folder;
  const std::string name = origin_.name;
  if (!(redo ? history_.Redo(doc_, origin_) : history_.Undo(doc_, origin_))) return {};
  Changes changes = Changes::Between(before, doc_);
  changes.origin = origin_.folder != folder || origin_.name != name;
  return changes;
}

Changes SkinSession::Undo() { return StepThroughHistory(false); }
Changes SkinSession::Redo() { return StepThroughHistory(true); }

}  // namespace session

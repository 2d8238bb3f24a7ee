// The editor's history of a skin: the states before each change, for undo and redo. Each state is a
// whole copy of the document; copies share their pictures, so a long history costs little memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "base/file_io.h"
#include "skin/skin_document.h"
#include "skin/skin_loader.h"

namespace session {
using skin::SkinDocument;

// What a step does, which gives the wording of its name.
enum class StepKind { kChange, kImport, kNewSkin, kOpen, kReload, kMove, kRevert };

// The language key of a step's wording: "Change %1", "Import %1", "New skin"...
std::string_view StepTextKey(StepKind kind);

// The name of a step, as the Undo and Redo items show it: its kind and what it acts on. It holds
// no words, so that it reads in the language in force whenever it is shown. `subject` is a field
// ("[start button] x"), a colour or information text (its key or caption), a slot (its base name),
// an element section (a move on the preview), or a file or skin name, which are not translated.
struct StepLabel {
  using Subject = std::variant<std::monostate, skin::FieldId, skin::ColourId, skin::InfoId,
                               skin::SlotId, skin::SectionId, std::string>;
  StepKind kind = StepKind::kChange;
  Subject subject;
  friend bool operator==(const StepLabel&, const StepLabel&) = default;
};

// Steps with equal, non-empty merge keys in a row merge into one: the edits of one field or one
// information text, or the moves of one drag (numbered per drag).
struct Gesture {
  int number = 0;
  friend bool operator==(const Gesture&, const Gesture&) = default;
};
using MergeKey = std::variant<std::monostate, skin::FieldId, skin::InfoId, Gesture>;

// Where the editor's document comes from: the state it had when last opened or saved, which
// unsaved changes are measured against; the folder it was opened from or saved to ("" for none:
// the default skin, an archive); and the name it goes by ("" for a new skin). Opening a skin and
// starting a new one change it together with the document, so that undo takes it back with them;
// a save changes it without a step.
struct SkinOrigin {
  SkinDocument saved;
  std::string folder;
  std::string name;
  // Which folder `folder` named when the skin was opened from it or saved to it.
  base::FileStamp folder_identity = {};
  std::string archive;      // the archive a skin was opened from; "" for any other
  bool incomplete = false;  // the last save wrote only some files into the folder
};

class SkinHistory {
 public:
  // At most this many steps are kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 1000;

  // What only the history keeps alive may take `budget` bytes together: the pictures of earlier
  // states that the document no longer has, and every step's texts (the information texts of its
  // states, and its label). Beyond it the oldest steps go, though the newest one always stays.
  // Without this a few imports or opens of large skins, or reloads of a settings file with long
  // texts, would keep every earlier skin in memory.
  explicit SkinHistory(std::uint64_t budget = skin::kPictureMemoryBudget) : budget_(budget) {}

  // Records one change: `before` is the document as it was before it and `after` as it is now,
  // `label` names it for the Undo and Redo items. A change with a non-empty `merge_key` equal to
  // that of the newest step merges into that step (the spin steps of one field in a row undo as
  // one), unless an undo or redo came in between; a merged step that ends where it began is
  // dropped, as if it had never been made. Every change clears the steps that could be redone.
  void Record(const SkinDocument& before, const SkinDocument& after, StepLabel label,
              MergeKey merge_key = {});
  // Records a change that also gave the document a new origin (a skin opened, a new skin), which
  // never merges: undoing it puts `origin_before` back along with the document.
  void RecordMove(const SkinDocument& before, const SkinDocument& after, SkinOrigin origin_before,
                  StepLabel label);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The label of the step that Undo (Redo) would take back (do again); nothing when there is none.
  const StepLabel* UndoLabel() const;
  const StepLabel* RedoLabel() const;

  // Puts `doc` back into the state before the newest step, which then can be redone, and `origin`
  // too when the step changed it. False, and both unchanged, when there is nothing to undo.
  bool Undo(SkinDocument& doc, SkinOrigin& origin);
  // Does the newest undone step again. False when there is nothing to redo.
  bool Redo(SkinDocument& doc, SkinOrigin& origin);

  // Ends the merging of steps, as after a save: the next change starts a step of its own.
  void BreakMerge() { mergeable_ = false; }

  std::size_t UndoCount() const { return undo_.size(); }

 private:
  struct Entry {
    SkinDocument state;  // undo: the state before the change; redo: the state after it
    StepLabel label;
    MergeKey merge_key;
    std::unique_ptr<SkinOrigin> origin;  // for a step that changed the origin, the other one
    std::uint64_t text_bytes = 0;        // TextBytes of what it holds now, counted once
  };

  void Push(Entry entry, const SkinDocument& after);
  void ClearRedo();
  void PopOldest();
  // Drops the oldest steps while what only they hold exceeds the budget.
  void LimitMemory(const SkinDocument& after);
  static std::uint64_t TextBytes(const Entry& entry);
  // Moves the newest entry of `from` to `to`, exchanging its state with `doc` (and its origin with
  // `origin`, when it has one).
  bool Step(std::deque<Entry>& from, std::deque<Entry>& to, SkinDocument& doc, SkinOrigin& origin);

  std::uint64_t budget_;
  std::deque<Entry> undo_;
  std::deque<Entry> redo_;
  // The texts of every step kept, and the pictures only the history held at the last count.
  std::uint64_t text_bytes_ = 0;
  std::uint64_t picture_bytes_ = 0;
  bool mergeable_ = false;
};

}  // namespace session

// The editor's history of a skin: the states before each change, for undo and redo. Each state is a
// whole copy of the document; copies share their pictures, so a long history costs little memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "skin/skin_document.h"
#include "skin/skin_loader.h"

namespace session {
using skin::SkinDocument;

// Where the editor's document comes from: the state it had when last opened or saved, which
// unsaved changes are measured against; the folder it was opened from or saved to ("" for none:
// the default skin, an archive); and the name it goes by ("" for a new skin). Opening a skin and
// starting a new one change it together with the document, so that undo takes it back with them;
// a save changes it without a step.
struct SkinOrigin {
  SkinDocument saved;
  std::string folder;
  std::string name;
};

class SkinHistory {
 public:
  // At most this many steps are kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 1000;

  // The pictures that only the history keeps alive (those of earlier states that the document no
  // longer has) may take `picture_budget` bytes together: beyond it the oldest steps go, though
  // the newest one always stays. Without this a few imports or opens of large skins would keep
  // every earlier skin in memory.
  explicit SkinHistory(std::uint64_t picture_budget = skin::kPictureMemoryBudget)
      : picture_budget_(picture_budget) {}

  // Records one change: `before` is the document as it was before it and `after` as it is now,
  // `label` names it for the Undo and Redo items. A change with a non-empty `merge_key` equal to
  // that of the newest step merges into that step (the spin steps of one field in a row undo as
  // one), unless an undo or redo came in between. Every change clears the steps that could be
  // redone.
  void Record(const SkinDocument& before, const SkinDocument& after, std::string label,
              std::string merge_key = {});
  // Records a change that also gave the document a new origin (a skin opened, a new skin), which
  // never merges: undoing it puts `origin_before` back along with the document.
  void RecordMove(const SkinDocument& before, const SkinDocument& after, SkinOrigin origin_before,
                  std::string label);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The label of the step that Undo (Redo) would take back (do again); "" when there is none.
  const std::string& UndoLabel() const;
  const std::string& RedoLabel() const;

  // Puts `doc` back into the state before the newest step, which then can be redone, and `origin`
  // too when the step changed it. False, and both unchanged, when there is nothing to undo.
  bool Undo(SkinDocument& doc, SkinOrigin& origin);
  // Does the newest undone step again. False when there is nothing to redo.
  bool Redo(SkinDocument& doc, SkinOrigin& origin);

  // Ends the merging of steps, as after a save: the next change starts a step of its own.
  void BreakMerge() { mergeable_ = false; }
  void Clear();

  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }

 private:
  struct Entry {
    SkinDocument state;  // undo: the state before the change; redo: the state after it
    std::string label;
    std::string merge_key;
    std::unique_ptr<SkinOrigin> origin;  // for a step that changed the origin, the other one
  };

  void Push(Entry entry, const SkinDocument& after);
  // Drops the oldest steps while the pictures only they hold exceed the budget.
  void LimitPictureMemory(const SkinDocument& after);
  // Moves the newest entry of `from` to `to`, exchanging its state with `doc` (and its origin with
  // `origin`, when it has one).
  bool Step(std::deque<Entry>& from, std::deque<Entry>& to, SkinDocument& doc,
            SkinOrigin& origin);

  std::uint64_t picture_budget_;
  std::deque<Entry> undo_;
  std::deque<Entry> redo_;
  bool mergeable_ = false;
};

}  // namespace session

// The editor's history of a skin: the states before each change, for undo and redo. Each state is a
// whole copy of the document; copies share their pictures, so a long history costs little memory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "skin/skin_document.h"

namespace skin {

class SkinHistory {
 public:
  // At most this many steps are kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 1000;

  // Records one change: `before` is the document as it was before it, `label` names it for the
  // Undo and Redo items. A change with a non-empty `merge_key` equal to that of the newest step
  // merges into that step (the spin steps of one field in a row undo as one), unless an undo or
  // redo came in between. Every change clears the steps that could be redone.
  void Record(const SkinDocument& before, std::string label, std::string merge_key = {});

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The label of the step that Undo (Redo) would take back (do again); "" when there is none.
  const std::string& UndoLabel() const;
  const std::string& RedoLabel() const;

  // Puts `doc` back into the state before the newest step, which then can be redone. False, and
  // `doc` unchanged, when there is nothing to undo.
  bool Undo(SkinDocument& doc);
  // Does the newest undone step again. False when there is nothing to redo.
  bool Redo(SkinDocument& doc);

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
  };

  // Moves the newest entry of `from` to `to`, exchanging its state with `doc`.
  bool Step(std::vector<Entry>& from, std::vector<Entry>& to, SkinDocument& doc);

  std::vector<Entry> undo_;
  std::vector<Entry> redo_;
  bool mergeable_ = false;
};

}  // namespace skin

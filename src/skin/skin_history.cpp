// Undo and redo by whole states of the document.
#include "skin/skin_history.h"

#include <utility>

namespace skin {
namespace {

const std::string kNoLabel;

}  // namespace

void SkinHistory::Record(const SkinDocument& before, std::string label, std::string merge_key) {
  redo_.clear();
  if (mergeable_ && !merge_key.empty() && !undo_.empty() && undo_.back().merge_key == merge_key) {
    return;  // the newest step already holds the state before the first change of the run
  }
  if (undo_.size() == kMaxSteps) undo_.erase(undo_.begin());
  undo_.push_back({before, std::move(label), std::move(merge_key)});
  mergeable_ = true;
}

const std::string& SkinHistory::UndoLabel() const {
  return undo_.empty() ? kNoLabel : undo_.back().label;
}

const std::string& SkinHistory::RedoLabel() const {
  return redo_.empty() ? kNoLabel : redo_.back().label;
}

bool SkinHistory::Step(std::vector<Entry>& from, std::vector<Entry>& to, SkinDocument& doc) {
  if (from.empty()) return false;
  Entry entry = std::move(from.back());
  from.pop_back();
  std::swap(doc, entry.state);
  to.push_back(std::move(entry));
  mergeable_ = false;
  return true;
}

bool SkinHistory::Undo(SkinDocument& doc) { return Step(undo_, redo_, doc); }

bool SkinHistory::Redo(SkinDocument& doc) { return Step(redo_, undo_, doc); }

void SkinHistory::Clear() {
  undo_.clear();
  redo_.clear();
  mergeable_ = false;
}

}  // namespace skin

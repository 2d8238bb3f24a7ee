// Undo and redo by whole states of the document.
#include "session/skin_history.h"

#include <unordered_set>
#include <utility>

namespace session {
namespace {

using ImageSet = std::unordered_set<const imaging::Image*>;

// The bytes of the pictures of `doc` not yet in `seen`, which then holds them.
std::uint64_t NewPictureBytes(const SkinDocument& doc, ImageSet& seen) {
  std::uint64_t bytes = 0;
  for (const imaging::SharedImage& slot : doc.slots) {
    if (seen.insert(&*slot).second) bytes += slot->pixels.size() * sizeof(imaging::Rgb);
  }
  return bytes;
}

bool SamePictures(const SkinDocument& a, const SkinDocument& b) {
  for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
    if (!a.slots[s].SameAs(b.slots[s])) return false;
  }
  return true;
}

}  // namespace

std::string_view StepTextKey(StepKind kind) {
  switch (kind) {
    case StepKind::kChange:
      return "LANG_STEP_CHANGE$";
    case StepKind::kImport:
      return "LANG_STEP_IMPORT$";
    case StepKind::kNewSkin:
      return "LANG_FILE_NEW$";
    case StepKind::kOpen:
      return "LANG_STEP_OPEN$";
    case StepKind::kReload:
      return "LANG_STEP_RELOAD$";
    case StepKind::kMove:
      return "LANG_STEP_MOVE$";
    case StepKind::kRevert:
      return "LANG_STEP_REVERT$";
  }
  return {};
}

void SkinHistory::Record(const SkinDocument& before, const SkinDocument& after, StepLabel label,
                         MergeKey merge_key) {
  ClearRedo();
  if (mergeable_ && !std::holds_alternative<std::monostate>(merge_key) && !undo_.empty() &&
      undo_.back().merge_key == merge_key) {
    // The newest step already holds the state before the first change of the run; a run that
    // ends where it began leaves nothing to undo.
    if (undo_.back().state == after) {
      text_bytes_ -= undo_.back().text_bytes;
      undo_.pop_back();
      mergeable_ = false;
    }
    return;
  }
  Push({before, std::move(label), std::move(merge_key), nullptr}, after);
}

void SkinHistory::RecordMove(const SkinDocument& before, const SkinDocument& after,
                             SkinOrigin origin_before, StepLabel label) {
  ClearRedo();
  Push({before, std::move(label), {}, std::make_unique<SkinOrigin>(std::move(origin_before))},
       after);
}

void SkinHistory::ClearRedo() {
  for (const Entry& entry : redo_) text_bytes_ -= entry.text_bytes;
  redo_.clear();
}

std::uint64_t SkinHistory::TextBytes(const Entry& entry) {
  const auto info_bytes = [](const SkinDocument& doc) {
    std::uint64_t bytes = 0;
    for (const skin::InfoField& field : skin::kInfoFields) bytes += (doc.info.*field.text).size();
    return bytes;
  };
  std::uint64_t bytes = info_bytes(entry.state);
  if (const std::string* name = std::get_if<std::string>(&entry.label.subject)) {
    bytes += name->size();
  }
  if (entry.origin) {
    bytes += info_bytes(entry.origin->saved) + entry.origin->folder.size() +
             entry.origin->name.size() + entry.origin->archive.size();
  }
  return bytes;
}

void SkinHistory::Push(Entry entry, const SkinDocument& after) {
  // Only a step that brings pictures of its own can take the pictures over the budget; most steps
  // share every picture with the step before them. Texts are counted as they come.
  const bool new_pictures =
      entry.origin || undo_.empty() || !SamePictures(entry.state, undo_.back().state);
  if (undo_.size() == kMaxSteps) PopOldest();
  entry.text_bytes = TextBytes(entry);
  text_bytes_ += entry.text_bytes;
  undo_.push_back(std::move(entry));
  mergeable_ = true;
  if (new_pictures || picture_bytes_ + text_bytes_ > budget_) LimitMemory(after);
}

void SkinHistory::LimitMemory(const SkinDocument& after) {
  ImageSet seen;
  NewPictureBytes(after, seen);  // the document's own pictures cost the history nothing
  std::uint64_t bytes = 0;
  std::uint64_t pictures = 0;
  std::size_t keep = 0;  // how many of the newest steps fit
  for (auto step = undo_.rbegin(); step != undo_.rend(); ++step, ++keep) {
    std::uint64_t more = NewPictureBytes(step->state, seen);
    if (step->origin) more += NewPictureBytes(step->origin->saved, seen);
    if (bytes + more + step->text_bytes > budget_ && keep > 0) break;
    bytes += more + step->text_bytes;
    pictures += more;
  }
  for (std::size_t drop = undo_.size() - keep; drop > 0; --drop) PopOldest();
  picture_bytes_ = pictures;
}

void SkinHistory::PopOldest() {
  text_bytes_ -= undo_.front().text_bytes;
  undo_.pop_front();
}

const StepLabel* SkinHistory::UndoLabel() const {
  return undo_.empty() ? nullptr : &undo_.back().label;
}

const StepLabel* SkinHistory::RedoLabel() const {
  return redo_.empty() ? nullptr : &redo_.back().label;
}

bool SkinHistory::Step(std::deque<Entry>& from, std::deque<Entry>& to, SkinDocument& doc,
                       SkinOrigin& origin) {
  if (from.empty()) return false;
  Entry entry = std::move(from.back());
  from.pop_back();
  std::swap(doc, entry.state);
  if (entry.origin) std::swap(origin, *entry.origin);
  // It holds the other state now, whose texts may be longer or shorter.
  text_bytes_ -= entry.text_bytes;
  entry.text_bytes = TextBytes(entry);
  text_bytes_ += entry.text_bytes;
  to.push_back(std::move(entry));
  mergeable_ = false;
  return true;
}

bool SkinHistory::Undo(SkinDocument& doc, SkinOrigin& origin) {
  return Step(undo_, redo_, doc, origin);
}

bool SkinHistory::Redo(SkinDocument& doc, SkinOrigin& origin) {
  return Step(redo_, undo_, doc, origin);
}

}  // namespace session

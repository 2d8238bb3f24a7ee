// Undo and redo by whole states of the document.
#include "session/skin_history.h"

#include <unordered_set>
#include <utility>

namespace session {
namespace {

const std::string kNoLabel;

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

void SkinHistory::Record(const SkinDocument& before, const SkinDocument& after, std::string label,
                         std::string merge_key) {
  redo_.clear();
  if (mergeable_ && !merge_key.empty() && !undo_.empty() && undo_.back().merge_key == merge_key) {
    return;  // the newest step already holds the state before the first change of the run
  }
  Push({before, std::move(label), std::move(merge_key), nullptr}, after);
}

void SkinHistory::RecordMove(const SkinDocument& before, const SkinDocument& after,
                             SkinOrigin origin_before, std::string label) {
  redo_.clear();
  Push({before, std::move(label), {}, std::make_unique<SkinOrigin>(std::move(origin_before))},
       after);
}

void SkinHistory::Push(Entry entry, const SkinDocument& after) {
  // Only a step that brings pictures of its own can take the history over its budget; most steps
  // share every picture with the step before them.
  const bool new_pictures =
      entry.origin || undo_.empty() || !SamePictures(entry.state, undo_.back().state);
  if (undo_.size() == kMaxSteps) undo_.pop_front();
  undo_.push_back(std::move(entry));
  mergeable_ = true;
  if (new_pictures) LimitPictureMemory(after);
}

void SkinHistory::LimitPictureMemory(const SkinDocument& after) {
  ImageSet seen;
  NewPictureBytes(after, seen);  // the document's own pictures cost the history nothing
  std::uint64_t bytes = 0;
  std::size_t keep = 0;  // how many of the newest steps fit
  for (auto step = undo_.rbegin(); step != undo_.rend(); ++step, ++keep) {
    bytes += NewPictureBytes(step->state, seen);
    if (step->origin) bytes += NewPictureBytes(step->origin->saved, seen);
    if (bytes > picture_budget_ && keep > 0) break;
  }
  undo_.erase(undo_.begin(), undo_.end() - static_cast<std::ptrdiff_t>(keep));
}

const std::string& SkinHistory::UndoLabel() const {
  return undo_.empty() ? kNoLabel : undo_.back().label;
}

const std::string& SkinHistory::RedoLabel() const {
  return redo_.empty() ? kNoLabel : redo_.back().label;
}

bool SkinHistory::Step(std::deque<Entry>& from, std::deque<Entry>& to, SkinDocument& doc,
                       SkinOrigin& origin) {
  if (from.empty()) return false;
  Entry entry = std::move(from.back());
  from.pop_back();
  std::swap(doc, entry.state);
  if (entry.origin) std::swap(origin, *entry.origin);
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

void SkinHistory::Clear() {
  undo_.clear();
  redo_.clear();
  mergeable_ = false;
}

}  // namespace session

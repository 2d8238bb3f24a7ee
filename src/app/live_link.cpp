// The live link to the skin folder.
#include "app/live_link.h"

#include <QString>
#include <algorithm>
#include <new>
#include <utility>

#include "app/main_window.h"
#include "base/paths.h"

namespace app {
namespace {

using session::SkinFile;

// `parts` joined by `separator`.
std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string line;
  for (const std::string& part : parts) line += (line.empty() ? "" : std::string(separator)) + part;
  return line;
}

}  // namespace

LiveLink::LiveLink(EditorHost& host, session::SkinSession& session, const i18n::UiTexts& texts,
                   int code_page)
    : host_(host),
      session_(session),
      texts_(texts),
      code_page_(code_page),
      watcher_([this] { return host_.ReadyForReload(); },
               [this](const std::vector<FileWatcher::Change>& changes) {
                 ReloadChangedFiles(changes);
               }) {}

void LiveLink::SetFollowing(bool follow) {
  following_ = follow;
  FollowOrigin();
}

void LiveLink::FollowOrigin() {
  // What the folder holds now counts as seen, also for the files followed before.
  watcher_.Stop();
  folder_.clear();
  if (!following_ || session_.folder().empty()) return;
  folder_ = base::FolderWithSeparator(session_.folder());
  std::vector<std::string> files;
  for (std::size_t i = 0; i < SkinFile::kCount; ++i) {
    files.push_back(folder_ + std::string(SkinFile::At(i).name));
  }
  // The pictures of icon/ are replaced by renames there.
  watcher_.Watch(std::move(files), {folder_, folder_ + "icon"});
}

void LiveLink::Apply(const session::Changes& changes) {
  if (!changes.origin || folder_ == session_.folder()) return;
  // What waited for an answer belongs to the folder that is no longer followed.
  disk_changes_.clear();
  ShowDiskChanges();
  FollowOrigin();
}

void LiveLink::ReloadChangedFiles(const std::vector<FileWatcher::Change>& changes) {
  const BusyScope busy(host_.busy());
  std::vector<std::string> reloaded;
  std::vector<std::string> status;
  for (const FileWatcher::Change& change : changes) {
    // A file that has gone is not reloaded; once it is back it counts as changed.
    if (change.gone) continue;
    const SkinFile file = SkinFile::At(change.index);
    if (session_.HasUnsavedChangesTo(file)) {
      // The user's version stays until the user says otherwise in the bar.
      const bool waiting = std::any_of(disk_changes_.begin(), disk_changes_.end(),
                                       [&](const SkinFile& f) { return f.name == file.name; });
      if (!waiting) disk_changes_.push_back(file);
      continue;
    }
    const std::string problem = ReloadFile(file, true);
    if (problem.empty()) {
      reloaded.emplace_back(file.name);
    } else {
      status.push_back(i18n::FormatText(Text("LANG_STATUS_NOT_RELOADED$"), {problem}));
    }
  }
  if (!reloaded.empty()) {
    status.insert(status.begin(),
                  i18n::FormatText(Text("LANG_STATUS_RELOADED$"), {Joined(reloaded, ", ")}));
  }
  if (!status.empty()) host_.window()->ShowStatus(QString::fromStdString(Joined(status, "  ")));
  ShowDiskChanges();
}

void LiveLink::ShowDiskChanges() {
  if (disk_changes_.empty()) {
    host_.window()->ShowDiskChanges({});
    return;
  }
  std::vector<std::string> names;
  for (const SkinFile& file : disk_changes_) names.emplace_back(file.name);
  host_.window()->ShowDiskChanges(
      QString::fromStdString(i18n::FormatText(Text("LANG_DISK_CHANGED$"), {Joined(names, ", ")})));
}

void LiveLink::Answer(bool reload) {
  const BusyScope busy(host_.busy());
  std::vector<std::string> problems;
  for (const SkinFile& file : std::exchange(disk_changes_, {})) {
    const std::string problem = ReloadFile(file, reload);
    if (!problem.empty()) {
      problems.push_back(i18n::FormatText(Text("LANG_STATUS_NOT_RELOADED$"), {problem}));
    }
  }
  ShowDiskChanges();
  if (!problems.empty()) host_.window()->ShowStatus(QString::fromStdString(Joined(problems, "  ")));
}

std::string LiveLink::ReloadFile(const SkinFile& file, bool take) {
  skin::MessageTexts texts = host_.Messages();
  // Held to what opening a skin folder reads of its settings file, with its own message.
  if (!file.slot) {
    texts.problems[static_cast<std::size_t>(skin::FileProblem::kTooLarge)] =
        Text("LANG_FILE_SETTINGSTOOLARGE$");
  }
  session::SkinSession::Reloaded reloaded;
  try {
    reloaded = session_.Reload(file, take, code_page_, texts);
  } catch (const std::bad_alloc&) {
    return host_.Messages().Of(skin::FileProblem::kOutOfMemory);
  }
  host_.Apply(reloaded.changes);
  return reloaded.problem;
}

}  // namespace app

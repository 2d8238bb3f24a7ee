// Following files on disk with one debounce.
#include "app/file_watcher.h"

#include <QStringList>
#include <algorithm>

#include "base/paths.h"

namespace app {

FileWatcher::FileWatcher(std::function<bool()> ready,
                         std::function<void(const std::vector<Change>&)> changed)
    : ready_(std::move(ready)), changed_(std::move(changed)) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Check(); });
  // In-place writes reach the file's own watch; a rename over the file reaches the folder's.
  QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &timer_, [this] { OnEvent(); });
  QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &timer_,
                   [this] { OnEvent(); });
  QObject::connect(&reappear_, &QTimer::timeout, &timer_, [this] {
    AddWatches();
    if (!reappear_.isActive()) OnEvent();  // back: what it holds now is looked at
  });
}

void FileWatcher::Watch(std::vector<std::string> files, std::vector<std::string> folders) {
  std::vector<base::FileStamp> seen;
  seen.reserve(files.size());
  for (const std::string& file : files) {
    const auto known = std::find(files_.begin(), files_.end(), file);
    seen.push_back(known != files_.end() ? seen_[static_cast<std::size_t>(known - files_.begin())]
                                         : base::StampOf(file));
  }
  for (std::string& folder : folders) folder = base::WithoutTrailingSeparator(folder);
  // Only what is no longer wanted loses its watch: a watch taken away and made again could miss a
  // write in between.
  QStringList unwanted;
  for (const QString& path : watcher_.files() + watcher_.directories()) {
    const std::string name = path.toStdString();
    if (std::find(files.begin(), files.end(), name) == files.end() &&
        std::find(folders.begin(), folders.end(), name) == folders.end()) {
      unwanted << path;
    }
  }
  if (!unwanted.isEmpty()) watcher_.removePaths(unwanted);
  files_ = std::move(files);
  folders_ = std::move(folders);
  seen_ = std::move(seen);
  if (files_.empty() && folders_.empty()) {
    timer_.stop();
    reappear_.stop();
    return;
  }
  AddWatches();
}

void FileWatcher::Stop() {
  files_.clear();
  seen_.clear();
  Watch({});
}

void FileWatcher::AddWatches() {
  if (!folders_.empty() && !base::IsFolder(folders_.front())) {
    // A folder that is gone takes its watches with it; a new folder of the same name gets none.
    // It is looked for until it is back, and then followed as before.
    if (!reappear_.isActive()) reappear_.start(kReappearMs);
    return;
  }
  reappear_.stop();
  const QStringList files = watcher_.files();
  const QStringList folders = watcher_.directories();
  QStringList wanted;
  auto want = [&](const std::string& path, bool folder) {
    if (base::KindOf(path) != (folder ? base::FileKind::kFolder : base::FileKind::kRegular)) return;
    const QString name = QString::fromStdString(path);
    if (!(folder ? folders : files).contains(name) && !wanted.contains(name)) wanted << name;
  };
  for (const std::string& folder : folders_) want(folder, true);
  for (const std::string& file : files_) want(file, false);
  if (!wanted.isEmpty()) watcher_.addPaths(wanted);
}

void FileWatcher::OnEvent() {
  if (files_.empty()) return;
  if (!timer_.isActive()) burst_.start();
  const qint64 left = kLongestWaitMs - burst_.elapsed();
  timer_.start(static_cast<int>(std::clamp<qint64>(left, 0, kQuietMs)));
}

void FileWatcher::Check() {
  if (files_.empty()) return;
  if (!ready_()) {
    timer_.start(kRetryMs);
    return;
  }
  std::vector<Change> changed;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    const base::FileStamp now = base::StampOf(files_[i]);
    if (now == seen_[i]) continue;
    seen_[i] = now;
    changed.push_back({i, now.kind == base::FileKind::kMissing});
  }
  AddWatches();
  if (!changed.empty()) changed_(changed);
}

}  // namespace app

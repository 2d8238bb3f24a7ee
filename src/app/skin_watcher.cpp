// The live link to a skin folder.
#include "app/skin_watcher.h"

#include <QStringList>
#include <algorithm>

#include "base/file_io.h"
#include "base/paths.h"

namespace app {

SkinWatcher::SkinWatcher(std::function<bool()> ready,
                         std::function<void(const std::vector<SkinFile>&)> changed)
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

base::FileStamp SkinWatcher::SignatureOf(std::size_t index) const {
  return base::StampOf(folder_ + std::string(SkinFile::At(index).name));
}

void SkinWatcher::Watch(const std::string& folder) {
  Stop();
  folder_ = base::FolderWithSeparator(folder);
  for (std::size_t i = 0; i < kFileCount; ++i) seen_[i] = SignatureOf(i);
  AddWatches();
}

void SkinWatcher::Stop() {
  timer_.stop();
  reappear_.stop();
  folder_.clear();
  const QStringList watched = watcher_.files() + watcher_.directories();
  if (!watched.isEmpty()) watcher_.removePaths(watched);
}

void SkinWatcher::AddWatches() {
  const QStringList files = watcher_.files();
  const QStringList folders = watcher_.directories();
  QStringList wanted;
  auto want = [&](const std::string& path, bool folder) {
    if (base::KindOf(path) != (folder ? base::FileKind::kFolder : base::FileKind::kRegular)) return;
    const QString name = QString::fromStdString(path);
    if (!(folder ? folders : files).contains(name)) wanted << name;
  };
  // Qt names watched folders without their trailing separator.
  const std::string folder = base::WithoutTrailingSeparator(folder_);
  if (!base::IsFolder(folder)) {
    // A folder that is gone takes its watches with it; a new folder of the same name gets none.
    // It is looked for until it is back, and then followed as before.
    if (!reappear_.isActive()) reappear_.start(kReappearMs);
    return;
  }
  reappear_.stop();
  want(folder, true);
  want(folder_ + "icon", true);
  for (std::size_t i = 0; i < kFileCount; ++i) want(folder_ + SkinFile::At(i).name, false);
  if (!wanted.isEmpty()) watcher_.addPaths(wanted);
}

void SkinWatcher::OnEvent() {
  if (folder_.empty()) return;
  if (!timer_.isActive()) burst_.start();
  const qint64 left = kLongestWaitMs - burst_.elapsed();
  timer_.start(static_cast<int>(std::clamp<qint64>(left, 0, kQuietMs)));
}

void SkinWatcher::Check() {
  if (folder_.empty()) return;
  if (!ready_()) {
    timer_.start(kRetryMs);
    return;
  }
  std::vector<SkinFile> changed;
  for (std::size_t i = 0; i < kFileCount; ++i) {
    const base::FileStamp now = SignatureOf(i);
    if (now == seen_[i]) continue;
    seen_[i] = now;
    if (now.kind != base::FileKind::kMissing) changed.push_back(SkinFile::At(i));
  }
  AddWatches();
  if (!changed.empty()) changed_(changed);
}

}  // namespace app

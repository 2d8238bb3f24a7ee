// Follows files on disk, whether rewritten in place or replaced by a rename as image editors save,
// and hands the changed ones over once a burst of writes has settled. The editor follows the skin
// folder and the files the pictures were imported from with it.
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/file_io.h"

namespace app {

class FileWatcher {
 public:
  // A burst of writes is taken once it has been quiet this long, and at the latest this long
  // after its first write, so that a change shows within half a second.
  static constexpr int kQuietMs = 150;
  static constexpr int kLongestWaitMs = 400;
  // While `ready` says no, changes are looked at again after this long.
  static constexpr int kRetryMs = 100;
  // While the first folder is gone, whether it is back is looked at this often.
  static constexpr int kReappearMs = 500;

  struct Change {
    std::size_t index;  // into the files given to Watch
    bool gone;          // the file is no longer there
  };

  // `ready` says whether changes may be taken now (no while a command of the editor runs);
  // `changed` receives the files whose stamp changed since they were last seen, in the order
  // Watch was given them.
  FileWatcher(std::function<bool()> ready, std::function<void(const std::vector<Change>&)> changed);

  // Follows `files` from now on, and `folders` so that a rename over one of the files is seen; a
  // file or folder that is not there yet is watched once it is. What a file holds at this moment
  // counts as seen, except for a file that was followed already, whose last seen version stays.
  // While the first of `folders` is gone nothing is watched; it is looked for until it is back.
  void Watch(std::vector<std::string> files, std::vector<std::string> folders = {});
  // Follows nothing; a later Watch sees every file anew.
  void Stop();
  const std::vector<std::string>& files() const { return files_; }

 private:
  void OnEvent();
  void Check();
  // Watches every folder and file that is there now and not yet watched: a file replaced by a
  // rename is a new file that needs a watch of its own.
  void AddWatches();

  std::function<bool()> ready_;
  std::function<void(const std::vector<Change>&)> changed_;
  QFileSystemWatcher watcher_;
  QTimer timer_;
  QTimer reappear_;
  QElapsedTimer burst_;
  std::vector<std::string> files_;
  std::vector<std::string> folders_;  // without their trailing separator, as Qt names them
  std::vector<base::FileStamp> seen_;
};

}  // namespace app

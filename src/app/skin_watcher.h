// The live link to a skin folder: notices when uisettings.ini or one of the 53 pictures changes on
// disk, whether rewritten in place or replaced by a rename as image editors save, and hands the
// changed files over once a burst of writes has settled.
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "session/skin_session.h"

namespace app {

using session::SkinFile;

class SkinWatcher {
 public:
  // A burst of writes is taken once it has been quiet this long, and at the latest this long
  // after its first write, so that a change shows within half a second.
  static constexpr int kQuietMs = 150;
  static constexpr int kLongestWaitMs = 400;
  // While `ready` says no, changes are looked at again after this long.
  static constexpr int kRetryMs = 100;
  // While the folder is gone, whether it is back is looked at this often.
  static constexpr int kReappearMs = 500;

  // `ready` says whether changes may be taken now (no while a command of the editor runs);
  // `changed` receives the files whose content changed since they were last seen, uisettings.ini
  // first, then the pictures in slot order. A file that has gone is not reported; once it is back
  // it counts as changed.
  SkinWatcher(std::function<bool()> ready,
              std::function<void(const std::vector<SkinFile>&)> changed);

  // Watches the skin folder `folder` (a trailing "/" is optional) from now on: what its files hold
  // at this moment counts as seen. Also after a save into the folder, so that the editor's own
  // writes never come back as changes.
  void Watch(const std::string& folder);
  void Stop();
  // The folder watched, with a trailing "/"; "" when none.
  const std::string& folder() const { return folder_; }

 private:
  static constexpr std::size_t kFileCount = SkinFile::kCount;
  // What tells one version of a file from another without opening it for reading, which never
  // blocks, also when a named pipe or a device has taken the file's place.
  base::FileStamp SignatureOf(std::size_t index) const;
  void OnEvent();
  void Check();
  // Watches the folder, icon/ and every file that is a regular file now and not yet watched: a
  // file replaced by a rename is a new file that needs a watch of its own.
  void AddWatches();

  std::function<bool()> ready_;
  std::function<void(const std::vector<SkinFile>&)> changed_;
  QFileSystemWatcher watcher_;
  QTimer timer_;
  QTimer reappear_;
  QElapsedTimer burst_;
  std::string folder_;
  std::array<base::FileStamp, kFileCount> seen_;
};

}  // namespace app

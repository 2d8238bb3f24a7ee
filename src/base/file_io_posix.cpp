// POSIX implementation of files and folders: every operation inside a folder is relative to the
// folder's descriptor and refuses to follow a symbolic link.
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "base/file_io.h"
#include "base/file_io_internal.h"

namespace base {
namespace {

struct FolderCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

FileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  return FileKind::kOther;
}

}  // namespace

namespace detail {

bool SystemRandomBytes(std::span<std::uint8_t> bytes) {
  return ::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) ==
         static_cast<ssize_t>(bytes.size());
}

}  // namespace detail

InputFile InputFile::Open(const std::string& path, ReadStatus* status) {
  ReadStatus ignored;
  ReadStatus& why = status != nullptr ? *status : ignored;
  why = ReadStatus::kCannotOpen;
  // Only regular files are opened: opening a named pipe waits for a writer, a device may act on
  // being opened. O_NONBLOCK guards against a file that is swapped for a pipe in between; it
  // changes nothing for a regular file.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    why = ReadStatus::kNotRegularFile;
    return {};
  }
  InputFile file;
  file.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (file.fd_ < 0) return {};
  if (::fstat(file.fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = ReadStatus::kNotRegularFile;
    return {};
  }
  file.size_ = static_cast<std::uint64_t>(st.st_size);
  why = ReadStatus::kOk;
  return file;
}

bool InputFile::is_open() const { return fd_ >= 0; }

void InputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::int64_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (fd_ < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return -1;
  while (true) {
    const ssize_t n = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

FileKind KindOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return FileKind::kMissing;
  return KindOfMode(st.st_mode);
}

FileStamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  constexpr std::int64_t kNs = 1000000000;
  return {KindOfMode(st.st_mode),
          static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size),
          st.st_mtim.tv_sec * kNs + st.st_mtim.tv_nsec,
          st.st_ctim.tv_sec * kNs + st.st_ctim.tv_nsec};
}

bool CanWriteInFolder(const std::string& path) {
  return !path.empty() && IsFolder(path) && ::access(path.c_str(), W_OK) == 0;
}

Folder Folder::Open(const std::string& path) {
  Folder folder;
  folder.fd_ = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return folder;
}

bool Folder::is_open() const { return fd_ >= 0; }

void Folder::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Folder Folder::OpenSub(std::string_view name, bool create) const {
  if (!is_open() || !detail::IsPlainName(name)) return {};
  const std::string sub(name);
  // O_NOFOLLOW: a link in place of the sub-folder (as unzip restores one) would lead the writes
  // into whatever folder it names.
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  Folder folder;
  folder.fd_ = ::openat(fd_, sub.c_str(), kFlags);
  if (folder.fd_ < 0 && errno == ENOENT && create &&
      (::mkdirat(fd_, sub.c_str(), 0777) == 0 || errno == EEXIST)) {
    folder.fd_ = ::openat(fd_, sub.c_str(), kFlags);
  }
  return folder;
}

bool Folder::WriteFileAtomically(std::string_view name, std::span<const std::uint8_t> bytes) const {
  if (!is_open() || !detail::IsPlainName(name)) return false;
  const std::string target(name);
  // A rename takes whatever the name is: a device node or a pipe there would be replaced by a
  // file. Only a regular file or a link is replaced (a folder makes the rename fail anyway).
  struct stat st {};
  if (::fstatat(fd_, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode) &&
      !S_ISLNK(st.st_mode)) {
    return false;
  }
  int fd = -1;
  const std::string temp = detail::WriteNewTemporary(target, [&](const std::string& candidate) {
    // O_EXCL and O_NOFOLLOW: the temporary is always a new file, never one that a link of the
    // same name leads to. The mode is that of any new file, 0666 less the umask.
    fd = ::openat(fd_, candidate.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    return fd >= 0 ? 1 : errno == EEXIST ? 0 : -1;
  });
  if (temp.empty()) return false;
  // No fsync: the rename alone guarantees that a crash of the program or a failed write never
  // leaves a half-written target, and syncing each of a skin's 54 files would triple the time of
  // a save. (Common Linux file systems also order a replace-by-rename's data before the rename.)
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  ok = (::close(fd) == 0) && ok;
  // A rename replaces the name: a link there is replaced by the file, not followed; a folder
  // there stays and the rename fails.
  ok = ok && ::renameat(fd_, temp.c_str(), fd_, target.c_str()) == 0;
  if (!ok) ::unlinkat(fd_, temp.c_str(), 0);
  return ok;
}

void Folder::RemoveLeftoverTemporaries(std::span<const std::string> file_names) const {
  if (!is_open()) return;
  // The listing reads a duplicate of the folder's descriptor, which fdopendir takes over; it is
  // owned so that the listing is closed also when comparing names below runs out of memory.
  const int list_fd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  if (list_fd < 0) return;
  const std::unique_ptr<DIR, FolderCloser> dir(::fdopendir(list_fd));
  if (dir == nullptr) {
    ::close(list_fd);
    return;
  }
  ::rewinddir(dir.get());  // the duplicate shares its position with fd_
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.empty() || name[0] != '.') continue;
    const bool leftover =
        std::any_of(file_names.begin(), file_names.end(),
                    [&](const std::string& f) { return detail::IsLeftoverOf(name, f); });
    if (!leftover) continue;
    // Only a regular file is a leftover. Should the name be swapped for something else after the
    // check, unlinkat still removes only that name: a link goes, not what it names, and a folder
    // stays.
    struct stat st {};
    if (::fstatat(fd_, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(fd_, entry->d_name, 0);
    }
  }
}

}  // namespace base

// POSIX implementation of whole-file reading and atomic writing.
#include "base/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace base {
namespace {

constexpr std::string_view kTemporaryMark = ".skinsmith-";
constexpr std::size_t kTemporaryRandom = 6;  // the XXXXXX that mkstemp replaces
// A temporary keeps at most this much of its file's name, so that "." + name + mark + XXXXXX stays
// within the 255 bytes a file name may have, whatever the name's length.
constexpr std::size_t kTemporaryNameBytes = 200;

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

// The folder part of `path` with its separator ("" for a bare name) and the file part.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return {"", path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

// The part of the file name `name` that its temporaries carry: all of it, or its first
// kTemporaryNameBytes bytes, less the start of a UTF-8 character that the cut would split.
std::string_view TemporaryStem(std::string_view name) {
  if (name.size() <= kTemporaryNameBytes) return name;
  std::size_t cut = kTemporaryNameBytes;
  // A UTF-8 character has at most three continuation bytes (10xxxxxx) after its lead byte.
  for (int k = 0; k < 3 && cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80; ++k) {
    --cut;
  }
  return name.substr(0, cut);
}

bool IsLeftoverOf(std::string_view entry, std::string_view file_name) {
  const std::string_view stem = TemporaryStem(file_name);
  const std::size_t prefix = 1 + stem.size() + kTemporaryMark.size();
  if (entry.size() != prefix + kTemporaryRandom || entry[0] != '.' ||
      entry.substr(1, stem.size()) != stem ||
      entry.substr(1 + stem.size(), kTemporaryMark.size()) != kTemporaryMark) {
    return false;
  }
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::uint64_t max_bytes) {
  ReadResult result;
  // Only regular files are opened: opening a named pipe waits for a writer, a device may act on
  // being opened. O_NONBLOCK guards against a file that is swapped for a pipe in between; it
  // changes nothing for a regular file.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    result.status = ReadStatus::kNotRegularFile;
    return result;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return result;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    result.status = ReadStatus::kNotRegularFile;
    return result;
  }
  if (static_cast<std::uint64_t>(st.st_size) > max_bytes) {
    ::close(fd);
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      result.bytes.clear();
      result.status = ReadStatus::kReadError;
      return result;
    }
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  result.bytes.resize(done);
  result.status = ReadStatus::kOk;
  return result;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string TemporaryNameFor(const std::string& path) {
  const auto [folder, name] = SplitPath(path);
  return folder + "." + std::string(TemporaryStem(name)) + std::string(kTemporaryMark) +
         std::string(kTemporaryRandom, 'X');
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string temp = TemporaryNameFor(path);
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  // No fsync: the rename alone guarantees that a crash of the program or a failed write never
  // leaves a half-written target, and syncing each of a skin's 54 files would triple the time of
  // a save. (Common Linux file systems also order a replace-by-rename's data before the rename.)
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  // Keep the permissions a newly created file would get rather than mkstemp's 0600.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ok = ok && ::fchmod(fd, 0666 & ~mask) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

void RemoveLeftoverTemporaries(const std::string& folder, std::span<const std::string> file_names) {
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  // Owned so that the folder is closed also when building a path below runs out of memory.
  const std::unique_ptr<DIR, FolderCloser> dir(::opendir(base.empty() ? "." : base.c_str()));
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.empty() || name[0] != '.') continue;
    const bool leftover = std::any_of(file_names.begin(), file_names.end(),
                                      [&](const std::string& f) { return IsLeftoverOf(name, f); });
    if (!leftover) continue;
    const std::string path = base + std::string(name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
}

bool MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace base

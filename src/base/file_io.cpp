// POSIX implementation of whole-file reading and atomic writing.
#include "base/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <memory>

namespace base {
namespace {

constexpr std::string_view kTemporaryMark = ".skinsmith-";
constexpr std::size_t kTemporaryRandom = 6;  // the letters and digits in place of XXXXXX
// How many names a write tries for its temporary before it gives up; each try clashes only with a
// file that has the same six random characters.
constexpr int kTemporaryTries = 100;
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

// A single name within a folder, which cannot lead anywhere else.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Six random letters and digits for a temporary's name.
std::string RandomCharacters() {
  static constexpr char kAlphabet[] =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  unsigned char bytes[kTemporaryRandom]{};
  if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // No random numbers yet (early in a boot): the clock and a count still differ from try to try,
    // and a name that clashes is only one more try.
    static std::atomic<std::uint64_t> count{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^
                      (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                      (++count * 0x9E3779B97F4A7C15u);
    for (unsigned char& b : bytes) {
      x = x * 6364136223846793005u + 1442695040888963407u;
      b = static_cast<unsigned char>(x >> 56);
    }
  }
  std::string out;
  for (const unsigned char b : bytes) out += kAlphabet[b % (sizeof kAlphabet - 1)];
  return out;
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
  const auto [folder, name] = SplitPath(path);
  return Folder::Open(folder).WriteFileAtomically(name, bytes);
}

void RemoveLeftoverTemporaries(const std::string& folder, std::span<const std::string> file_names) {
  Folder::Open(folder).RemoveLeftoverTemporaries(file_names);
}

Folder::Folder(Folder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

Folder::~Folder() {
  if (fd_ >= 0) ::close(fd_);
}

Folder Folder::Open(const std::string& path) {
  return Folder(::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

Folder Folder::OpenSub(std::string_view name, bool create) const {
  if (!is_open() || !IsPlainName(name)) return {};
  const std::string sub(name);
  // O_NOFOLLOW: a link in place of the sub-folder (as unzip restores one) would lead the writes
  // into whatever folder it names.
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(fd_, sub.c_str(), kFlags);
  if (fd < 0 && errno == ENOENT && create &&
      (::mkdirat(fd_, sub.c_str(), 0777) == 0 || errno == EEXIST)) {
    fd = ::openat(fd_, sub.c_str(), kFlags);
  }
  return Folder(fd);
}

bool Folder::WriteFileAtomically(std::string_view name, std::span<const std::uint8_t> bytes) const {
  if (!is_open() || !IsPlainName(name)) return false;
  const std::string target(name);
  const std::string pattern = TemporaryNameFor(target);
  const std::string_view stem =
      std::string_view(pattern).substr(0, pattern.size() - kTemporaryRandom);
  std::string temp;
  int fd = -1;
  for (int tries = 0; fd < 0 && tries < kTemporaryTries; ++tries) {
    temp = std::string(stem) + RandomCharacters();
    // O_EXCL and O_NOFOLLOW: the temporary is always a new file, never one that a link of the
    // same name leads to. The mode is that of any new file, 0666 less the umask.
    fd = ::openat(fd_, temp.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
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
    const bool leftover = std::any_of(file_names.begin(), file_names.end(),
                                      [&](const std::string& f) { return IsLeftoverOf(name, f); });
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

// Whole-file reading and crash-safe whole-file writing. The only file of the core that speaks to
// the operating system directly.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {

enum class ReadStatus { kOk, kCannotOpen, kNotRegularFile, kTooLarge, kReadError };

struct ReadResult {
  ReadStatus status = ReadStatus::kCannotOpen;
  std::vector<std::uint8_t> bytes;
};

// Reads the file at `path` (UTF-8) into memory. A file larger than `max_bytes` is not read
// (kTooLarge, nothing allocated); a path that cannot be opened gives kCannotOpen, and a folder,
// named pipe, device or socket kNotRegularFile. Opening never blocks, whatever the path names.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t max_bytes);

// Whether `path` names a regular file (after following links). Does not open it.
bool IsRegularFile(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same folder that is then renamed over
// the target, so the target is either the old file or the complete new one. Short
// writes and a full disk count as failure. On failure the temporary file is removed, the old file
// stays as it was and false is returned. The temporary file is named TemporaryNameFor(path) with
// six letters or digits in place of its XXXXXX. The folder part of `path` may lead through
// symbolic links; a target that is a link is replaced by the file, never written through.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The pattern of the temporary files WriteFileAtomically makes for `path`: in the same folder, the
// hidden name "." + file name + ".skinsmith-XXXXXX". Of a file name longer than 200 bytes only the
// first 200 are taken (fewer where that would split a UTF-8 character), so that the temporary's
// name is no longer than the longest name the folder takes.
std::string TemporaryNameFor(const std::string& path);

// Removes the temporary files that writes of `file_names` into `folder` left behind when they were
// killed before their rename: regular files named as TemporaryNameFor gives, with six letters or
// digits in place of XXXXXX. Nothing else is touched, a symbolic link of such a name included.
void RemoveLeftoverTemporaries(const std::string& folder, std::span<const std::string> file_names);

// A folder opened once, in which files are then made, replaced and removed by name, so that what
// is written stays inside it whatever its entries are swapped for meanwhile. Nothing is done
// through a symbolic link inside it: a sub-folder that is a link is not opened, a file name that
// is a link is replaced together with the link, and only regular files are removed. The names
// these functions take are single names: one with a "/" or a NUL, "", "." and ".." are refused.
class Folder {
 public:
  Folder() = default;  // not open: every write fails, nothing is removed
  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&& other) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder();

  // The folder at `path` ("" is the current folder); not open when it cannot be opened as a
  // folder. The path may lead through symbolic links: it is the place the user chose.
  static Folder Open(const std::string& path);

  // The sub-folder `name`, made first (one level) when it is missing and `create` is set. Not open
  // when it cannot be made or opened, when it is no folder, or when it is a symbolic link.
  Folder OpenSub(std::string_view name, bool create) const;

  bool is_open() const { return fd_ >= 0; }

  // WriteFileAtomically of the file `name` in this folder.
  bool WriteFileAtomically(std::string_view name, std::span<const std::uint8_t> bytes) const;

  // RemoveLeftoverTemporaries of this folder.
  void RemoveLeftoverTemporaries(std::span<const std::string> file_names) const;

 private:
  explicit Folder(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace base

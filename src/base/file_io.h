// Files and folders as the program uses them: whole-file reads of regular files with a size cap,
// crash-safe whole-file writes that never follow a link, and what tells one version of a file from
// another. One interface with a POSIX and a Win32 implementation; paths are UTF-8 (base/paths.h).
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

// Reads the file at `path` into memory. A file larger than `max_bytes` is not read (kTooLarge,
// nothing allocated); a path that cannot be opened gives kCannotOpen, and a folder, named pipe,
// device or socket kNotRegularFile (on Windows also a device name such as "NUL" or "COM1" in any
// folder). Opening never blocks, whatever the path names.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t max_bytes);

// A regular file open for reading at any offset, as a ZIP reader wants it. Opened as ReadWholeFile
// opens files: only a regular file, never blocking.
class InputFile {
 public:
  InputFile() = default;  // not open: every read gives nothing
  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // The file at `path`; not open when it cannot be opened (`status`, when given, says why).
  static InputFile Open(const std::string& path, ReadStatus* status = nullptr);

  bool is_open() const;
  // The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to `count` bytes at `offset` into `buffer`: the number read, fewer at the end of the
  // file, -1 on a read error.
  std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  void Close();
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  std::uint64_t size_ = 0;
};

enum class FileKind { kMissing, kRegular, kFolder, kOther };

// What `path` names, after following links: nothing, a regular file, a folder or something else
// (a pipe, a device, a socket). Never opens what it names for reading.
FileKind KindOf(const std::string& path);
inline bool IsRegularFile(const std::string& path) { return KindOf(path) == FileKind::kRegular; }
inline bool IsFolder(const std::string& path) { return KindOf(path) == FileKind::kFolder; }

// What tells one version of a file from another without reading it: which file it is (the volume
// and the file's number there) and its size and times. Times count in the system's own units
// (nanoseconds, or 100 ns on Windows); compare them, do not read them as dates.
struct FileStamp {
  FileKind kind = FileKind::kMissing;
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  std::int64_t changed = 0;  // the last change of content or attributes, where the system has one
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `path` after following links; kind kMissing and all zero when it names nothing.
FileStamp StampOf(const std::string& path);

// Whether `a` and `b` are the same file or folder (the same volume and number). False when either
// names nothing.
bool SameFile(const FileStamp& a, const FileStamp& b);

// Whether files can be made in the folder `path`: it exists and the user may write there.
bool CanWriteInFolder(const std::string& path);

// Makes the folder `path` with the folders that lead to it. True when it is a folder afterwards.
bool MakeFolders(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same folder that is then renamed over
// the target, so the target is either the old file or the complete new one. Short writes and a
// full disk count as failure. On failure the temporary file is removed, the old file stays as it
// was and false is returned. The temporary file is named TemporaryNameFor(path) with six letters
// or digits in place of its XXXXXX. The folder part of `path` may lead through symbolic links; a
// target that is a link is replaced by the file, never written through; a target that is neither a
// regular file nor a link (a folder, a device, a named pipe) is left alone and the write fails. A
// target that another program holds open (as virus scanners do on Windows) is tried again for
// about a second before the write fails.
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
// through a symbolic link (or, on Windows, a junction) inside it: a sub-folder that is a link is
// not opened, a file name that is a link is replaced together with the link, and only regular
// files are removed. The names these functions take are single names: one with a separator, a
// NUL or (on Windows) a ":", "", "." and ".." are refused.
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
  // when it cannot be made or opened, when it is no folder, or when it is a link.
  Folder OpenSub(std::string_view name, bool create) const;

  bool is_open() const;

  // WriteFileAtomically of the file `name` in this folder.
  bool WriteFileAtomically(std::string_view name, std::span<const std::uint8_t> bytes) const;

  // RemoveLeftoverTemporaries of this folder.
  void RemoveLeftoverTemporaries(std::span<const std::string> file_names) const;

 private:
  void Close();
#ifdef _WIN32
  // The folder's handle, held open without sharing deletion, so that the folder cannot be moved
  // or removed while it is open, and its path, through which its entries are named.
  void* handle_ = nullptr;
  std::wstring path_;
#else
  int fd_ = -1;
#endif
};

}  // namespace base

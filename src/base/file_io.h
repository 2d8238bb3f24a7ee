// Whole-file reading and crash-safe whole-file writing. The only file of the core that speaks to
// the operating system directly.
#pragma once

#include <cstdint>
#include <span>
#include <string>
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
// six characters in place of its XXXXXX.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The pattern of the temporary files WriteFileAtomically makes for `path`: in the same folder, the
// hidden name "." + file name + ".skinsmith-XXXXXX". Of a file name longer than 200 bytes only the
// first 200 are taken (fewer where that would split a UTF-8 character), so that the temporary's
// name is no longer than the longest name the folder takes.
std::string TemporaryNameFor(const std::string& path);

// Removes the temporary files that writes of `file_names` into `folder` left behind when they were
// killed before their rename: regular files named as TemporaryNameFor gives, with six letters or
// digits in place of XXXXXX. Nothing else is touched.
void RemoveLeftoverTemporaries(const std::string& folder, std::span<const std::string> file_names);

// Creates one folder level; true when it exists afterwards.
bool MakeFolder(const std::string& path);

}  // namespace base

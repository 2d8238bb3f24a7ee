// Whole-file reading and crash-safe whole-file writing. The only file of the core that speaks to
// the operating system directly.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace imaging {

enum class ReadStatus { kOk, kCannotOpen, kTooLarge, kReadError };

struct ReadResult {
  ReadStatus status = ReadStatus::kCannotOpen;
  std::vector<std::uint8_t> bytes;
};

// Reads the file at `path` (UTF-8) into memory. A file larger than `max_bytes` is not read
// (kTooLarge, nothing allocated); a path that cannot be opened as a regular file gives kCannotOpen.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t max_bytes);

// Writes `bytes` to `path` through a temporary file in the same folder that is then renamed over
// the target, so the target is either the old file or the complete new one. Short
// writes and a full disk count as failure. On failure the temporary file is removed, the old file
// stays as it was and false is returned.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Creates one folder level; true when it exists afterwards.
bool MakeFolder(const std::string& path);

}  // namespace imaging

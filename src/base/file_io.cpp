// The parts of file reading and writing that are the same on every system.
#include "base/file_io.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "base/file_io_internal.h"
#include "base/paths.h"

namespace base {
namespace detail {
namespace {

// A temporary keeps at most this much of its file's name, so that "." + name + mark + XXXXXX stays
// within the 255 bytes a file name may have, whatever the name's length.
constexpr std::size_t kTemporaryNameBytes = 200;

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

bool IsAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string TemporaryPrefix(std::string_view name) {
  return "." + std::string(TemporaryStem(name)) + std::string(kTemporaryMark);
}

bool IsLeftoverOf(std::string_view entry, std::string_view file_name) {
  const std::string prefix = TemporaryPrefix(file_name);
  return entry.size() == prefix.size() + kTemporaryRandom && entry.starts_with(prefix) &&
         std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     IsAlphanumeric);
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos) {
    return false;
  }
#ifdef _WIN32
  // A ":" names a stream of a file, a device name a device in every folder.
  if (name.find(':') != std::string_view::npos || NamesDevice(name)) return false;
#endif
  return std::none_of(name.begin(), name.end(), IsPathSeparator);
}

std::string RandomCharacters() {
  static constexpr char kAlphabet[] =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::uint8_t bytes[kTemporaryRandom]{};
  if (!SystemRandomBytes(bytes)) {
    // No random numbers yet (early in a boot): the clock and a count still differ from try to try,
    // and a name that clashes is only one more try.
    static std::atomic<std::uint64_t> count{0};
    std::uint64_t x =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
        (++count * 0x9E3779B97F4A7C15u);
    for (std::uint8_t& b : bytes) {
      x = x * 6364136223846793005u + 1442695040888963407u;
      b = static_cast<std::uint8_t>(x >> 56);
    }
  }
  std::string out;
  for (const std::uint8_t b : bytes) out += kAlphabet[b % (sizeof kAlphabet - 1)];
  return out;
}

}  // namespace detail

ReadResult ReadWholeFile(const std::string& path, std::uint64_t max_bytes) {
  ReadResult result;
  const InputFile file = InputFile::Open(path, &result.status);
  if (!file.is_open()) return result;
  if (file.size() > max_bytes) {
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(file.size()));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    const std::int64_t n =
        file.ReadAt(done, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0) {
      result.bytes.clear();
      result.status = ReadStatus::kReadError;
      return result;
    }
    if (n == 0) break;  // the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  result.bytes.resize(done);
  result.status = ReadStatus::kOk;
  return result;
}

InputFile::InputFile(InputFile&& other) noexcept { *this = std::move(other); }

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Close();
#ifdef _WIN32
    std::swap(handle_, other.handle_);
#else
    std::swap(fd_, other.fd_);
#endif
    size_ = other.size_;
  }
  return *this;
}

InputFile::~InputFile() { Close(); }

bool SameFile(const FileStamp& a, const FileStamp& b) {
  return a.kind != FileKind::kMissing && b.kind != FileKind::kMissing && a.volume == b.volume &&
         a.index == b.index;
}

bool MakeFolders(const std::string& path) {
  std::error_code ignored;  // what could not be made shows in the check below
  std::filesystem::create_directories(FsPath(path), ignored);
  return IsFolder(path);
}

std::string TemporaryNameFor(const std::string& path) {
  return std::string(FolderOf(path)) + detail::TemporaryPrefix(FileNameOf(path)) +
         std::string(detail::kTemporaryRandom, 'X');
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty() || IsPathSeparator(path.back())) return false;  // names a folder
  return Folder::Open(std::string(FolderOf(path))).WriteFileAtomically(FileNameOf(path), bytes);
}

void RemoveLeftoverTemporaries(const std::string& folder, std::span<const std::string> file_names) {
  Folder::Open(folder).RemoveLeftoverTemporaries(file_names);
}

Folder::Folder(Folder&& other) noexcept { *this = std::move(other); }

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    Close();
#ifdef _WIN32
    std::swap(handle_, other.handle_);
    path_ = std::move(other.path_);
#else
    std::swap(fd_, other.fd_);
#endif
  }
  return *this;
}

Folder::~Folder() { Close(); }

}  // namespace base

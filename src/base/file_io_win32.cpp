// Win32 implementation of files and folders. Win32 has no calls relative to a folder's handle, so
// an open folder is held without sharing deletion (it cannot be moved or removed while open) and
// its entries are named through the folder's final path; a sub-folder or a file is opened as the
// entry itself (FILE_FLAG_OPEN_REPARSE_POINT), so that a symbolic link or a junction is seen and
// refused instead of followed. Only disk files are read: GetFileType tells devices and pipes.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// windows.h first: bcrypt.h takes its types.
#include <bcrypt.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "base/file_io.h"
#include "base/file_io_internal.h"
#include "base/paths.h"
#include "base/win32_internal.h"

namespace base {
namespace {

using detail::WidePath;

// Replacing a file that another program holds open (a virus scanner looking at what was just
// written, an image viewer) fails for a moment: it is tried this often, this far apart.
constexpr int kReplaceTries = 20;
constexpr DWORD kReplaceWaitMs = 50;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE h_;
};

// A path into the device namespace ("\\.\pipe\x", "//./COM1") or one whose last name Windows
// opens as a device in any folder ("NUL", "con.txt"): never a regular file, and never opened.
bool NamesDevicePath(std::string_view path) {
  if (path.size() >= 4 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && path[2] == '.' &&
      IsPathSeparator(path[3])) {
    return true;
  }
  return NamesDevice(FileNameOf(path));
}

FileKind KindOfAttributes(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::kFolder : FileKind::kRegular;
}

// The file or folder at `path`, following links, opened only to read its attributes.
HANDLE OpenForAttributes(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::int64_t Ticks(FILETIME t) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
}

bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

namespace detail {

bool SystemRandomBytes(std::span<std::uint8_t> bytes) {
  return BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

}  // namespace detail

InputFile InputFile::Open(const std::string& path, ReadStatus* status) {
  ReadStatus ignored;
  ReadStatus& why = status != nullptr ? *status : ignored;
  why = ReadStatus::kCannotOpen;
  if (NamesDevicePath(path)) {
    why = ReadStatus::kNotRegularFile;
    return {};
  }
  const std::wstring wide = WidePath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    why = ReadStatus::kNotRegularFile;
    return {};
  }
  Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  if (::GetFileType(file.get()) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
    why = ReadStatus::kNotRegularFile;
    return {};
  }
  InputFile input;
  input.handle_ = file.release();
  input.size_ = static_cast<std::uint64_t>(size.QuadPart);
  why = ReadStatus::kOk;
  return input;
}

bool InputFile::is_open() const { return handle_ != nullptr; }

void InputFile::Close() {
  if (handle_ != nullptr) ::CloseHandle(handle_);
  handle_ = nullptr;
}

std::int64_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (handle_ == nullptr) return -1;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
  if (!::ReadFile(handle_, buffer, chunk, &read, &at)) {
    return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return read;
}

FileKind KindOf(const std::string& path) {
  if (NamesDevicePath(path)) return FileKind::kOther;
  const std::wstring wide = WidePath(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::kMissing;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return KindOfAttributes(attributes);
  // A link: what it leads to decides.
  Handle file(OpenForAttributes(wide));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.ok() || !::GetFileInformationByHandle(file.get(), &info)) return FileKind::kMissing;
  return KindOfAttributes(info.dwFileAttributes);
}

FileStamp StampOf(const std::string& path) {
  if (NamesDevicePath(path)) return {FileKind::kOther};
  Handle file(OpenForAttributes(WidePath(path)));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.ok() || !::GetFileInformationByHandle(file.get(), &info)) return {};
  FILE_BASIC_INFO basic{};
  const std::int64_t changed =
      ::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)
          ? basic.ChangeTime.QuadPart
          : 0;
  return {KindOfAttributes(info.dwFileAttributes),
          info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
          (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
          Ticks(info.ftLastWriteTime),
          changed};
}

bool CanWriteInFolder(const std::string& path) {
  if (path.empty() || !IsFolder(path)) return false;
  // The access rules of a folder are lists that only an attempt reads correctly: a file that goes
  // when it is closed is made and closed.
  const std::wstring folder = WidePath(FolderWithSeparator(path));
  for (int tries = 0; tries < detail::kTemporaryTries; ++tries) {
    const std::wstring probe =
        folder + detail::WideFromUtf8(".skinsmith-probe-" + detail::RandomCharacters());
    Handle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file.ok()) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

Folder Folder::Open(const std::string& path) {
  const std::wstring wide = WidePath(path.empty() ? "." : path);
  Handle folder(::CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!folder.ok() || !::GetFileInformationByHandle(folder.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return {};
  }
  // The folder's own path, links on the way resolved: the entries are named through it.
  std::wstring final_path(MAX_PATH, L'\0');
  DWORD n = ::GetFinalPathNameByHandleW(folder.get(), final_path.data(),
                                        static_cast<DWORD>(final_path.size()), 0);
  if (n >= final_path.size()) {
    final_path.resize(n + 1);
    n = ::GetFinalPathNameByHandleW(folder.get(), final_path.data(),
                                    static_cast<DWORD>(final_path.size()), 0);
  }
  if (n == 0 || n >= final_path.size()) {
    n = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(final_path.size()), final_path.data(),
                           nullptr);
    if (n == 0 || n >= final_path.size()) return {};
  }
  final_path.resize(n);
  while (!final_path.empty() && final_path.back() == L'\\') final_path.pop_back();
  Folder open;
  open.handle_ = folder.release();
  open.path_ = std::move(final_path);
  return open;
}

bool Folder::is_open() const { return handle_ != nullptr; }

void Folder::Close() {
  if (handle_ != nullptr) ::CloseHandle(handle_);
  handle_ = nullptr;
  path_.clear();
}

Folder Folder::OpenSub(std::string_view name, bool create) const {
  if (!is_open() || !detail::IsPlainName(name)) return {};
  const std::wstring sub = path_ + L"\\" + detail::WideFromUtf8(name);
  if (create) ::CreateDirectoryW(sub.c_str(), nullptr);  // an existing one is opened below
  // The entry itself, not what a link or a junction there leads to.
  Handle folder(::CreateFileW(sub.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!folder.ok() || !::GetFileInformationByHandle(folder.get(), &info)) return {};
  // Windows tells a reparse point by the open entry's attributes; Wine, which shows the host's
  // symbolic links as reparse points, only by the name's. Either refuses it.
  const DWORD named = ::GetFileAttributesW(sub.c_str());
  if (((info.dwFileAttributes | named) & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
      named == INVALID_FILE_ATTRIBUTES || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return {};
  }
  Folder open;
  open.handle_ = folder.release();
  open.path_ = sub;
  return open;
}

bool Folder::WriteFileAtomically(std::string_view name, std::span<const std::uint8_t> bytes) const {
  if (!is_open() || !detail::IsPlainName(name)) return false;
  const std::wstring target = path_ + L"\\" + detail::WideFromUtf8(name);
  // A folder, or a junction or link to one, stays; so does anything that is not a disk file.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return false;
  }
  HANDLE out = INVALID_HANDLE_VALUE;
  const std::string temp_name = detail::WriteNewTemporary(name, [&](const std::string& candidate) {
    const std::wstring temp = path_ + L"\\" + detail::WideFromUtf8(candidate);
    // CREATE_NEW: always a new file, never one that a link of the same name leads to.
    out = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (out != INVALID_HANDLE_VALUE) return 1;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? 0 : -1;
  });
  if (temp_name.empty()) return false;
  const std::wstring temp = path_ + L"\\" + detail::WideFromUtf8(temp_name);
  bool ok = WriteAll(out, bytes.data(), bytes.size());
  ok = ::CloseHandle(out) && ok;
  // A rename replaces the name: a link there is replaced by the file, not followed.
  bool replaced = false;
  for (int tries = 0; ok && !replaced && tries < kReplaceTries; ++tries) {
    if (tries > 0) ::Sleep(kReplaceWaitMs);
    replaced = ::MoveFileExW(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    const DWORD error = replaced ? ERROR_SUCCESS : ::GetLastError();
    if (!replaced && error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION &&
        error != ERROR_LOCK_VIOLATION) {
      break;
    }
  }
  if (!replaced) ::DeleteFileW(temp.c_str());
  return ok && replaced;
}

void Folder::RemoveLeftoverTemporaries(std::span<const std::string> file_names) const {
  if (!is_open()) return;
  WIN32_FIND_DATAW entry{};
  const std::wstring pattern = path_ + L"\\.*";
  HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = detail::Utf8FromWide(entry.cFileName);
    const bool leftover =
        std::any_of(file_names.begin(), file_names.end(),
                    [&](const std::string& f) { return detail::IsLeftoverOf(name, f); });
    // Only a regular file is a leftover, never a link: the listing's attributes tell on Windows,
    // the name's under Wine, which also deletes what a link names.
    constexpr DWORD kNotAFile =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    const std::wstring path = path_ + L"\\" + entry.cFileName;
    if (leftover && (entry.dwFileAttributes & kNotAFile) == 0 &&
        (::GetFileAttributesW(path.c_str()) & kNotAFile) == 0) {
      ::DeleteFileW(path.c_str());
    }
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
}

}  // namespace base

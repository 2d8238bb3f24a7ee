// Path text helpers.
#include "base/paths.h"

#include <algorithm>
#include <vector>

namespace base {
namespace {

#ifdef _WIN32
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Upper(x) == Upper(y); });
}

// The length of the root that starts `path` and is never taken apart: "/" or "C:/" (and "C:" with
// "\" on Windows); 0 for a relative path.
std::size_t RootLength(std::string_view path) {
  if (kBackslashSeparates && path.size() >= 2 && path[1] == ':') {
    return path.size() >= 3 && IsPathSeparator(path[2]) ? 3 : 2;
  }
  return !path.empty() && IsPathSeparator(path[0]) ? 1 : 0;
}

// The names of `path` after its root, empty ones and "." left out.
std::vector<std::string_view> NamesOf(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = RootLength(path);
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    const std::string_view name = path.substr(start, end - start);
    if (!name.empty() && name != ".") names.push_back(name);
    start = end + 1;
  }
  return names;
}

bool SameName(std::string_view a, std::string_view b) {
  return kBackslashSeparates ? EqualsIgnoringCase(a, b) : a == b;
}

// Whether the roots of two absolute paths are the same: "/" and "/", or one drive.
bool SameRoot(std::string_view a, std::string_view b) {
  const std::size_t length = RootLength(a);
  return length == RootLength(b) && (length < 2 || Upper(a[0]) == Upper(b[0]));
}

}  // namespace

bool IsPathSeparator(char c) { return c == '/' || (kBackslashSeparates && c == '\\'); }

std::string_view FileNameOf(std::string_view path) {
  const std::size_t root = RootLength(path);
  std::size_t end = path.size();
  while (end > root && IsPathSeparator(path[end - 1])) --end;
  std::size_t start = end;
  while (start > root && !IsPathSeparator(path[start - 1])) --start;
  return path.substr(start, end - start);
}

std::string_view FolderOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  if (name.empty()) return path.substr(0, RootLength(path));
  return path.substr(0, static_cast<std::size_t>(name.data() - path.data()));
}

char SeparatorOf(std::string_view path) {
  const bool backslashes = kBackslashSeparates && path.find('\\') != std::string_view::npos &&
                           path.find('/') == std::string_view::npos;
  return backslashes ? '\\' : '/';
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsPathSeparator(path.back())) path += SeparatorOf(folder);
  return path.append(name);
}

std::string DisplayPath(std::string_view path) {
  std::string shown(path);
  if (kBackslashSeparates) std::replace(shown.begin(), shown.end(), '/', '\\');
  return shown;
}

std::string FolderWithSeparator(std::string folder) {
  while (folder.size() > 1 && IsPathSeparator(folder.back()) &&
         IsPathSeparator(folder[folder.size() - 2])) {
    folder.pop_back();
  }
  if (!folder.empty() && !IsPathSeparator(folder.back())) folder += SeparatorOf(folder);
  return folder;
}

std::string WithoutTrailingSeparator(std::string path) {
  const std::size_t root = RootLength(path);
  while (path.size() > std::max<std::size_t>(root, 1) && IsPathSeparator(path.back())) {
    path.pop_back();
  }
  return path;
}

bool HasExtension(std::string_view path, std::string_view extension) {
  const std::string_view name = FileNameOf(path);
  return name.size() >= extension.size() &&
         EqualsIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

bool IsDeviceName(std::string_view stem) {
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (EqualsIgnoringCase(stem, device)) return true;
  }
  if (stem.size() < 4 || !(EqualsIgnoringCase(stem.substr(0, 3), "COM") ||
                           EqualsIgnoringCase(stem.substr(0, 3), "LPT"))) {
    return false;
  }
  const std::string_view digit = stem.substr(3);
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
         digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool NamesDevice(std::string_view name) {
  std::size_t end = std::min(name.find('.'), name.size());
  while (end > 0 && name[end - 1] == ' ') --end;
  return IsDeviceName(name.substr(0, end));
}

bool IsNetworkPath(std::string_view path) {
  return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

bool IsAbsolutePath(std::string_view path) {
  // On Windows "/a" and "C:a" depend on the current drive and its current folder.
  return IsNetworkPath(path) || RootLength(path) == (kBackslashSeparates ? 3 : 1);
}

std::string NearRelativePath(std::string_view folder, std::string_view path) {
  if (!IsAbsolutePath(folder) || !IsAbsolutePath(path) || IsNetworkPath(folder) ||
      IsNetworkPath(path) || !SameRoot(folder, path)) {
    return {};
  }
  const std::vector<std::string_view> in = NamesOf(folder), names = NamesOf(path);
  for (const auto& list : {in, names}) {
    if (std::find(list.begin(), list.end(), "..") != list.end()) return {};
  }
  // How many of the folder's names the path shares: all of them, or all but the last.
  std::size_t shared = 0;
  while (shared < in.size() && shared < names.size() && SameName(in[shared], names[shared]))
    ++shared;
  if (shared + 1 < in.size() || shared >= names.size()) return {};
  std::string relative = shared < in.size() ? "../" : "";
  for (std::size_t i = shared; i < names.size(); ++i) {
    relative.append(names[i]);
    if (i + 1 < names.size()) relative += '/';
  }
  return relative;
}

std::optional<std::string> ResolveNearPath(std::string_view folder, std::string_view relative) {
  if (!IsAbsolutePath(folder) || IsNetworkPath(folder) || relative.empty() ||
      RootLength(relative) > 0 || relative.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  const std::vector<std::string_view> names = NamesOf(relative);
  const bool beside = !names.empty() && names.front() == "..";
  if (names.size() <= (beside ? 1u : 0u)) return std::nullopt;
  for (std::size_t i = beside ? 1 : 0; i < names.size(); ++i) {
    if (names[i] == ".." || (kBackslashSeparates && names[i].find(':') != std::string_view::npos))
      return std::nullopt;
  }
  std::string path = WithoutTrailingSeparator(std::string(folder));
  if (beside) {
    if (NamesOf(path).empty()) return std::nullopt;
    path = WithoutTrailingSeparator(std::string(FolderOf(path)));
  }
  const char separator = SeparatorOf(folder);
  for (std::size_t i = beside ? 1 : 0; i < names.size(); ++i) {
    if (path.empty() || !IsPathSeparator(path.back())) path += separator;
    path.append(names[i]);
  }
  return path;
}

std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace base

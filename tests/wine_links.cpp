// Links to folders for the tests under Wine. Wine makes no links through Win32 (and no junctions
// either), but it shows a host's link to a folder to a Windows program as a reparse point, as
// Windows shows a junction: the tests make one on the host, with the host's own system call, so
// that what guards a save against junctions is tested on Windows too. A host's link to a file
// Wine shows as the file itself, which no Windows program could tell, so none is made.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <filesystem>

namespace testing_support {

bool MakeHostFolderLink(const std::filesystem::path& target, const std::filesystem::path& link) {
#if defined(__x86_64__)
  // Present only under Wine: the host's name of a Windows path, in memory of the process heap.
  using UnixFileName = char*(CDECL*)(LPCWSTR);
  const auto unix_file_name = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_file_name == nullptr) return false;
  char* const host_target = unix_file_name(std::filesystem::absolute(target).c_str());
  char* const host_link = unix_file_name(std::filesystem::absolute(link).c_str());
  long result = -1;
  if (host_target != nullptr && host_link != nullptr) {
    constexpr long kLinuxSymlink = 88;  // symlink(2) on x86-64 Linux
    __asm__ volatile("syscall"
                     : "=a"(result)
                     : "a"(kLinuxSymlink), "D"(host_target), "S"(host_link)
                     : "rcx", "r11", "memory");
  }
  ::HeapFree(::GetProcessHeap(), 0, host_target);
  ::HeapFree(::GetProcessHeap(), 0, host_link);
  return result == 0;
#else
  static_cast<void>(target);
  static_cast<void>(link);
  return false;
#endif
}

bool IsReparsePoint(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace testing_support

// Paths as the program holds them: UTF-8 text, folders separated by "/" on every system and also
// by "\" on Windows, where the system's dialogs and command lines give them so. The only place that
// takes a path apart or puts one together.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// Whether `c` separates folders in a path: "/", and on Windows also "\".
bool IsPathSeparator(char c);

// The last name of `path`, trailing separators left out: "b.zip" of "a/b.zip", "b" of "a/b/",
// "" of "" and of "/".
std::string_view FileNameOf(std::string_view path);

// The folder that holds the last name of `path`, with its trailing separator: "a/" of "a/b.zip"
// and of "a/b/", "/" of "/a", "" of a bare name.
std::string_view FolderOf(std::string_view path);

// The separator that `path` itself uses: on Windows "\" for a path with a "\" and no "/", as
// the command line gives it; "/" otherwise, as Qt gives paths.
char SeparatorOf(std::string_view path);

// `folder` and `name` with one separator (SeparatorOf the folder) between them; `name` alone when
// `folder` is "".
std::string JoinPath(std::string_view folder, std::string_view name);

// `folder` ending in exactly one separator ("" stays "", "a//" becomes "a/", "a" becomes "a" with
// SeparatorOf("a") after it).
std::string FolderWithSeparator(std::string folder);

// `path` as the system's own programs show it: on Windows with "\" between all its folders.
std::string DisplayPath(std::string_view path);

// `path` without its trailing separators, a root ("/", "C:/") kept whole.
std::string WithoutTrailingSeparator(std::string path);

// Whether the extension of the last name of `path` is `extension` (".zip"), in any letter case.
bool HasExtension(std::string_view path, std::string_view extension);

// Whether `stem` (a file name up to its first dot, trailing blanks left out) is one that Windows
// keeps for a device in every folder: CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9 (also with a
// superscript digit), CONIN$ and CONOUT$, in any letter case.
bool IsDeviceName(std::string_view stem);

// Whether the single name `name` is one that Windows opens as a device rather than a file in any
// folder: a device name as IsDeviceName says, with or without an extension ("NUL", "con.txt").
bool NamesDevice(std::string_view name);

// Whether `path` names a place from the root of a drive: "/a" (on Windows "C:/a" or "C:\a"), or a
// network path as NetworkPath tells.
bool IsAbsolutePath(std::string_view path);

// Whether `path` starts with two separators: "//server/share" (on Windows also "\\server\share"
// and the device paths "\\?\" and "\\.\"), which may reach another computer when looked at.
bool IsNetworkPath(std::string_view path);

// `path` written relative to `folder` where it lies inside it ("a.png", "photos/a.png") or inside
// the folder that holds it ("../photos/a.png"), with "/" between its names; "" otherwise, and when
// either is not an absolute path, is a network path or holds a "..". Names are compared as the
// system compares them (on Windows without regard to the case of ASCII letters); links are not
// followed.
std::string NearRelativePath(std::string_view folder, std::string_view path);

// The path that `relative` (as NearRelativePath writes it, with "/" or the system's separators)
// names from the absolute `folder`; empty names and "." are left out. Nothing for an absolute
// path, a path with a NUL, a ".." anywhere but as its first name, a ".." from a root, nothing but
// ".." and "." and, on Windows, a name with a ":" (a drive or a file's stream).
std::optional<std::string> ResolveNearPath(std::string_view folder, std::string_view relative);

// std::filesystem::path of a UTF-8 path, and the UTF-8 text of a std::filesystem::path as it holds
// it. (On Windows a std::string given to std::filesystem is read in the ANSI code page, which
// cannot hold most names.)
std::filesystem::path FsPath(std::string_view utf8);
std::string Utf8Path(const std::filesystem::path& path);

}  // namespace base

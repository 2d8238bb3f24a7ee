// Helpers shared by the tests: a feedback recorder and a temporary folder.
#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/paths.h"
#include "base/system.h"
#include "i18n/ui_texts.h"
#include "imaging/image_decoder.h"
#include "skin/feedback.h"
#include "skin/messages.h"

// Skips the running test on Windows, where what it tests does not exist (named pipes in folders,
// POSIX permission bits), saying why.
#ifdef _WIN32
#define SKINSMITH_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "does not apply on Windows: " << (reason)
#else
#define SKINSMITH_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

// Makes a symbolic link as testing_support::MakeLink does, or skips the test where the system
// cannot make one (Windows without the right to make links; links to files under Wine).
#ifdef _WIN32
#define SKINSMITH_MAKE_LINK(...)               \
  if (!testing_support::MakeLink(__VA_ARGS__)) \
  SKINSMITH_SKIP_ON_WINDOWS("this kind of link cannot be made here")
#else
#define SKINSMITH_MAKE_LINK(...) ASSERT_TRUE(testing_support::MakeLink(__VA_ARGS__))
#endif

namespace testing_support {

#ifdef _WIN32
// Under Wine: a link to a folder made on the host, which Windows programs see as a reparse point
// (wine_links.cpp). False elsewhere.
bool MakeHostFolderLink(const std::filesystem::path& target, const std::filesystem::path& link);
#endif

#ifdef _WIN32
// Whether `path` names a link or a junction itself: the library's is_symlink does not see the
// host's links under Wine.
bool IsReparsePoint(const std::filesystem::path& path);
#endif

// Whether `path` is a symbolic link (on Windows, any reparse point).
inline bool IsLink(const std::filesystem::path& path) {
#ifdef _WIN32
  return IsReparsePoint(path);
#else
  return std::filesystem::is_symlink(path);
#endif
}

// Makes a symbolic link at `link` to `target` (a folder's link when `folder` is set); false where
// the system cannot (Windows without the right to make links; Wine, for links to files).
inline bool MakeLink(const std::filesystem::path& target, const std::filesystem::path& link,
                     bool folder = false) {
  std::error_code error;
  if (folder) {
    std::filesystem::create_directory_symlink(target, link, error);
  } else {
    std::filesystem::create_symlink(target, link, error);
  }
#ifdef _WIN32
  if (error && folder) return MakeHostFolderLink(target, link);
#endif
  return !error;
}

// Sets environment variables for as long as it lives; an empty value unsets the variable.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::initializer_list<std::pair<std::string, std::string>> values) {
    for (const auto& [name, value] : values) {
      old_.emplace_back(name, base::EnvironmentValue(name));
      Set(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : old_) Set(name, value.value_or(""));
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void Set(const std::string& name, const std::string& value) {
#ifdef _WIN32
    // Wide, for UTF-8 values; this also sets the process's environment block.
    ::_wputenv_s(base::FsPath(name).wstring().c_str(), base::FsPath(value).wstring().c_str());
#else
    if (value.empty()) {
      ::unsetenv(name.c_str());
    } else {
      ::setenv(name.c_str(), value.c_str(), 1);
    }
#endif
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> old_;
};

// The whole content of a file ("" when it cannot be read).
inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture in a BMP, PNG or JPEG file (none when the file cannot be read or decoded).
inline imaging::Decoded ReadPicture(const std::filesystem::path& path) {
  const std::string bytes = ReadFileText(path);
  return imaging::DecodeImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// The message texts in the built-in English wording, as the editor and the CLI show them.
inline skin::MessageTexts EnglishMessages() {
  const i18n::UiTexts texts;
  return skin::MakeMessageTexts([&](std::string_view key) { return texts.Text(key); });
}

// Records every message and progress value a core operation reports.
class RecordingFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string& text) override { messages.push_back(text); }
  void SetProgress(int value) override { progress.push_back(value); }

  std::vector<std::string> messages;
  std::vector<int> progress;
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int tries = 0; path_.empty() && tries < 100; ++tries) {
      const std::filesystem::path candidate = temp / ("skinsmith-test-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    RemoveTree(path_);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder with a trailing "/", as the skin operations take it.
  std::string folder() const { return base::FolderWithSeparator(base::Utf8Path(path_)); }

 private:
  // remove_all of MinGW's library goes round for ever on a folder it cannot remove (Wine keeps a
  // folder that is watched), so each entry is listed once and removed as far as it goes.
  static void RemoveTree(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, error))) {
      std::vector<std::filesystem::path> entries;
      for (std::filesystem::directory_iterator it(path, error), end; !error && it != end;
           it.increment(error)) {
        entries.push_back(it->path());
      }
      for (const std::filesystem::path& entry : entries) RemoveTree(entry);
    }
    std::filesystem::remove(path, error);
  }
  std::filesystem::path path_;
};

struct CliRun {
  int status;       // exit status, -1 when the program did not exit normally
  std::string err;  // what it printed: stderr for RunProgram, stdout for RunCommand
};

// Runs the shell command `command` and returns its exit status and what it printed on stdout. On
// Windows the command is run by cmd.exe: the few POSIX shell words the tests use are put in its
// terms ('...' becomes "...", /dev/null NUL) and a program's host path a Windows one.
inline CliRun RunCommand(std::string command) {
#ifdef _WIN32
  for (char& c : command) c = c == '\'' ? '"' : c;
  for (std::size_t at; (at = command.find("/dev/null")) != std::string::npos;) {
    command.replace(at, 9, "NUL");
  }
  const std::size_t program_end = command.find(' ');
  for (std::size_t i = 0; i < std::min(program_end, command.size()); ++i) {
    if (command[i] == '/') command[i] = '\\';
  }
  // cmd.exe takes the first and last quote of a command line that starts with one as its own.
  command = "\"" + command + "\"";
  FILE* pipe = ::_popen(command.c_str(), "rb");
#else
  FILE* pipe = ::popen(command.c_str(), "r");
#endif
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
#ifdef _WIN32
  return {::_pclose(pipe), out};
#else
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
#endif
}

// Runs `program` with `args` (shell words) and returns its exit status and stderr.
inline CliRun RunProgram(const std::string& program, const std::string& args) {
  return RunCommand(program + " " + args + " 2>&1 >/dev/null");
}

#ifdef SKINSMITH_CLI
// Runs skinsmith-cli with `args`.
inline CliRun RunCli(const std::string& args) { return RunProgram(SKINSMITH_CLI, args); }
#endif

// A photo-like picture for benchmarks: smooth gradients under fine noise, which JPEG cannot
// squeeze away.
inline imaging::Image PhotoLikePicture(int width, int height) {
  imaging::Image photo(width, height);
  std::uint32_t noise = 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int n = static_cast<int>(noise >> 27);
      photo.At(x, y) = imaging::MakeRgb((x / 24 + n) & 255, (y / 16 + n) & 255, (x + y) / 40 & 255);
    }
  }
  return photo;
}

}  // namespace testing_support

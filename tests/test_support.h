// Helpers shared by the tests: a feedback recorder and a temporary folder.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "i18n/ui_texts.h"
#include "imaging/image_decoder.h"
#include "skin/feedback.h"
#include "skin/messages.h"

namespace testing_support {

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
    std::string pattern =
        (std::filesystem::temp_directory_path() / "skinsmith-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder with a trailing "/", as the skin operations take it.
  std::string folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

struct CliRun {
  int status;       // exit status, -1 when the program did not exit normally
  std::string err;  // what it printed: stderr for RunProgram, stdout for RunCommand
};

// Runs the shell command `command` and returns its exit status and what it printed on stdout.
inline CliRun RunCommand(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
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
      photo.At(x, y) =
          imaging::MakeRgb((x / 24 + n) & 255, (y / 16 + n) & 255, (x + y) / 40 & 255);
    }
  }
  return photo;
}

}  // namespace testing_support

// The texts of the messages that loading, importing and saving show, and the one place where a
// file name and a problem are put together.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"

namespace skin {

// What went wrong with one file.
enum class FileProblem {
  kNotFound,                // cannot be opened, or no such archive entry
  kUnknownFormat,           // not a picture the program can decode
  kNotSaved,                // cannot be written
  kTooLarge,                // above the size limits for pictures and files
  kOverBudget,              // the skin's pictures together would take too much memory
  kPictureOverBudget,       // one imported picture would take more than the budget leaves it
  kOutOfMemory,             // an allocation failed
  kNotRegularFile,          // a folder, named pipe, device or socket where a file belongs
  kSettingsTooLong,         // uisettings.ini would be longer than any reader accepts
  kUnsupportedCompression,  // an archive entry compressed with neither "stored" nor deflate
  kRecipesUnread,           // import recipes that could not all be read
  kNoSkin,                  // a folder or archive without a readable uisettings.ini; stays last
};
inline constexpr std::size_t kFileProblemCount = static_cast<std::size_t>(FileProblem::kNoSkin) + 1;

// The language key of the text that names each problem, by FileProblem.
inline constexpr auto kFileProblemKeys = std::to_array<std::string_view>(
    {"LANG_FILE_NOTFOUND$", "LANG_FILE_UNKNOWN$", "LANG_FILE_NOTSAVE$", "LANG_FILE_TOOLARGE$",
     "LANG_FILE_NOMEMORY$", "LANG_FILE_PICTUREMEMORY$", "LANG_OUTOFMEMORY$",
     "LANG_FILE_NOTREGULAR$", "LANG_FILE_TOOLONG$", "LANG_FILE_COMPRESSION$", "LANG_FILE_RECIPES$",
     "LANG_FILE_NOSKIN$"});
static_assert(kFileProblemKeys.size() == kFileProblemCount, "one language key for each problem");

// The texts the messages are made of, in the user's language. The front ends fill them from their
// interface texts; see MakeMessageTexts.
struct MessageTexts {
  std::array<std::string, kFileProblemCount> problems;  // by FileProblem

  const std::string& Of(FileProblem problem) const {
    return problems[static_cast<std::size_t>(problem)];
  }
};

// MessageTexts from `text_of_key`, a function from a language key to its current text.
template <typename TextOfKey>
MessageTexts MakeMessageTexts(TextOfKey text_of_key) {
  MessageTexts texts;
  for (std::size_t i = 0; i < kFileProblemCount; ++i)
    texts.problems[i] = text_of_key(kFileProblemKeys[i]);
  return texts;
}

// The problem of a file that base::ReadWholeFile did not read, nothing for kOk. A file that
// cannot be opened or read gives kNotFound, whose text is the program's message for a file it
// cannot read. The editor shows its own text for an over-large settings file by replacing the
// kTooLarge text in the MessageTexts it composes with.
std::optional<FileProblem> ProblemOf(base::ReadStatus status);

// "name : text" for a file that was not found, "name: text" for every other problem.
std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts);

}  // namespace skin

// Composition of file messages, and the problems of files that could not be read.
#include "skin/messages.h"

#include "base/paths.h"

namespace skin {

std::optional<FileProblem> ProblemOf(base::ReadStatus status) {
  switch (status) {
    case base::ReadStatus::kOk:
      return std::nullopt;
    case base::ReadStatus::kNotRegularFile:
      return FileProblem::kNotRegularFile;
    case base::ReadStatus::kTooLarge:
      return FileProblem::kTooLarge;
    case base::ReadStatus::kCannotOpen:
    case base::ReadStatus::kReadError:
      break;
  }
  return FileProblem::kNotFound;
}

std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts) {
  // The two separators are part of the messages users know: a blank before the colon only after a
  // file that was not found.
  return base::DisplayPath(name).append(problem == FileProblem::kNotFound ? " : " : ": ")
      .append(texts.Of(problem));
}

}  // namespace skin

// Composition of file messages, and the problems of files that could not be read.
#include "skin/messages.h"

namespace skin {

std::optional<FileProblem> ProblemOf(imaging::ReadStatus status) {
  switch (status) {
    case imaging::ReadStatus::kOk:
      return std::nullopt;
    case imaging::ReadStatus::kNotRegularFile:
      return FileProblem::kNotRegularFile;
    case imaging::ReadStatus::kTooLarge:
      return FileProblem::kTooLarge;
    case imaging::ReadStatus::kCannotOpen:
    case imaging::ReadStatus::kReadError:
      break;
  }
  return FileProblem::kNotFound;
}

std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts) {
  // The two separators are part of the messages users know: a blank before the colon only after a
  // file that was not found.
  return std::string(name)
      .append(problem == FileProblem::kNotFound ? " : " : ": ")
      .append(texts.Of(problem));
}

}  // namespace skin

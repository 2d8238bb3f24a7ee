// Composition of file messages.
#include "skin/messages.h"

namespace skin {

std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts) {
  std::string message(name);
  switch (problem) {
    case FileProblem::kNotFound:
      return message.append(" : ").append(texts.file_not_found);
    case FileProblem::kUnknownFormat:
      return message.append(": ").append(texts.file_unknown);
    case FileProblem::kNotSaved:
      return message.append(": ").append(texts.file_not_saved);
  }
  return message;
}

}  // namespace skin

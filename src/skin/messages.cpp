// Composition of file messages.
#include "skin/messages.h"

namespace skin {

std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts) {
  // The two separators are part of the messages users know: a blank before the colon only after a
  // file that was not found.
  return std::string(name)
      .append(problem == FileProblem::kNotFound ? " : " : ": ")
      .append(texts.Of(problem));
}

}  // namespace skin

// The texts of the messages that loading, importing and saving show, and the one place where a
// file name and a problem are put together.
#pragma once

#include <string>
#include <string_view>

namespace skin {

// The texts the messages are made of. The editor fills them from its current language; the
// defaults are the built-in English texts.
struct MessageTexts {
  std::string file_not_found = "File not found.";
  std::string file_unknown = "Unknown or unsupported image format.";
  std::string file_not_saved = "The file could not be saved.";
  // Shown alone when a folder or archive holds no uisettings.ini.
  std::string no_skin_settings = "No skin found: the folder or archive holds no uisettings.ini.";
};

enum class FileProblem { kNotFound, kUnknownFormat, kNotSaved };

// "name : text" for a file that was not found, "name: text" for one that did not decode or could
// not be saved.
std::string ComposeFileMessage(std::string_view name, FileProblem problem,
                               const MessageTexts& texts);

}  // namespace skin
